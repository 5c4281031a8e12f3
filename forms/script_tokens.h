// What the script editor's commands insert: every menu's items with their inserted text and
// hint, the questions asked for a macro name or a window title, and the four token dialogs'
// fields, defaults, limits and tokens, kept between uses of a dialog.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/macro_store.h"

namespace kv {

// What choosing a command does once its hint (if any) has been shown.
enum class TokenAction {
  Insert,               // inserts TokenItem::text
  WaitDialog,           // TfrmWait
  RepeatDialog,         // TfrmRepeat
  InputBoxDialog,       // TfrmInputBox
  WaitForWindowDialog,  // TfrmWaitforWindow
  AskMacroName,         // one-line question, then "<<RUN:" answer ">>"
  AskWindowTitle,       // one-line question, then "<<FOCUS:" answer ">>"
  ChooseFile,           // file-open dialog, then "<<EXECUTE:" path ">>"
};

struct TokenItem {
  std::string caption;
  std::string text;  // inserted by TokenAction::Insert
  std::string hint;  // empty: no hint
  TokenAction action = TokenAction::Insert;
};

// The five menu buttons, in the order of their tab stops.
enum class TokenMenu { SpecialKeys, DateTime, MoreKeys, Repeat, Misc };

std::string token_menu_caption(TokenMenu menu);
const std::vector<TokenItem>& token_menu_items(TokenMenu menu);

// "&Start a Delay", the plain button: its hint, then the Wait dialog.
inline constexpr std::string_view kStartDelayCaption = "&Start a Delay";
std::string start_delay_hint();
std::string modifier_hint();

// The one-line questions; an empty answer (or Cancel) inserts nothing.
struct LineQuestion {
  std::string caption;
  std::string prompt;
};
LineQuestion run_macro_question();
LineQuestion focus_window_question();
// The token for an answer used exactly as typed; nothing for an empty one.
std::optional<std::string> answer_token(TokenAction action, const std::string& answer);

enum class TokenDialogKind { Wait, Repeat, InputBox, WaitForWindow };
// The dialog a *Dialog action opens.
TokenDialogKind dialog_kind(TokenAction action);
// Repeat's count and Wait's time are the Time field; the input box's text is the Title field.
enum class TokenField { Title, Time };

struct TokenDialogFields {
  std::string title;
  std::string time;
  bool minutes = false;  // "&Minutes" rather than "&Seconds"
  friend bool operator==(const TokenDialogFields&, const TokenDialogFields&) = default;
};

// The time fields take three characters, digits and blanks; the input box's title 50.
inline constexpr std::size_t kTokenTimeChars = 3;
inline constexpr std::size_t kInputBoxTitleChars = 50;
// What a time field can hold of a text given to it (typed or pasted): digits and blanks only,
// at most three.
std::string time_field_text(std::string_view text);

struct TokenDialogOutcome {
  std::optional<std::string> token;  // set: insert it and close
  std::string message;               // otherwise: show this, focus the field and stay open
  TokenField focus = TokenField::Title;
};

// One token dialog's rules. The dialog shows fields() when it opens and hands back what it
// holds when it closes, whichever way: what was typed is there at the next opening.
class TokenDialogModel {
 public:
  explicit TokenDialogModel(TokenDialogKind kind);
  TokenDialogKind kind() const { return kind_; }
  const TokenDialogFields& fields() const { return fields_; }

  // OK: the token, or the message that keeps the dialog open. A wait for a window reads
  // WaitForSeparator afresh.
  TokenDialogOutcome ok(const TokenDialogFields& entered, MacroStore& store);
  void cancel(const TokenDialogFields& entered) { keep(entered); }

 private:
  void keep(const TokenDialogFields& entered);
  TokenDialogKind kind_;
  TokenDialogFields fields_;
};

}  // namespace kv
