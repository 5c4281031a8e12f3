// The script player: SendKeys walks an advanced macro's script, types its text through the
// sender and carries out its tokens: waits, repeats, the run-time prompt, runs by name, windows
// and programs.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/runner.h"
#include "engine/script_language.h"
#include "platform/ports.h"
#include "sendkey/send_key.h"

namespace kv {

enum class WaitUnit { Seconds = 1, Minutes = 2 };

inline constexpr const char* kDefaultWaitSeparator = "~~";
// A macro that runs itself by name would otherwise nest until the stack runs out.
inline constexpr int kMaxRunNesting = 40;
inline constexpr const char* kRunsNestedTooDeeply = "Macros run one another too deeply (%s levels)";

class ScriptPlayer : public ScriptPlayerEntry {
 public:
  struct Deps {
    TSendKey& sender;
    MessagePump& pump;
    Clock& clock;
    // tmr1: its ticks must reach DelayTimerTick.
    Timer& delay_timer;
    ProfileStore& profile;
    WindowSystem& windows;
    Shell& shell;
    RuntimePrompt& prompt;
    DateTimeSource& datetime;
    // ProcessHotKey of the runner.
    std::function<void(int)> process_hot_key;
  };

  explicit ScriptPlayer(Deps deps) : d_(std::move(deps)) {}

  // One script run: it starts and ends with no modifier pending (see SenderRun).
  void SendKeys(const std::string& script) override;
  void clear_script_value() override { script_value_.clear(); }

  // Carries out the token at the front of text (which begins with "<<"); returns the rest.
  std::string_view ExecuteToken(std::string_view text);
  void RepMac(int n, const std::string& body);
  void WaitForWindow(const std::string& title, WaitUnit unit, int n);
  void Delay(int n, WaitUnit unit);

  // tmr1's handler.
  void DelayTimerTick();

  const std::string& script_value() const { return script_value_; }
  int tick_counter() const { return tick_counter_; }

 private:
  // The walk over a script (or a repeat body): trimmed, then text and tokens from the front.
  void play(const std::string& script);
  bool stopping() { return d_.pump.terminated(); }
  // Waits that long while answering messages (so the tray and the windows stay responsive).
  void pause(unsigned ms);
  // Brings w to the foreground and waits, for a bounded time, until it has it.
  void bring_to_front(WindowHandle w);
  // Each token the player carries out: given the text after its spelling, returns the rest.
  struct PlayerToken {
    std::string_view spelling;
    std::string_view (ScriptPlayer::*play)(std::string_view text);
  };
  static const PlayerToken kPlayerTokens[];
  std::string_view modifier_token(const ModifierToken& m, std::string_view after);
  std::string_view delay_token(std::string_view text, WaitUnit unit);
  std::string_view secs_token(std::string_view text);
  std::string_view mins_token(std::string_view text);
  std::string_view rep_token(std::string_view text);
  std::string_view input_token(std::string_view text);
  std::string_view write_value_token(std::string_view text);
  std::string_view run_token(std::string_view text);
  std::string_view look_for_token(std::string_view text);
  std::string_view focus_token(std::string_view text);
  std::string_view execute_token(std::string_view text);

  struct DelayFrame {
    unsigned interval;
    int ticks;
  };

  Deps d_;
  std::string script_value_;
  int tick_counter_ = 0;
  // Running delays, innermost last; a tick counts for the innermost only.
  std::vector<DelayFrame*> delays_;
  int run_depth_ = 0;
};

}  // namespace kv
