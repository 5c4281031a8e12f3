#include "engine/runner.h"

#include "platform/error.h"
#include "store/macro.h"

namespace kv {

void MacroRunner::ProcessHotKey(int n) {
  MacroStore store(d_.profile);
  const Macro macro = read_macro(store, n, {MacroKey::Type, MacroKey::FileName, MacroKey::Speed});
  switch (macro.kind) {
    case MacroKind::StartApplication:
      d_.shell.open(macro.file_name);
      if (d_.record_finished) d_.record_finished(kStatusNoRecord);
      break;
    case MacroKind::Keystrokes:
    case MacroKind::MouseAndKeyboard:
      d_.journal.set_playback_file_name(d_.files.program_dir() + macro.file_name);
      d_.journal.set_hi_speed_playback(macro.kind == MacroKind::Keystrokes || macro.high_speed());
      journal_idle_ = false;
      d_.journal.start_playback();
      break;
    case MacroKind::AdvancedScript:
      PlayScriptFile(d_.files.program_dir() + macro.file_name);
      break;
  }
  // Any other stored Type runs nothing.
}

std::string join_script_lines(const std::string& file_content) {
  const std::string text = file_content.substr(0, file_content.find('\0'));
  std::string out;
  out.reserve(text.size() + 2);
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t e = i;
    while (e < text.size() && text[e] != '\r' && text[e] != '\n') ++e;
    out.append(text, i, e - i);
    out += "\r\n";
    if (e < text.size() && text[e] == '\r') ++e;
    if (e < text.size() && text[e] == '\n') ++e;
    i = e;
  }
  return out;
}

void MacroRunner::PlayScriptFile(const std::string& path) {
  journal_idle_ = true;
  const auto content = d_.files.read_file(path);
  if (!content) throw Error(format_message("Cannot open file %s", path));
  const std::string script = join_script_lines(*content);
  if (player_) {
    player_->clear_script_value();
    player_->SendKeys(script);
  }
  // A keystroke or mouse macro started by name from the script may still be playing.
  for (;;) {
    d_.pump.process_messages();
    if (journal_idle_) break;
    d_.pump.wait_for_message();
  }
  if (d_.record_finished) d_.record_finished(kStatusNoRecord);
}

void MacroRunner::RecorderFinished() {
  // A playback queued behind the one that ended still holds a waiting script back, and keeps
  // a /CLOSE instance alive: ending it then would cut that playback off with keys held down.
  const bool idle = !d_.journal.busy();
  if (idle && d_.record_finished) d_.record_finished(kStatusTrue);
  journal_idle_ = idle;
}

}  // namespace kv
