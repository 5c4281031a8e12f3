// The keyboard port on Win32 (layout queries and SendInput batches tagged as ours) and the
// outside key library, loaded only from the program folder.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "platform/keyboard.h"
#include "platform/win32/delivery_win.h"
#include "platform/win32/handles.h"

namespace kv::win {

class Win32Keyboard : public Keyboard {
 public:
  Win32Keyboard();
  std::int16_t vk_key_scan(char c) override;
  std::uint16_t map_virtual_key(std::uint8_t vk) override;
  std::uint16_t to_utf16(char c) override;
  std::string key_name(std::uint8_t vk) override;
  std::size_t send(const std::vector<KeyInput>& batch) override;
  void wait_until_delivered() override;
  // The same with its bound given; false when it could not tell that the keys were taken.
  bool wait_until_delivered_within(DWORD timeout_ms);

 private:
  // The layout queries are slow on some systems and asked for every key: answers are kept
  // until the thread's keyboard layout changes.
  void check_layout();
  HKL layout_ = nullptr;
  std::array<std::int32_t, 256> scan_of_char_{};
  std::array<std::int32_t, 256> scan_code_{};
  DeliveryWatch delivery_;
};

class Win32KeyLibrary : public KeyLibrary {
 public:
  // program_dir ends in a backslash.
  explicit Win32KeyLibrary(std::string program_dir) : dir_(std::move(program_dir)) {}
  bool load() override;
  bool loaded() const override { return static_cast<bool>(module_); }
  Entry entry() override;
  void unload() override;
  std::string path() const { return dir_ + kKeyLibraryName; }

 private:
  std::string dir_;
  OwnedModule module_;
};

}  // namespace kv::win
