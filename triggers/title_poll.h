// Timer1Timer, the window-title poll: every 250 ms each macro with a Trigger looks for a
// top-level window with that title and runs once per window handle it finds, recording the
// handle in FoundHandle before the run.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace kv {

// Tells cheaply whether macros.ini may have changed: the value moves with every change that
// it can see (the program's own writes, the file's time and size).
class StoreWatch {
 public:
  virtual ~StoreWatch() = default;
  virtual std::uint64_t stamp() = 0;
};

// FoundHandle can hold no more than a read returns.
inline constexpr std::size_t kFoundHandleLimit = 1023;

// How readily a recorded handle may be dropped when FoundHandle is full: windows that are gone
// (or entries that are no handles) first, then windows that no longer carry the title, last
// the ones that still do.
enum class HandleStanding { Gone = 0, Retitled = 1, Showing = 2 };

// FoundHandle with `handle` added at its end, kept within kFoundHandleLimit characters by
// dropping entries in order of standing, oldest first; the new handle always stays.
std::string append_found_handle(const std::string& found, WindowHandle handle,
                                const std::function<HandleStanding(const std::string& entry)>& standing);

// True when `handle` in decimal is one of the comma-separated entries.
bool found_handle_contains(const std::string& found, WindowHandle handle);

class TitlePoll {
 public:
  struct Deps {
    ProfileStore& profile;
    WindowSystem& windows;
    MessagePump& pump;
    ErrorReport& errors;
    // ProcessHotKey; its errors leave Timer1Timer.
    std::function<void(int n)> run;
    // Without a watch the triggers are read from the store on every poll.
    StoreWatch* watch = nullptr;
  };

  explicit TitlePoll(Deps deps) : d_(std::move(deps)) {}

  void Timer1Timer();

  // Polls between two full re-reads of the triggers, whatever the watch says (250 ms each).
  static constexpr int kRereadEvery = 40;

  // Once the platform reports title changes (title_changed), titles are kept between polls
  // and only new windows and changed titles are read; every kTitleRefreshEvery polls all
  // titles are read again, in case a report went missing.
  void set_titles_notified(bool on) { titles_notified_ = on; }
  void title_changed(WindowHandle w) {
    titles_.erase(w);
    windows_changed();
  }
  // A top-level window was created, destroyed, shown, hidden or moved in the order. Once such
  // reports arrive, a poll with nothing reported, the store unchanged and nothing run by the
  // poll before would decide exactly as that one did, and is skipped (but never more than
  // kTitleRefreshEvery - 1 in a row).
  void windows_changed() {
    windows_dirty_ = true;
    events_seen_ = true;
  }
  static constexpr int kTitleRefreshEvery = 4;

 private:
  struct Trigger {
    int n;
    std::string wanted;  // in comparison form
  };
  using TriggerList = std::vector<Trigger>;

  // One enumeration of the top-level windows with their titles in comparison form.
  struct Snapshot {
    std::vector<std::pair<WindowHandle, std::string>> windows;
    WindowHandle find(const std::string& wanted) const;
    const std::string* title(WindowHandle h) const;
  };

  // The macros with a trigger, from the cache while the watch sees no change.
  std::shared_ptr<const TriggerList> triggers(bool reread = false);
  Snapshot snapshot();
  void record(int n, const std::string& wanted, WindowHandle h, const std::string& found);

  Deps d_;
  std::shared_ptr<const TriggerList> cached_;
  std::uint64_t cached_stamp_ = 0;
  int polls_since_read_ = 0;
  // Windows recorded while the store refused the write, so they still run only once.
  std::map<int, std::set<WindowHandle>> unrecorded_;
  bool refusal_reported_ = false;
  bool titles_notified_ = false;
  std::map<WindowHandle, std::string> titles_;  // comparison form
  int polls_since_titles_ = 0;
  bool windows_dirty_ = true;
  bool events_seen_ = false;
  bool list_read_ = false;  // the last triggers() call read the store
  bool ran_last_poll_ = true;
};

}  // namespace kv
