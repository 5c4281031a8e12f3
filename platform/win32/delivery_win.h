// Knowing when the program with the foreground has taken the key events sent so far. The
// system hands a queued key to a window only when that window's thread takes it from its
// queue (and drops it if the thread has lost the focus by then), so "delivered" means
// "taken": a marker key goes out behind the others, and its press shows in the key state that
// thread keeps, which it updates as it takes key messages from its queue.
#pragma once
#include <windows.h>

namespace kv::win {

// The key a marker presses and releases: one that no keyboard has and no program types.
inline constexpr BYTE kDeliveryMarkerVk = 0xE8;

class DeliveryWatch {
 public:
  // Blocks the calling thread, without processing its messages, until the thread of the
  // foreground window has taken every key event sent before, or timeout_ms has passed. False
  // when it could not tell (no foreground window, one of the calling thread's own, a thread
  // whose input cannot be shared, or the time ran out).
  bool wait(DWORD timeout_ms);
};

}  // namespace kv::win
