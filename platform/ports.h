// The narrow interfaces through which the portable core reaches the operating system.
// Win32 adapters live in platform/win32 (or beside their subsystem as *_win.cpp); the unit
// tests use the fakes in tests/fakes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Top-level window handle as the platform hands it out; written in decimal in FoundHandle.
using WindowHandle = std::uint32_t;

// The private-profile service behind macros.ini. Names are matched without regard to case;
// a read returns at most 1023 characters; a missing key yields the default.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  virtual std::string read_string(std::string_view section, std::string_view key, std::string_view def) = 0;
  // false when the platform refused the write.
  virtual bool write_string(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual bool erase_section(std::string_view section) = 0;
  // The name used in "Unable to write to %s".
  virtual std::string file_name() const = 0;
};

// Files in the program folder (companion scripts and recordings).
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole file, or nothing when it cannot be opened.
  virtual std::optional<std::string> read_file(const std::string& path) = 0;
  virtual bool delete_file(const std::string& path) = 0;
  // Creates or replaces the file with exactly `content`; false when it cannot be written.
  virtual bool write_file(const std::string& path, const std::string& content) = 0;
  virtual bool file_exists(const std::string& path) = 0;
  // Gives the file a new name; false when `from` is missing or another file is called `to`
  // (a change of letter case only renames the file itself).
  virtual bool rename_file(const std::string& from, const std::string& to) = 0;
  // Moves `from` onto `to` in one step, replacing a file called `to`; on failure both stay as
  // they were.
  virtual bool replace_file(const std::string& from, const std::string& to) = 0;
  // Folder of the executable, ending in a backslash.
  virtual std::string program_dir() = 0;
};

// ShellExecute with the verb "open", no parameters, no working folder, SW_SHOWNORMAL, the
// application's window as owner. The result is not examined.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual void open(const std::string& target) = 0;
};

// The user-interface thread's message queue. Runs nest: everything that waits processes
// messages, and may therefore run another macro to its end before it returns.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Dispatch every pending message (hotkeys, timer ticks, tray commands...).
  virtual void process_messages() = 0;
  // Block until a message is waiting, so loops that wait cost no CPU.
  virtual void wait_for_message() = 0;
  // The same, for at most timeout_ms.
  virtual void wait_for_message_or_timeout(unsigned timeout_ms) = 0;
  // Sleep without processing messages.
  virtual void sleep_ms(unsigned ms) = 0;
  // True once the application has been asked to end.
  virtual bool terminated() = 0;
};

// Monotonic milliseconds.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t now_ms() = 0;
};

// A window timer whose ticks arrive through the message pump (the delay timer tmr1).
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void start(unsigned interval_ms) = 0;
  virtual void stop() = 0;
  virtual bool running() const = 0;
  virtual unsigned interval() const = 0;
};

// Top-level windows.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // In the platform's enumeration order (topmost first).
  virtual std::vector<WindowHandle> top_level_windows() = 0;
  // The title, read with a limit of max_chars characters.
  virtual std::string window_title(WindowHandle w, std::size_t max_chars) = 0;
  virtual bool is_visible(WindowHandle w) = 0;
  virtual WindowHandle foreground() = 0;
  virtual void set_foreground(WindowHandle w) = 0;
  // FindWindowA without a class name: exact title, 0 when none.
  virtual WindowHandle find_window(const std::string& title) = 0;
};

// The application's error report: a message box captioned "Keyvane" with the error icon and
// OK, showing error_report_text(message).
class ErrorReport {
 public:
  virtual ~ErrorReport() = default;
  virtual void show_error(const std::string& message) = 0;
};

// The run-time prompt form: shows the prompt modally and returns what the edit holds when it
// closes (an empty text included). There is no cancel.
class RuntimePrompt {
 public:
  virtual ~RuntimePrompt() = default;
  virtual std::string ask(const std::string& prompt) = 0;
};

// The locale's date and time formats applied to the current moment.
enum class DateTimeFormat { ShortDate, LongDate, ShortTime, LongTime };
class DateTimeSource {
 public:
  virtual ~DateTimeSource() = default;
  virtual std::string format_now(DateTimeFormat which) = 0;
};

}  // namespace kv
