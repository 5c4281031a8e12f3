// Fuzzes key-sequence text through the sender: no crash, every key that goes down comes up, no
// key 0xFF is ever sent, and the only errors are the sender's two messages.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/error.h"
#include "sendkey/send_key.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  kv::fake::FakeKeyboard kb;
  kv::fake::FakeEventLoop loop;
  kv::SendKeyShared shared;
  kv::TSendKey sk(kb, loop, nullptr, shared);
  sk.SetTokensOnly((data[0] & 1) != 0);
  // The rest is split at NUL bytes into several texts sent one after another, so modifiers left
  // pending by one text reach the next.
  const std::string all(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    const std::string text = all.substr(start, end - start);
    try {
      const int r = sk.Send(text);
      if (r != (text.empty() ? -1 : 0)) __builtin_trap();
    } catch (const kv::Error& e) {
      if (std::strcmp(e.what(), kv::kInvalidToken) != 0 && std::strcmp(e.what(), kv::kNoClosingBrackets) != 0)
        __builtin_trap();
    }
    start = end + 1;
  }
  if (!kb.keys_left_down().empty()) __builtin_trap();
  for (const kv::KeyInput& e : kb.events)
    if (!e.unicode && e.vk == 0xFF) __builtin_trap();
  for (const auto& b : kb.batches)
    if (b.size() % 2 != 0) __builtin_trap();  // a press is its downs and their ups
  return 0;
}
