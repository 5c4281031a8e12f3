#include "platform/win32/keyboard_win.h"

namespace kv::win {

namespace {
constexpr std::int32_t kUnknown = -0x10000;
}

Win32Keyboard::Win32Keyboard() {
  check_layout();
}

void Win32Keyboard::check_layout() {
  const HKL now = GetKeyboardLayout(0);
  if (now == layout_) return;
  layout_ = now;
  scan_of_char_.fill(kUnknown);
  scan_code_.fill(kUnknown);
}

std::int16_t Win32Keyboard::vk_key_scan(char c) {
  check_layout();
  std::int32_t& v = scan_of_char_[static_cast<unsigned char>(c)];
  if (v == kUnknown) v = VkKeyScanA(c);
  return static_cast<std::int16_t>(v);
}

std::uint16_t Win32Keyboard::map_virtual_key(std::uint8_t vk) {
  check_layout();
  std::int32_t& v = scan_code_[vk];
  if (v == kUnknown) v = static_cast<std::int32_t>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) & 0xFFFF);
  return static_cast<std::uint16_t>(v);
}

std::uint16_t Win32Keyboard::to_utf16(char c) {
  wchar_t w = 0;
  if (MultiByteToWideChar(CP_ACP, 0, &c, 1, &w, 1) != 1) return static_cast<unsigned char>(c);
  return static_cast<std::uint16_t>(w);
}

std::string Win32Keyboard::key_name(std::uint8_t vk) {
  const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  if (!scan) return {};
  LONG lp = static_cast<LONG>(scan << 16);
  if (is_extended_key(vk)) lp |= 1 << 24;
  char buf[64] = {};
  const int n = GetKeyNameTextA(lp, buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

std::size_t Win32Keyboard::send(const std::vector<KeyInput>& batch) {
  if (batch.empty()) return 0;
  delivery_.follow(GetForegroundWindow());
  std::vector<INPUT> inputs(batch.size());
  for (std::size_t i = 0; i < batch.size(); ++i) {
    const KeyInput& k = batch[i];
    INPUT& in = inputs[i];
    in.type = INPUT_KEYBOARD;
    in.ki.dwExtraInfo = static_cast<ULONG_PTR>(kInjectedTag);
    DWORD flags = k.up ? KEYEVENTF_KEYUP : 0;
    if (k.unicode) {
      in.ki.wVk = 0;
      in.ki.wScan = k.unit;
      flags |= KEYEVENTF_UNICODE;
    } else {
      in.ki.wVk = k.vk;
      in.ki.wScan = k.scan;
      if (k.extended) flags |= KEYEVENTF_EXTENDEDKEY;
    }
    in.ki.dwFlags = flags;
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Win32Keyboard::wait_until_delivered() {
  // Long enough for a whole batch on a busy machine; past it the script goes on regardless.
  constexpr DWORD kDeliveryBoundMs = 2000;
  wait_until_delivered_within(kDeliveryBoundMs);
}

bool Win32Keyboard::wait_until_delivered_within(DWORD timeout_ms) {
  return delivery_.wait(timeout_ms);
}

bool Win32KeyLibrary::load() {
  if (module_) return true;
  const std::string full = path();
  // Only a full path into the program folder; never the library search path.
  if (full.size() < 3 || !(full[1] == ':' || (full[0] == '\\' && full[1] == '\\'))) return false;
  if (GetFileAttributesA(full.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  HMODULE m = LoadLibraryExA(full.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Systems without the restricted search flags: the library's own folder still comes first.
  if (!m && GetLastError() == ERROR_INVALID_PARAMETER)
    m = LoadLibraryExA(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  module_.reset(m);
  return loaded();
}

KeyLibrary::Entry Win32KeyLibrary::entry() {
  if (!module_) return {};
  using Fn = std::int32_t(WINAPI*)(const unsigned char*);
  const auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_.get(), MAKEINTRESOURCEA(1))));
  if (!fn) return {};
  return [fn](const std::string& counted) { return fn(reinterpret_cast<const unsigned char*>(counted.c_str())); };
}

void Win32KeyLibrary::unload() {
  module_.reset();
}

}  // namespace kv::win
