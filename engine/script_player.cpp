#include "engine/script_player.h"

#include <algorithm>
#include <cstdint>

#include "engine/find_titled_window.h"
#include "engine/script_language.h"
#include "platform/error.h"
#include "platform/scope_exit.h"
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

// How much of text, at most up to end, goes to the system as one batch: kMaxKeySequence
// characters, so a hotkey or a timer waits for no more than that, and never the CR of a line
// break without its LF (a line break is one Enter).
std::size_t batch_length(std::string_view text, std::size_t end) {
  std::size_t n = std::min({end, text.size(), kMaxKeySequence});
  if (n > 0 && n < text.size() && text[n - 1] == '\r' && text[n] == '\n') ++n;
  return n;
}

// The spellings of the tokens the player carries out itself; the typing tokens (modifiers,
// keys, dates) are the language's (script_language).
constexpr std::string_view kSecs = "<<SECS";
constexpr std::string_view kMins = "<<MINS";
constexpr std::string_view kRep = "<<REP";
constexpr std::string_view kEndRep = "<<ENDREP>>";
constexpr std::string_view kInput = "<<INPUT:";
constexpr std::string_view kWriteValue = "<<WRITEVALUE>>";
constexpr std::string_view kRun = "<<RUN:";
constexpr std::string_view kLookFor = "<<LOOKFOR:";
constexpr std::string_view kLookForSecs = "SECS:";
constexpr std::string_view kLookForMins = "MINS:";
constexpr std::string_view kFocus = "<<FOCUS:";
constexpr std::string_view kExecute = "<<EXECUTE:";
// How long keys wait for a window brought to the front to take the activation, and how often
// they look.
constexpr unsigned kFocusSettleMs = 2000;
constexpr unsigned kFocusPollMs = 10;
// A repeat without its end mark drops this many characters after its spelling.
constexpr std::size_t kRepWithoutEnd = 9;

}  // namespace

// In the order the player tests them. No spelling is a prefix of another, so the order only
// matters for reading.
const ScriptPlayer::PlayerToken ScriptPlayer::kPlayerTokens[] = {
    {kSecs, &ScriptPlayer::secs_token},
    {kMins, &ScriptPlayer::mins_token},
    {kRep, &ScriptPlayer::rep_token},
    {kInput, &ScriptPlayer::input_token},
    {kWriteValue, &ScriptPlayer::write_value_token},
    {kRun, &ScriptPlayer::run_token},
    {kLookFor, &ScriptPlayer::look_for_token},
    {kFocus, &ScriptPlayer::focus_token},
    {kExecute, &ScriptPlayer::execute_token},
};

void ScriptPlayer::SendKeys(const std::string& script) {
  const SenderRun run(d_.sender);
  play(script);
}

void ScriptPlayer::play(const std::string& script) {
  const std::string text = trim_controls(script);
  std::string_view rest = text;
  // Asked to end, the program stops the script where it is: nothing more is typed or run.
  while (!rest.empty() && !stopping()) {
    if (rest.size() >= 2 && rest[0] == '<' && rest[1] == '<') {
      rest = ExecuteToken(rest);
    } else {
      // Plain text up to the next token goes as one batch.
      const std::size_t n = batch_length(rest, rest.find("<<"));
      d_.sender.SendText(rest.substr(0, n));
      rest.remove_prefix(n);
    }
  }
}

std::string_view ScriptPlayer::ExecuteToken(std::string_view text) {
  if (const ModifierToken* m = match_modifier_token(text)) return modifier_token(*m, text.substr(m->spelling.size()));
  if (const KeyToken* k = match_key_token(text)) {
    d_.sender.Send(k->sent);
    return text.substr(k->spelling.size());
  }
  if (const DateToken* d = match_date_token(text)) {
    d_.sender.Send(d_.datetime.format_now(d->format).substr(0, kMaxKeySequence));
    return text.substr(d->spelling.size());
  }
  for (const PlayerToken& t : kPlayerTokens)
    if (starts_with_token(text, t.spelling)) return (this->*t.play)(text.substr(t.spelling.size()));
  // Unrecognised: only the "<<" goes, the rest is typed.
  return drop(text, 2);
}

std::string_view ScriptPlayer::modifier_token(const ModifierToken& m, std::string_view after) {
  if (after.size() >= 2 && after[0] == '<' && after[1] == '<') return SendModifiedKey(d_.sender, after, m.code);
  // The character goes as key-sequence text: "{" or "}" after a modifier is a fault there.
  std::string seq(m.prefix);
  if (!after.empty()) seq += after[0];
  d_.sender.Send(seq);
  return drop(after, 1);
}

std::string_view ScriptPlayer::delay_token(std::string_view text, WaitUnit unit) {
  Delay(str_to_int(before(text, ">")), unit);
  return remove_through(text, ">");
}

std::string_view ScriptPlayer::secs_token(std::string_view text) {
  return delay_token(text, WaitUnit::Seconds);
}

std::string_view ScriptPlayer::mins_token(std::string_view text) {
  return delay_token(text, WaitUnit::Minutes);
}

std::string_view ScriptPlayer::rep_token(std::string_view text) {
  const std::string_view copy = text;
  text = remove_through(text, ">");
  // Blocks do not nest: the first end mark, written in capitals, closes the block.
  const std::string body(before(text, kEndRep));
  RepMac(str_to_int(before(copy, ">")), body);
  const std::size_t end = copy.find(kEndRep);
  return drop(copy, end == std::string_view::npos ? kRepWithoutEnd : end + kEndRep.size());
}

