// Fuzzes the .dat reader: any input is either refused or yields a recording that is safe to
// play and encodes back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "journal/dat_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const kv::journal::Decoded d = kv::journal::decode(bytes);
  if (d.error != kv::journal::DecodeError::None) {
    if (!d.recording.events.empty()) __builtin_trap();
    return 0;
  }
  std::uint32_t last = 0;
  for (const auto& e : d.recording.events) {
    if (e.offset_ms < last || e.offset_ms > d.recording.duration_ms) __builtin_trap();
    if (kv::journal::is_key(e.kind) && e.vk == 0) __builtin_trap();
    if (d.recording.keystrokes_only && kv::journal::is_mouse(e.kind)) __builtin_trap();
    last = e.offset_ms;
  }
  if (kv::journal::encode(d.recording) != bytes) __builtin_trap();
  return 0;
}
