#include "forms/script_tokens.h"

#include "forms/hints.h"
#include "platform/text.h"

namespace kv {

namespace {

std::vector<TokenItem> special_keys() {
  std::vector<TokenItem> items;
  for (const char* m : {"Ctrl", "Alt", "Shift", "Ctrl+Alt", "Ctrl+Shift", "Shift+Alt"})
    items.push_back({m, "<<" + ascii_upper(m) + ">>", modifier_hint()});
  items.push_back({"Enter", "<<ENTER>>", {}});
  for (int i = 1; i <= 12; ++i) {
    const std::string key = "F" + std::to_string(i);
    items.push_back({key, "<<" + key + ">>", {}});
  }
  for (const char* k : {"Esc", "Tab", "Backspace", "Insert", "Delete"})
    items.push_back({k, "<<" + ascii_upper(k) + ">>", {}});
  return items;
}

std::vector<TokenItem> more_keys() {
  return {{"Home", "<<HOME>>", {}},
          {"End", "<<END>>", {}},
          {"Page Up", "<<PAGEUP>>", {}},
          {"Page Down", "<<PAGEDOWN>>", {}},
          {"Print Screen", "<<PRINTSCREEN>>", {}},
          {"Up Arrow", "<<UP>>", {}},
          {"Down Arrow", "<<DOWN>>", {}},
          {"Left Arrow", "<<LEFT>>", {}},
          {"Right Arrow", "<<RIGHT>>", {}}};
}

std::vector<TokenItem> date_time() {
  return {
      {"Current Date in Short Format", "<<SHORTDATE>>",
       "The way your system defines a short date is explained in Regional Settings, under your Control Panel."},
      {"Current Date in Long Format", "<<LONGDATE>>",
       "The way your system defines a long date is explained in Regional Settings, under your Control Panel."},
      {"Current Time in Short Format", "<<SHORTTIME>>",
       "A short time is written in with no AM/PM description, eg. 15:30."},
      {"Current Time in Long Format", "<<LONGTIME>>",
       "A long time is written with the AM/PM description that your Regional Settings provides for, if any, eg. "
       "3:30 PM."},
  };
}

std::vector<TokenItem> repeat() {
  return {
      {"Start Repeat Sequence",
       {},
       "Use this option to repeat either the entire macro, or a segment of the macro a given amount of times.  Note "
       "that for this function to work properly you will need an End Repetition statement for each repetition "
       "within the macro.",
       TokenAction::RepeatDialog},
      {"End Repeat Sequence", "<<ENDREP>>", "Use this option to complete a segment of repetition."},
  };
}

std::vector<TokenItem> misc() {
  return {
      {"Display an input box and get a value",
       {},
       "Use this option to display a dialog box with a title that you specify.  This dialog box will allow you to "
       "type in information that can be later utilized by Keyvane.",
       TokenAction::InputBoxDialog},
      {"Write stored value", "<<WRITEVALUE>>",
       "This option will type the value that was previously obtained by the \"Get a Value\" option."},
      {"Run another macro",
       {},
       "Use this option to run any pre-existing macros from within this one.",
       TokenAction::AskMacroName},
      {"Wait for a window to be present",
       {},
       "Use this option to have Keyvane wait for a window with a specified title to appear.",
       TokenAction::WaitForWindowDialog},
      {"Bring a window into the foreground",
       {},
       "Use this option to bring a window to the foreground so that it may accept keystrokes and other input.",
       TokenAction::AskWindowTitle},
      {"Start an Application or Document", {}, kDocumentLaunchHint, TokenAction::ChooseFile},
  };
}

}  // namespace

std::string token_menu_caption(TokenMenu menu) {
  switch (menu) {
    case TokenMenu::SpecialKeys:
      return "Special &Keys";
    case TokenMenu::DateTime:
      return "&Date / Time";
    case TokenMenu::MoreKeys:
      return "&More Keys";
    case TokenMenu::Repeat:
      return "&Repeat";
    case TokenMenu::Misc:
      return "&Misc.";
  }
  return {};
}

const std::vector<TokenItem>& token_menu_items(TokenMenu menu) {
  static const std::vector<TokenItem> lists[] = {special_keys(), date_time(), more_keys(), repeat(), misc()};
  return lists[static_cast<int>(menu)];
}

std::string start_delay_hint() {
  return "This option is especially useful when you are performing extensive operations within an application and "
         "would like to wait for them to finish, or when you need to wait a few seconds for a program to load before "
         "sending keystrokes to it.";
}

std::string modifier_hint() {
  return "You have selected a key modifyer.  To mate this key with another, simply type the key or select it from "
         "the list of special keys directly *after* the modifyer ( eg. <<ALT>>f ).  For more information review the "
         "pre-installed examples.";
}

LineQuestion run_macro_question() {
  return {"Run another macro", "Type the exact name of the existing macro to run"};
}

LineQuestion focus_window_question() {
  return {"Bring a window into focus", "Title of the window to bring to the foreground."};
}

std::optional<std::string> answer_token(TokenAction action, const std::string& answer) {
  if (answer.empty()) return std::nullopt;
  switch (action) {
    case TokenAction::AskMacroName:
      return "<<RUN:" + answer + ">>";
    case TokenAction::AskWindowTitle:
      return "<<FOCUS:" + answer + ">>";
    case TokenAction::ChooseFile:
      return "<<EXECUTE:" + answer + ">>";
    default:
      return std::nullopt;
  }
}

TokenDialogKind dialog_kind(TokenAction action) {
  switch (action) {
    case TokenAction::RepeatDialog:
      return TokenDialogKind::Repeat;
    case TokenAction::InputBoxDialog:
      return TokenDialogKind::InputBox;
    case TokenAction::WaitForWindowDialog:
      return TokenDialogKind::WaitForWindow;
    default:
      return TokenDialogKind::Wait;
  }
}

std::string time_field_text(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (out.size() == kTokenTimeChars) break;
    if ((c >= '0' && c <= '9') || c == ' ') out += c;
  }
  return out;
}