std::string_view ScriptPlayer::input_token(std::string_view text) {
  const WindowHandle typing_into = d_.windows.foreground();
  d_.sender.WaitDelivered();  // the text before the prompt belongs to the window typed into
  std::string answer = d_.prompt.ask(std::string(before(text, ">>")));
  // The form closed because the program ends: that is no answer.
  if (stopping()) return text;
  script_value_ = std::move(answer);
  // The prompt took the foreground: give it back to the window the script types into.
  if (typing_into) bring_to_front(typing_into);
  return remove_through(text, ">>");
}

std::string_view ScriptPlayer::write_value_token(std::string_view text) {
  // The user's answer is typed as written, all of it: braces and "@ ^ ~" are characters here.
  const std::string value = script_value_;  // a macro run between batches may ask again
  for (std::string_view rest = value; !rest.empty() && !stopping();) {
    const std::size_t n = batch_length(rest, std::string_view::npos);
    d_.sender.SendText(rest.substr(0, n));
    rest.remove_prefix(n);
  }
  return text;
}

std::string_view ScriptPlayer::run_token(std::string_view text) {
  const std::string name = ascii_upper(before(text, ">"));
  if (run_depth_ >= kMaxRunNesting) throw Error(format_message(kRunsNestedTooDeeply, std::to_string(kMaxRunNesting)));
  MacroStore store(d_.profile);
  const int entries = store.entries();
  for (int i = 1; i <= entries && !stopping(); ++i) {
    if (ascii_upper(read_macro(store, i, {MacroKey::Name}).name) == name) {
      ++run_depth_;
      const ScopeExit back([this] { --run_depth_; });
      d_.sender.WaitDelivered();  // the macro may start a program that takes the focus
      if (d_.process_hot_key) d_.process_hot_key(i);
    }
    d_.pump.process_messages();
  }
  return remove_through(text, ">");
}

std::string_view ScriptPlayer::look_for_token(std::string_view text) {
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
  if (starts_with_token(text, kLookForSecs)) {
    text = text.substr(kLookForSecs.size());
    WaitForWindow(title, WaitUnit::Seconds, str_to_int(before(text, ">>")));
    text = remove_through(text, ">>");
  }
  if (starts_with_token(text, kLookForMins)) {
    text = text.substr(kLookForMins.size());
    WaitForWindow(title, WaitUnit::Minutes, str_to_int(before(text, ">>")));
    text = remove_through(text, ">>");
  }
  return text;
}

std::string_view ScriptPlayer::focus_token(std::string_view text) {
  if (const WindowHandle w = d_.windows.find_window(std::string(before(text, ">")))) {
    d_.sender.WaitDelivered();
    bring_to_front(w);
  }
  return remove_through(text, ">>");
}

std::string_view ScriptPlayer::execute_token(std::string_view text) {
  d_.sender.WaitDelivered();  // the program it starts takes the focus
  d_.shell.open(std::string(before(text, ">")));
  return remove_through(text, ">>");
}

void ScriptPlayer::RepMac(int n, const std::string& body) {
  // A body that trims to nothing plays nothing, however often.
  if (trim_controls(body).empty()) return;
  for (int i = 1; i <= n && !stopping(); ++i) play(body);
}

void ScriptPlayer::WaitForWindow(const std::string& title, WaitUnit unit, int n) {
  const std::int64_t attempts = unit == WaitUnit::Seconds ? std::int64_t{n} : std::int64_t{n} * 60;
  for (std::int64_t i = 0; i < attempts; ++i) {
    const WindowHandle found = FindTitledWindow(d_.windows, title);
    d_.pump.process_messages();
    if (found || stopping()) return;
    pause(1000);
  }
}

void ScriptPlayer::bring_to_front(WindowHandle w) {
  d_.windows.set_foreground(w);
  // The window's own thread has to take the activation before keys can reach it; no message
  // is answered meanwhile, so no macro starts half-way.
  const std::uint64_t until = d_.clock.now_ms() + kFocusSettleMs;
  while (d_.windows.foreground() != w && d_.clock.now_ms() < until && !stopping()) d_.pump.sleep_ms(kFocusPollMs);
}

void ScriptPlayer::pause(unsigned ms) {
  const std::uint64_t until = d_.clock.now_ms() + ms;
  for (std::uint64_t now = d_.clock.now_ms(); now < until && !stopping(); now = d_.clock.now_ms()) {
    d_.pump.wait_for_message_or_timeout(static_cast<unsigned>(until - now));
    d_.pump.process_messages();
  }
}

void ScriptPlayer::DelayTimerTick() {
  ++tick_counter_;
  if (!delays_.empty()) ++delays_.back()->ticks;
}

void ScriptPlayer::Delay(int n, WaitUnit unit) {
  DelayFrame frame{unit == WaitUnit::Seconds ? 1000u : 60000u, 0};
  delays_.push_back(&frame);
  const ScopeExit finish([this] {
    delays_.pop_back();
    d_.delay_timer.stop();
  });
  d_.delay_timer.start(frame.interval);
  tick_counter_ = 0;
  d_.pump.process_messages();
  while (frame.ticks < n && !d_.pump.terminated()) {
    // A delay that ran inside this one stopped the shared timer when it ended: restart it and
    // keep counting from where this delay was.
    if (!d_.delay_timer.running() || d_.delay_timer.interval() != frame.interval) d_.delay_timer.start(frame.interval);
    d_.pump.wait_for_message();
    d_.pump.process_messages();
  }
}

}  // namespace kv
