// The triggers that live on the manager window: the 101 hotkey slots with their handler and
// the window-title poll on Timer1 (250 ms, always on).
#pragma once
#include <functional>
#include <memory>

#include "platform/win32/adapters.h"
#include "triggers/hotkey_slots.h"
#include "triggers/title_poll.h"

namespace kv::win {

// macros.ini's changes as the program can see them: its own writes, the file's time and size.
class Win32StoreWatch : public StoreWatch {
 public:
  explicit Win32StoreWatch(Win32ProfileStore& profile);
  std::uint64_t stamp() override;

 private:
  Win32ProfileStore& profile_;
  std::string path_;
};

class TriggerSet {
 public:
  struct Deps {
    Win32ProfileStore& profile;
    WindowSystem& windows;
    MessagePump& pump;
    // Where the poll reports a refused write of FoundHandle.
    ErrorReport& errors;
    // Whether Timer1 polls window titles at all.
    bool poll;
    // ProcessHotKey: runs macro n.
    std::function<void(int n)> run;
  };

  explicit TriggerSet(Deps deps);
  ~TriggerSet();

  HotKeySlots& hotkeys() { return *slots_; }
  // AssignHotKeys without the list rebuild; returns Entries.
  int assign_hotkeys();
  void Timer1Timer();

 private:
  Win32ProfileStore& profile_;
  Win32StoreWatch watch_;
  std::unique_ptr<HotKeySlots> slots_;
  std::unique_ptr<TitlePoll> poll_;
  std::unique_ptr<Win32Timer> timer1_;
  OwnedWinEventHook name_hook_;
  OwnedWinEventHook window_hook_;
};

}  // namespace kv::win
