// TfrmWait, TfrmRepeat, TfrmInputBox and TfrmWaitforWindow: the small dialogs that build the
// script editor's parameterised tokens. Created hidden at start-up and only shown and hidden,
// so what was typed is there at the next opening (rules: forms/script_tokens.h).
#pragma once
#include <optional>
#include <string>

#include "forms/modal_win.h"
#include "forms/script_tokens.h"
#include "platform/ports.h"
#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class TokenDialog : public Window {
 public:
  struct Deps {
    Win32MessagePump& pump;
    // WaitForSeparator, read at each OK of the wait for a window.
    ProfileStore& profile;
  };

  TokenDialog(TokenDialogKind kind, Deps deps);

  // Shows the dialog modally, centred on the screen; the token on OK, nothing on Cancel.
  std::optional<std::string> run();

  TokenDialogKind kind() const { return model_.kind(); }
  // The title (or input box text) and the time (or count) field; null where the dialog has none.
  HWND field(TokenField f) const { return f == TokenField::Title ? edt_title_ : edt_time_; }
  HWND optSeconds() const { return opt_seconds_; }
  HWND optMinutes() const { return opt_minutes_; }
  HWND cmdOK() const { return cmd_ok_; }
  HWND cmdCancel() const { return cmd_cancel_; }

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void layout();
  void label(const char* text, int x, int y, int w, int h);
  void time_field(int x, int y);
  void unit_options(int x, int y);
  void buttons(int y, int width);
  TokenDialogFields entered() const;
  void cmdOKClick();
  void cmdCancelClick();

  Deps d_;
  TokenDialogModel model_;
  ModalRun modal_;
  Win32MessagePump::Registration dialog_keys_;
  bool has_default_ = false;  // OK is the default and Cancel the cancel button
  std::optional<std::string> token_;
  HWND edt_title_ = nullptr;
  HWND edt_time_ = nullptr;
  HWND opt_seconds_ = nullptr;
  HWND opt_minutes_ = nullptr;
  HWND cmd_ok_ = nullptr;
  HWND cmd_cancel_ = nullptr;
};

}  // namespace kv::win
