#include "engine/script_player.h"

#include <cstdint>

#include "engine/find_titled_window.h"
#include "engine/script_language.h"
#include "platform/error.h"
#include "platform/text.h"
#include "store/integer.h"
#include "store/macro.h"

namespace kv {

namespace {

// The text before the first x; empty when there is none (so a missing closing mark gives an
// empty argument).
std::string_view before(std::string_view text, std::string_view x) {
  const std::size_t p = text.find(x);
  return p == std::string_view::npos ? std::string_view{} : text.substr(0, p);
}

// Removes the text up to and including the character after the first character of the first
// x: exactly the rest of a token closed by ">>". Without an x, one character goes.
std::string_view remove_through(std::string_view text, std::string_view x) {
  const std::size_t p = text.find(x);
  const std::size_t n = p == std::string_view::npos ? 1 : p + 2;
  return text.substr(std::min(n, text.size()));
}

std::string_view drop(std::string_view text, std::size_t n) {
  return text.substr(std::min(n, text.size()));
}

constexpr std::string_view kEndRep = "<<ENDREP>>";

}  // namespace

void ScriptPlayer::SendKeys(const std::string& script) {
  const std::string text = trim_controls(script);
  std::string_view rest = text;
  try {
    while (!rest.empty()) {
      if (rest.size() >= 2 && rest[0] == '<' && rest[1] == '<') {
        rest = ExecuteToken(rest);
      } else {
        const char c = rest[0];
        rest.remove_prefix(1);
        type_char(c);
      }
    }
  } catch (...) {
    d_.sender.ReleaseHeldKeys();
    throw;
  }
  d_.sender.ReleaseHeldKeys();
}

void ScriptPlayer::type_char(char c) {
  if (c == '@' || c == '^' || c == '~')
    send_tokens_only(std::string_view(&c, 1));
  else
    d_.sender.Send(std::string_view(&c, 1));
}

void ScriptPlayer::send_tokens_only(std::string_view text) {
  d_.sender.SetTokensOnly(true);
  try {
    d_.sender.Send(text);
  } catch (...) {
    d_.sender.SetTokensOnly(false);
    throw;
  }
  d_.sender.SetTokensOnly(false);
}

std::string_view ScriptPlayer::ExecuteToken(std::string_view text) {
  if (const ModifierToken* m = match_modifier_token(text)) {
    std::string_view after = text.substr(m->spelling.size());
    if (after.size() >= 2 && after[0] == '<' && after[1] == '<') return SendModifiedKey(d_.sender, after, m->code);
    // The character goes as key-sequence text: "{" or "}" after a modifier is a fault there.
    std::string seq(m->prefix);
    if (!after.empty()) seq += after[0];
    d_.sender.Send(seq);
    return drop(after, 1);
  }
  if (const KeyToken* k = match_key_token(text)) {
    d_.sender.Send(k->sent);
    return text.substr(k->spelling.size());
  }
  if (starts_with_token(text, "<<SECS") || starts_with_token(text, "<<MINS")) {
    const WaitUnit unit = starts_with_token(text, "<<SECS") ? WaitUnit::Seconds : WaitUnit::Minutes;
    text = text.substr(6);
    Delay(str_to_int(before(text, ">")), unit);
    return remove_through(text, ">");
  }
  if (starts_with_token(text, "<<REP")) {
    text = text.substr(5);
    const std::string_view copy = text;
    text = remove_through(text, ">");
    // Blocks do not nest: the first end mark, written in capitals, closes the block.
    const std::string body(before(text, kEndRep));
    RepMac(str_to_int(before(copy, ">")), body);
    const std::size_t end = copy.find(kEndRep);
    return drop(copy, end == std::string_view::npos ? 9 : end + kEndRep.size());
  }
  if (const DateToken* d = match_date_token(text)) {
    d_.sender.Send(d_.datetime.format_now(d->format).substr(0, kMaxKeySequence));
    return text.substr(d->spelling.size());
  }
  if (starts_with_token(text, "<<INPUT:")) {
    text = text.substr(8);
    const WindowHandle typing_into = d_.windows.foreground();
    script_value_ = d_.prompt.ask(std::string(before(text, ">>")));
    // The prompt took the foreground: give it back to the window the script types into.
    if (typing_into) d_.windows.set_foreground(typing_into);
    return remove_through(text, ">>");
  }
  if (starts_with_token(text, "<<WRITEVALUE>>")) {
    d_.sender.SetTokensOnly(true);
    try {
      d_.sender.Send(std::string_view(script_value_).substr(0, kMaxKeySequence));
      d_.pump.process_messages();
    } catch (...) {
      d_.sender.SetTokensOnly(false);
      throw;
    }
    d_.sender.SetTokensOnly(false);
    return text.substr(14);
  }
  if (starts_with_token(text, "<<RUN:")) {
    text = text.substr(6);
    const std::string name = ascii_upper(before(text, ">"));
    if (run_depth_ >= kMaxRunNesting) throw Error(format_message(kRunsNestedTooDeeply, std::to_string(kMaxRunNesting)));
    MacroStore store(d_.profile);
    for_each_macro_named(store, name, d_.pump, [this](int i) {
      ++run_depth_;
      try {
        if (d_.process_hot_key) d_.process_hot_key(i);
      } catch (...) {
        --run_depth_;
        throw;
      }
      --run_depth_;
    });
    return remove_through(text, ">");
  }
  if (starts_with_token(text, "<<LOOKFOR:")) {
    text = text.substr(10);
    MacroStore store(d_.profile);
    const std::string sep = store.read_string(keys::kMain, keys::kWaitForSeparator, kDefaultWaitSeparator);
    const std::size_t p = sep.empty() ? std::string_view::npos : text.find(sep);
    std::string title;
    if (p == std::string_view::npos) {
      text = drop(text, 1);
    } else {
      title = std::string(text.substr(0, p));
      text = text.substr(p + sep.size());
    }
    if (starts_with_token(text, "SECS:")) {
      text = text.substr(5);
      WaitForWindow(title, WaitUnit::Seconds, str_to_int(before(text, ">>")));
      text = remove_through(text, ">>");
    }
    if (starts_with_token(text, "MINS:")) {
      text = text.substr(5);
      WaitForWindow(title, WaitUnit::Minutes, str_to_int(before(text, ">>")));
      text = remove_through(text, ">>");
    }
    return text;
  }
  if (starts_with_token(text, "<<FOCUS:")) {
    text = text.substr(8);
    if (const WindowHandle w = d_.windows.find_window(std::string(before(text, ">")))) d_.windows.set_foreground(w);
    return remove_through(text, ">>");
  }
  if (starts_with_token(text, "<<EXECUTE:")) {
    text = text.substr(10);
    d_.shell.open(std::string(before(text, ">")));
    return remove_through(text, ">>");
  }
  // Unrecognised: only the "<<" goes, the rest is typed.
  return drop(text, 2);
}

void ScriptPlayer::RepMac(int n, const std::string& body) {
  // A body that trims to nothing plays nothing, however often.
  if (trim_controls(body).empty()) return;
  for (int i = 1; i <= n; ++i) SendKeys(body);
}

void ScriptPlayer::WaitForWindow(const std::string& title, WaitUnit unit, int n) {
  const std::int64_t attempts = unit == WaitUnit::Seconds ? std::int64_t{n} : std::int64_t{n} * 60;
  for (std::int64_t i = 0; i < attempts; ++i) {
    const WindowHandle found = FindTitledWindow(d_.windows, title);
    d_.pump.process_messages();
    if (found || d_.pump.terminated()) return;
    d_.pump.sleep_ms(1000);
  }
}

void ScriptPlayer::DelayTimerTick() {
  ++tick_counter_;
  if (!delays_.empty()) ++delays_.back()->ticks;
}

void ScriptPlayer::Delay(int n, WaitUnit unit) {
  DelayFrame frame{unit == WaitUnit::Seconds ? 1000u : 60000u, 0};
  delays_.push_back(&frame);
  d_.delay_timer.start(frame.interval);
  tick_counter_ = 0;
  auto finish = [this] {
    delays_.pop_back();
    d_.delay_timer.stop();
  };
  try {
    d_.pump.process_messages();
    while (frame.ticks < n && !d_.pump.terminated()) {
      // A delay that ran inside this one stopped the shared timer when it ended: restart it and
      // keep counting from where this delay was.
      if (!d_.delay_timer.running() || d_.delay_timer.interval() != frame.interval)
        d_.delay_timer.start(frame.interval);
      d_.pump.wait_for_message();
      d_.pump.process_messages();
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

}  // namespace kv
