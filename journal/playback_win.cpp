#include "journal/ports_win.h"
#include "platform/keyboard.h"
#include "platform/win32/adapters.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace kv::win {

Win32PlaybackClock::Win32PlaybackClock() {
  QueryPerformanceFrequency(&freq_);
  // A high-resolution timer where the system has one; an ordinary one otherwise.
  timer_.reset(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
  if (!timer_) timer_.reset(CreateWaitableTimerW(nullptr, TRUE, nullptr));
  wake_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

std::uint64_t Win32PlaybackClock::now_us() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  const auto f = static_cast<std::uint64_t>(freq_.QuadPart);
  const auto v = static_cast<std::uint64_t>(c.QuadPart);
  return v / f * 1'000'000 + v % f * 1'000'000 / f;
}

bool Win32PlaybackClock::wait_until(std::uint64_t deadline_us) {
  for (;;) {
    if (WaitForSingleObject(wake_.get(), 0) == WAIT_OBJECT_0) return false;
    const std::uint64_t now = now_us();
    if (now >= deadline_us) return true;
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>((deadline_us - now) * 10);  // relative, in 100 ns
    if (!SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, FALSE)) {
      Sleep(1);
      continue;
    }
    HANDLE handles[] = {wake_.get(), timer_.get()};
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0) return false;
    // The timer may fire a little early on coarse systems: loop until the deadline has passed.
  }
}

std::size_t Win32Injector::send(const std::vector<journal::Event>& batch) {
  using journal::Button;
  using journal::EventKind;
  std::vector<INPUT> inputs;
  inputs.reserve(batch.size());
  for (const journal::Event& e : batch) {
    INPUT in{};
    if (journal::is_key(e.kind)) {
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = e.vk;
      in.ki.wScan = e.scan ? e.scan : static_cast<WORD>(MapVirtualKeyA(e.vk, MAPVK_VK_TO_VSC));
      in.ki.dwFlags = (e.kind == EventKind::KeyUp ? KEYEVENTF_KEYUP : 0) | (e.extended ? KEYEVENTF_EXTENDEDKEY : 0);
      in.ki.dwExtraInfo = kInjectedTag;
    } else {
      in.type = INPUT_MOUSE;
      in.mi.dx = e.x;
      in.mi.dy = e.y;
      DWORD flags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
      const bool down = e.kind == EventKind::ButtonDown;
      switch (e.kind) {
        case EventKind::ButtonDown:
        case EventKind::ButtonUp:
          switch (e.button) {
            case Button::Left:
              flags |= down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
              break;
            case Button::Right:
              flags |= down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
              break;
            case Button::Middle:
              flags |= down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
              break;
            case Button::X1:
            case Button::X2:
              flags |= down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP;
              in.mi.mouseData = e.button == Button::X1 ? XBUTTON1 : XBUTTON2;
              break;
            case Button::None:
              break;
          }
          break;
        case EventKind::Wheel:
        case EventKind::HWheel:
          flags |= e.kind == EventKind::Wheel ? MOUSEEVENTF_WHEEL : MOUSEEVENTF_HWHEEL;
          in.mi.mouseData = static_cast<DWORD>(e.wheel);
          break;
        default:
          break;
      }
      in.mi.dwFlags = flags;
      in.mi.dwExtraInfo = kInjectedTag;
    }
    inputs.push_back(in);
  }
  if (inputs.empty()) return 0;
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {
constexpr UINT kRunPosted = WM_APP + 1;
}

Win32UiThread::Win32UiThread()
    : window_(ComponentWindow::Kind::MessageOnly, [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != kRunPosted) return false;
        run_next();
        result = 0;
        return true;
      }) {}

void Win32UiThread::post(std::function<void()> f) {
  {
    std::lock_guard<std::mutex> lock(m_);
    queue_.push_back(std::move(f));
  }
  PostMessageA(window_.hwnd(), kRunPosted, 0, 0);
}

void Win32UiThread::run_next() {
  // One closure per message: a closure that processes messages (a message box) lets the next
  // one run inside it, in order.
  std::function<void()> f;
  {
    std::lock_guard<std::mutex> lock(m_);
    if (!queue_.empty()) {
      f = std::move(queue_.front());
      queue_.pop_front();
    }
  }
  if (f) guarded(f);
}

std::optional<std::string> Win32RecordingFiles::read(const std::string& path) {
  return Win32FileSystem().read_file(path);
}

bool Win32RecordingFiles::write(const std::string& path, const std::string& bytes) {
  // Written beside the target and moved over it, so the file is never seen half-written.
  const std::string temp = path + ".part";
  {
    OwnedFile f(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    DWORD wrote = 0;
    if (!WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) || wrote != bytes.size()) {
      f.reset();
      DeleteFileA(temp.c_str());
      return false;
    }
  }
  if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileA(temp.c_str());
  return false;
}

}  // namespace kv::win
