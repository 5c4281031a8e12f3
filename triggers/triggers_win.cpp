#include "triggers/triggers_win.h"

#include "triggers/hotkey_win.h"

namespace kv::win {

namespace {
TitlePoll* g_poll = nullptr;

void CALLBACK title_event(HWINEVENTHOOK, DWORD event, HWND w, LONG object, LONG child, DWORD, DWORD) {
  if (!g_poll || object != OBJID_WINDOW || child != CHILDID_SELF) return;
  if (event == EVENT_OBJECT_NAMECHANGE)
    g_poll->title_changed(from_hwnd(w));
  else
    g_poll->windows_changed();
}
}  // namespace

Win32StoreWatch::Win32StoreWatch(Win32ProfileStore& profile) : profile_(profile) {
  const std::string name = profile.file_name();
  if (name.find_first_of("\\/:") != std::string::npos) {
    path_ = name;
  } else {
    // A bare name resolves to the Windows folder.
    char dir[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
    path_ = std::string(dir, n < MAX_PATH ? n : 0) + "\\" + name;
  }
}

std::uint64_t Win32StoreWatch::stamp() {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  std::uint64_t h = 1469598103934665603ull;
  auto mix = [&h](std::uint64_t v) {
    h ^= v;
    h *= 1099511628211ull;
  };
  mix(profile_.changes());
  if (GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &a)) {
    mix(a.ftLastWriteTime.dwLowDateTime);
    mix(a.ftLastWriteTime.dwHighDateTime);
    mix(a.nFileSizeLow);
    mix(a.nFileSizeHigh);
  } else {
    mix(0xFFFFFFFFull);
  }
  return h;
}

TriggerSet::TriggerSet(Deps deps) : profile_(deps.profile), watch_(deps.profile) {
  slots_ = std::make_unique<HotKeySlots>(
      HotKeySlots::Deps{[](std::uint8_t vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }, deps.pump, deps.run,
                        [](unsigned modifiers, unsigned key) {
                          // A thread hotkey under an identifier of the application's own range.
                          constexpr int kProbeId = 0xBFFF;
                          if (!RegisterHotKey(nullptr, kProbeId, modifiers, key)) return false;
                          UnregisterHotKey(nullptr, kProbeId);
                          return true;
                        }},
      [](int) { return std::make_unique<TEPHotKey>(); });
  poll_ = std::make_unique<TitlePoll>(
      TitlePoll::Deps{deps.profile, deps.windows, deps.pump, deps.errors, std::move(deps.run), &watch_});
  if (!deps.poll) return;
  // Reading every window's title four times a second costs a round trip per window: keep
  // them while the platform reports changes.
  g_poll = poll_.get();
  name_hook_.reset(SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, title_event, 0, 0,
                                   WINEVENT_OUTOFCONTEXT));
  window_hook_.reset(
      SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_REORDER, nullptr, title_event, 0, 0, WINEVENT_OUTOFCONTEXT));
  poll_->set_titles_notified(name_hook_ && window_hook_);
  timer1_ = std::make_unique<Win32Timer>([this] { Timer1Timer(); });
  timer1_->start(250);
}

TriggerSet::~TriggerSet() {
  timer1_.reset();
  name_hook_.reset();
  window_hook_.reset();
  g_poll = nullptr;
  slots_.reset();
}

int TriggerSet::assign_hotkeys() {
  return slots_->AssignHotKeys(profile_);
}

void TriggerSet::Timer1Timer() {
  poll_->Timer1Timer();
}

}  // namespace kv::win
