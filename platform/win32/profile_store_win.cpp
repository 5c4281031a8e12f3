#include <vector>

#include "platform/win32/adapters.h"

namespace kv::win {

std::string Win32ProfileStore::read_string(std::string_view section, std::string_view key, std::string_view def) {
  // 1024 characters of room: a read returns at most 1023.
  std::vector<char> buf(1024);
  const std::string s(section), k(key), d(def);
  const DWORD n = GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buf.data(), static_cast<DWORD>(buf.size()),
                                           file_.c_str());
  return std::string(buf.data(), n);
}

bool Win32ProfileStore::write_string(std::string_view section, std::string_view key, std::string_view value) {
  const std::string s(section), k(key), v(value);
  ++changes_;
  return WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), file_.c_str()) != FALSE;
}

bool Win32ProfileStore::erase_section(std::string_view section) {
  const std::string s(section);
  ++changes_;
  return WritePrivateProfileStringA(s.c_str(), nullptr, nullptr, file_.c_str()) != FALSE;
}

}  // namespace kv::win
