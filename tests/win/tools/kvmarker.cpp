// kvmarker.exe [text...]: appends one line to marker.log in its own folder, naming itself (so
// copies under other names tell apart) and its arguments, then ends. The target of
// start-an-application macros in the whole-program tests.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self);
  const std::string name = path.substr(path.find_last_of('\\') + 1);
  path = path.substr(0, path.find_last_of('\\') + 1) + "marker.log";
  std::string line = "RAN " + name;
  for (int i = 1; i < argc; ++i) line += std::string(" ") + argv[i];
  line += "\r\n";
  // Append-only access makes each write land at the end even when two markers started side by
  // side write at once; the C library's append mode seeks first and can lose a line.
  HANDLE f = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  const BOOL ok = WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(f);
  if (!ok || written != line.size()) return 4;
  return 0;
}
