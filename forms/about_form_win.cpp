#include "forms/about_form_win.h"

#include "app/app_win.h"
#include "forms/main_form_win.h"
#include "forms/modal_win.h"
#include "kv_version.h"
#include "platform/win32/window_win.h"

namespace kv::win {

namespace {

class AboutForm : public Window {
 public:
  AboutForm() {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    HWND owner = app().main_form ? app().main_form->hwnd() : nullptr;
    create("TAboutBox", "About Keyvane", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 0, 0, 100, 100,
           owner);
    set_client_size(300, 138);
    HWND pic = create_control(*this, "STATIC", "", SS_ICON, 12, 12, 32, 32, 100);
    SendMessageA(pic, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    create_control(*this, "STATIC", KV_PRODUCT_LINE, SS_LEFT, 60, 14, 228, 16, 101);
    create_control(*this, "STATIC", "Macros for every program, from the notification area.", SS_LEFT, 60, 34, 228,
                   32, 102);
    create_control(*this, "STATIC", "Ostrel", SS_LEFT, 60, 70, 228, 16, 103);
    ok_ = create_control(*this, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 113, 102, 75, 24, IDOK);
    Win32MessagePump::add_dialog(hwnd());
  }
  ~AboutForm() override { Win32MessagePump::remove_dialog(hwnd()); }

  void show_modal() {
    centre_on_screen();
    open_ = true;
    {
      ModalScope modal(hwnd());
      ShowWindow(hwnd(), SW_SHOW);
      SetForegroundWindow(hwnd());
      SetFocus(ok_);
      App& a = app();
      while (open_ && !a.pump.terminated()) {
        a.pump.wait_for_message();
        a.pump.process_messages();
      }
    }  // the other windows take input again before this one hides, so one of them gets the focus
    ShowWindow(hwnd(), SW_HIDE);
  }

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    if ((msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) || msg == WM_CLOSE) {
      open_ = false;
      result = 0;
      return true;
    }
    return false;
  }

 private:
  HWND ok_ = nullptr;
  bool open_ = false;
};

}  // namespace

void show_about_box() {
  static AboutForm* showing = nullptr;
  if (showing) {  // already up (the tray menu works while it is): bring it forward
    SetForegroundWindow(showing->hwnd());
    return;
  }
  AboutForm box;
  showing = &box;
  box.show_modal();
  showing = nullptr;
}

}  // namespace kv::win
