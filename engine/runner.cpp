#include "engine/runner.h"

#include "platform/error.h"
#include "platform/scope_exit.h"
#include "store/macro.h"

namespace kv {

void MacroRunner::ProcessHotKey(int n) {
  ++runs_;
  const ScopeExit done([this] { --runs_; });
  MacroStore store(d_.profile);
  const Macro macro = read_macro(store, n, {MacroKey::Type, MacroKey::FileName, MacroKey::Speed});
  switch (macro.kind) {
    case MacroKind::StartApplication:
      d_.shell.open(macro.file_name);
      report(kStatusNoRecord);
      break;
    case MacroKind::Keystrokes:
    case MacroKind::MouseAndKeyboard:
      d_.journal.set_playback_file_name(d_.files.program_dir() + macro.file_name);
      d_.journal.set_hi_speed_playback(macro.kind == MacroKind::Keystrokes || macro.high_speed());
      // A playback into a program above us would be dropped as silently as typing.
      if (target_check_) target_check_->check();
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

void MacroRunner::report(const char* status) {
  // A run inside a run (by name, or by a hotkey or trigger while the outer one waits) is part
  // of the outer run: reporting its end would let a /CLOSE instance end in the middle of it.
  if (runs_ <= 1 && d_.record_finished) d_.record_finished(status);
}

void MacroRunner::PlayScriptFile(const std::string& path) {
  const bool outermost = runs_ <= 1;
  // Only the outermost run starts from a clean flag: a nested one must not declare idle a
  // playback that the outer run started.
  if (outermost) journal_idle_ = true;
  const auto content = d_.files.read_file(path);
  if (!content) throw Error(format_message("Cannot open file %s", path));
  const std::string script = join_script_lines(*content);
  if (player_) {
    player_->clear_script_value();
    player_->SendKeys(script);
  }
  // The outer run waits for every playback and reports the end. A program that is ending
  // neither waits nor reports: the script stopped short.
  if (!outermost || d_.pump.terminated()) return;
  // A keystroke or mouse macro started by name from the script may still be playing.
  for (;;) {
    d_.pump.process_messages();
    if (journal_idle_) break;
    if (d_.pump.terminated()) return;
    d_.pump.wait_for_message();
  }
  report(kStatusNoRecord);
}

void MacroRunner::RecorderFinished() {
  // A playback queued behind the one that ended still holds a waiting script back, and keeps
  // a /CLOSE instance alive: ending it then would cut that playback off with keys held down.
  // While a run is in progress its own end is reported when it ends, after every playback.
  const bool idle = !d_.journal.busy();
  if (idle && runs_ == 0 && d_.record_finished) d_.record_finished(kStatusTrue);
  journal_idle_ = idle;
}

}  // namespace kv
