// A script player wired to fakes: keyboard with timestamps, virtual-time message loop with the
// delay timer, store, files, windows, prompt and a real MacroRunner, so scripts can run other
// macros and messages can arrive in the middle of a script.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/runner.h"
#include "engine/script_player.h"
#include "sendkey/send_key.h"
#include "tests/fakes/fake_integrity.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

namespace kv::fake {

class TimedKeyboard : public FakeKeyboard {
 public:
  explicit TimedKeyboard(FakeEventLoop& clock) : clock_(clock) {}
  std::size_t send(const std::vector<KeyInput>& batch) override;
  // Per batch from the front: how many of its events go through (then all again).
  std::vector<int> accepts;
  // Virtual time of each event in `events`.
  std::vector<std::uint64_t> times;
  // Time of the first key-down of vk, or -1.
  std::int64_t time_of(std::uint8_t vk) const;
  void clear_all() {
    clear();
    times.clear();
  }

 private:
  FakeEventLoop& clock_;
};

// The text the events would type on the fake US layout. Keys that type nothing, or keys held
// with Ctrl or Alt, appear in angle brackets with their modifiers: "<Enter>", "<~Tab>", "<^c>",
// "<^@Del>". A Unicode event is its character (Windows-1252).
std::string typed_text(const std::vector<KeyInput>& events);

struct TypingRig {
  FakeEventLoop loop;
  TimedKeyboard kb{loop};
  SendKeyShared shared;
  TSendKey sender{kb, loop, nullptr, shared};
  FakeProfileStore profile;
  FakeFileSystem files;
  FakeShell shell;
  FakeJournal journal;
  FakeWindows windows;
  FakeIntegrity integrity;
  TargetCheck target_check{windows, integrity};
  FakePrompt prompt;
  FakeDateTime datetime;
  std::vector<std::string> statuses;
  FakeTimer& tmr1;
  MacroRunner runner;
  ScriptPlayer player;

  TypingRig();
  // Adds an advanced macro (number Entries + 1) with this script; returns its number.
  int macro(const std::string& name, const std::string& script);
  // Plays a script from the start, as the runner would; returns the text typed.
  std::string play(const std::string& script);
  // The message of the error the script raised, or "(no error)"; the typed text is in typed().
  std::string play_error(const std::string& script);
  std::string typed() const { return typed_text(kb.events); }
  // From now on keys reach windows the way the system routes them: late, to whichever window
  // has the foreground when it gets to them (at a foreground change, or when waited for).
  void route_keys_by_focus();
  std::string received_by(WindowHandle w) { return typed_text(kb.received[w]); }
};

}  // namespace kv::fake
