// Win32 implementations of the system ports.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/journal.h"
#include "platform/ports.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"

namespace kv::win {

// The private-profile service with a bare file name, which lands in the Windows folder.
class Win32ProfileStore : public ProfileStore {
 public:
  explicit Win32ProfileStore(std::string file = "macros.ini") : file_(std::move(file)) {}
  std::string read_string(std::string_view section, std::string_view key, std::string_view def) override;
  bool write_string(std::string_view section, std::string_view key, std::string_view value) override;
  bool erase_section(std::string_view section) override;
  std::string file_name() const override { return file_; }
  // Counts the writes and erasures made through this adapter (a cheap sign of change).
  std::uint64_t changes() const { return changes_; }

 private:
  std::string file_;
  std::uint64_t changes_ = 0;
};

class Win32FileSystem : public FileSystem {
 public:
  std::optional<std::string> read_file(const std::string& path) override;
  bool delete_file(const std::string& path) override;
  bool write_file(const std::string& path, const std::string& content) override;
  bool file_exists(const std::string& path) override;
  bool rename_file(const std::string& from, const std::string& to) override;
  bool replace_file(const std::string& from, const std::string& to) override;
  std::string program_dir() override;
};

// The folder of the running executable, ending in a backslash.
std::string program_folder();

class Win32Shell : public Shell {
 public:
  // The owner window is looked up at each call (the host exists only after start-up).
  explicit Win32Shell(std::function<HWND()> owner) : owner_(std::move(owner)) {}
  void open(const std::string& target) override;

 private:
  std::function<HWND()> owner_;
};

// The user-interface thread's queue. Messages for windows that want dialog keyboard handling
// (Tab, Enter, Esc) go through IsDialogMessage; a WM_QUIT seen anywhere marks the end.
class Win32MessagePump : public MessagePump {
 public:
  // What a form registered with the pump; the registration is undone when this ends. A move
  // hands it over.
  class Registration {
   public:
    Registration() = default;
    ~Registration() { reset(); }
    Registration(Registration&& other) noexcept;
    Registration& operator=(Registration&& other) noexcept;
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
    void reset();

   private:
    friend class Win32MessagePump;
    Registration(Win32MessagePump& pump, unsigned id) : pump_(&pump), id_(id) {}
    Win32MessagePump* pump_ = nullptr;
    unsigned id_ = 0;
  };
  using KeyPreview = std::function<bool(const MSG&)>;

  Win32MessagePump() = default;
  Win32MessagePump(const Win32MessagePump&) = delete;
  Win32MessagePump& operator=(const Win32MessagePump&) = delete;

  void process_messages() override;
  void wait_for_message() override;
  void wait_for_message_or_timeout(unsigned timeout_ms) override;
  void sleep_ms(unsigned ms) override { Sleep(ms); }
  bool terminated() override { return terminated_; }

  // Asks the application to end: the outermost loop stops when it next looks.
  void terminate();

  // While the registration lives, the top-level window's keyboard is handled like a dialog's.
  [[nodiscard]] Registration dialog_keys(HWND window);
  // While the registration lives, `preview` sees every key message before its window does (the
  // forms' key preview) and returns true when it consumed the message. The latest registered
  // sees it first.
  [[nodiscard]] Registration key_preview(KeyPreview preview);

 private:
  void dispatch(MSG& msg);
  void unregister(unsigned id);
  bool previewed(const MSG& msg);

  bool terminated_ = false;
  unsigned next_id_ = 0;
  std::vector<std::pair<unsigned, HWND>> dialogs_;
  std::vector<std::pair<unsigned, KeyPreview>> previews_;
};

class Win32Clock : public Clock {
 public:
  std::uint64_t now_ms() override { return GetTickCount64(); }
};

// A timer with a component window of its own; its ticks arrive as WM_TIMER.
class Win32Timer : public Timer {
 public:
  explicit Win32Timer(std::function<void()> on_tick);
  ~Win32Timer() override;
  Win32Timer(const Win32Timer&) = delete;
  Win32Timer& operator=(const Win32Timer&) = delete;
  void start(unsigned interval_ms) override;
  void stop() override;
  bool running() const override { return running_; }
  unsigned interval() const override { return interval_; }

 private:
  std::function<void()> on_tick_;
  bool running_ = false;
  unsigned interval_ = 0;
  ComponentWindow window_;
};

class Win32Windows : public WindowSystem {
 public:
  std::vector<WindowHandle> top_level_windows() override;
  std::string window_title(WindowHandle w, std::size_t max_chars) override;
  bool is_visible(WindowHandle w) override;
  WindowHandle foreground() override;
  void set_foreground(WindowHandle w) override;
  WindowHandle find_window(const std::string& title) override;
};

inline HWND to_hwnd(WindowHandle h) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(h));
}
inline WindowHandle from_hwnd(HWND h) {
  return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(h));
}

// Message box captioned "Keyvane", error icon, OK.
class Win32ErrorReport : public ErrorReport {
 public:
  void show_error(const std::string& message) override;
};

class Win32DateTime : public DateTimeSource {
 public:
  std::string format_now(DateTimeFormat which) override;
};

// Runs f and shows any error it raises in the application's error report: the boundary of
// every window procedure, timer and hotkey callback. Exceptions never cross into the system.
void guarded(const std::function<void()>& f);
// For catch (...) blocks at that boundary.
void report_current_exception();

}  // namespace kv::win
