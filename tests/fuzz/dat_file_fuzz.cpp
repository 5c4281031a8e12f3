// Fuzzes the .dat reader: any input is either refused or yields a recording that is safe to
// play and encodes back to the same bytes. Each input is also read a second time with its
// header and CRC made right, so that the checks of the events themselves are reached.
#include <cstddef>
#include <cstdint>
#include <string>

#include "journal/dat_file.h"

namespace {

void check(const std::string& bytes) {
  const kv::journal::Decoded d = kv::journal::decode(bytes);
  if (d.error != kv::journal::DecodeError::None) {
    if (!d.recording.events.empty()) __builtin_trap();
    return;
  }
  std::uint32_t last = 0;
  for (const auto& e : d.recording.events) {
    if (e.offset_ms < last || e.offset_ms > d.recording.duration_ms) __builtin_trap();
    if (kv::journal::is_key(e.kind) && (e.vk == 0 || e.vk == 0xFF)) __builtin_trap();
    if (d.recording.keystrokes_only && kv::journal::is_mouse(e.kind)) __builtin_trap();
    last = e.offset_ms;
  }
  if (kv::journal::encode(d.recording) != bytes) __builtin_trap();
}

void put32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  check(bytes);
  if (size >= kv::journal::kHeaderSize) {
    std::string fixed =
        bytes.substr(0, kv::journal::kHeaderSize +
                            (size - kv::journal::kHeaderSize) / kv::journal::kEventSize * kv::journal::kEventSize);
    fixed.replace(0, 8, std::string("KVJR\x01\x00\x18\x00", 8));
    fixed[8] = static_cast<char>(fixed[8] & 1);
    fixed[9] = fixed[10] = fixed[11] = 0;
    put32(fixed, 12, static_cast<std::uint32_t>((fixed.size() - kv::journal::kHeaderSize) / kv::journal::kEventSize));
    const std::string covered = fixed.substr(0, 20) + fixed.substr(kv::journal::kHeaderSize);
    put32(fixed, 20, kv::journal::crc32(reinterpret_cast<const std::uint8_t*>(covered.data()), covered.size()));
    check(fixed);
  }
  return 0;
}