TokenDialogModel::TokenDialogModel(TokenDialogKind kind) : kind_(kind) {
  if (kind == TokenDialogKind::WaitForWindow) fields_.time = "5";
}

void TokenDialogModel::keep(const TokenDialogFields& entered) {
  fields_ = entered;
  fields_.time = time_field_text(entered.time);
  if (kind_ == TokenDialogKind::InputBox && fields_.title.size() > kInputBoxTitleChars)
    fields_.title.resize(kInputBoxTitleChars);
}

TokenDialogOutcome TokenDialogModel::ok(const TokenDialogFields& entered, MacroStore& store) {
  keep(entered);
  const std::string time = trim_controls(fields_.time);
  const char* unit = fields_.minutes ? "MINS" : "SECS";
  switch (kind_) {
    case TokenDialogKind::Wait:
      return {"<<" + std::string(unit) + time + ">>", {}, TokenField::Time};
    case TokenDialogKind::Repeat:
      return {"<<REP" + time + ">>", {}, TokenField::Time};
    case TokenDialogKind::InputBox:
      return {"<<INPUT:" + trim_controls(fields_.title) + ">>", {}, TokenField::Title};
    case TokenDialogKind::WaitForWindow:
      break;
  }
  // A title of blanks only counts as given; the title is tested before the time.
  if (fields_.title.empty())
    return {std::nullopt, "Please specify the title of the window that you would like to look for.", TokenField::Title};
  if (time.empty())
    return {std::nullopt, "Please specify a length of time to wait before timing out.", TokenField::Time};
  const std::string separator = store.read_string(keys::kMain, keys::kWaitForSeparator, "~~");
  return {"<<LOOKFOR:" + trim_controls(fields_.title) + separator + unit + ":" + time + ">>", {}, TokenField::Title};
}

}  // namespace kv
