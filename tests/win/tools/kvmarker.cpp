// kvmarker.exe [text...]: appends one line to marker.log in its own folder, naming itself (so
// copies under other names tell apart) and its arguments, then ends. The target of
// start-an-application macros in the whole-program tests.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self);
  const std::string name = path.substr(path.find_last_of('\\') + 1);
  path = path.substr(0, path.find_last_of('\\') + 1) + "marker.log";
  FILE* f = std::fopen(path.c_str(), "ab");
  if (!f) return 3;
  std::fprintf(f, "RAN %s", name.c_str());
  for (int i = 1; i < argc; ++i) std::fprintf(f, " %s", argv[i]);
  std::fprintf(f, "\r\n");
  std::fclose(f);
  return 0;
}
