#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "platform/error.h"
#include "platform/win32/adapters.h"

namespace kv::win {

std::optional<std::string> Win32FileSystem::read_file(const std::string& path) {
  OwnedFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return std::nullopt;
  std::string content;
  char buf[8192];
  DWORD got = 0;
  while (ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) content.append(buf, got);
  return content;
}

bool Win32FileSystem::delete_file(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::write_file(const std::string& path, const std::string& content) {
  OwnedFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return false;
  DWORD written = 0;
  const DWORD size = static_cast<DWORD>(content.size());
  return WriteFile(f.get(), content.data(), size, &written, nullptr) && written == size;
}

bool Win32FileSystem::file_exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::rename_file(const std::string& from, const std::string& to) {
  if (from == to || lstrcmpiA(from.c_str(), to.c_str()) != 0) return MoveFileA(from.c_str(), to.c_str()) != FALSE;
  // A change of letter case only: some file systems take the new name for the old one and
  // keep the old spelling, so the file goes by a name of its own in between.
  const std::string between = from + ".~kvrename";
  if (!MoveFileA(from.c_str(), between.c_str())) return false;
  if (MoveFileA(between.c_str(), to.c_str())) return true;
  MoveFileA(between.c_str(), from.c_str());
  return false;
}

bool Win32FileSystem::replace_file(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
}

std::string program_folder() {
  std::vector<char> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      std::string path(buf.data(), n);
      return path.substr(0, path.find_last_of("\\/:") + 1);
    }
    buf.resize(buf.size() * 2);
  }
}

std::string Win32FileSystem::program_dir() {
  return program_folder();
}

void Win32Shell::open(const std::string& target) {
  ShellExecuteA(owner_ ? owner_() : nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

namespace {
BOOL CALLBACK collect_window(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<WindowHandle>*>(lp)->push_back(from_hwnd(w));
  return TRUE;
}
}  // namespace

std::vector<WindowHandle> Win32Windows::top_level_windows() {
  std::vector<WindowHandle> out;
  EnumWindows(collect_window, reinterpret_cast<LPARAM>(&out));
  return out;
}

std::string Win32Windows::window_title(WindowHandle w, std::size_t max_chars) {
  std::vector<char> buf(max_chars + 1);
  const int n = GetWindowTextA(to_hwnd(w), buf.data(), static_cast<int>(buf.size()));
  return std::string(buf.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool Win32Windows::is_visible(WindowHandle w) {
  return IsWindowVisible(to_hwnd(w)) != FALSE;
}

WindowHandle Win32Windows::foreground() {
  return from_hwnd(GetForegroundWindow());
}

void Win32Windows::set_foreground(WindowHandle w) {
  const HWND h = to_hwnd(w);
  SetForegroundWindow(h);
  // Another program's window is activated on its own thread: let that thread handle it before
  // we go on, or the keys typed next arrive while it has no focus and are lost.
  DWORD_PTR r = 0;
  SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, 500, &r);
}

WindowHandle Win32Windows::find_window(const std::string& title) {
  return from_hwnd(FindWindowA(nullptr, title.c_str()));
}

void Win32ErrorReport::show_error(const std::string& message) {
  const std::string text = error_report_text(message);
  MessageBoxA(nullptr, text.c_str(), "Keyvane", MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

void report_current_exception() {
  Win32ErrorReport report;
  try {
    throw;
  } catch (const std::exception& e) {
    report.show_error(e.what());
  } catch (...) {
    report.show_error("Unexpected error");
  }
}

void guarded(const std::function<void()>& f) {
  try {
    f();
  } catch (...) {
    report_current_exception();
  }
}

std::string Win32DateTime::format_now(DateTimeFormat which) {
  char buf[256] = {};
  switch (which) {
    case DateTimeFormat::ShortDate:
      GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf, sizeof buf);
      break;
    case DateTimeFormat::LongDate:
      GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, buf, sizeof buf);
      break;
    case DateTimeFormat::ShortTime:
      GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, buf, sizeof buf);
      break;
    case DateTimeFormat::LongTime:
      GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buf, sizeof buf);
      break;
  }
  return buf;
}

}  // namespace kv::win
