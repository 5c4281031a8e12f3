// Knowing when the system has handed on the key events sent so far: a marker event goes out
// behind them, and a low-level keyboard hook, which sees events in the order the system
// delivers them, swallows it and says so.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/win32/handles.h"

namespace kv::win {

// dwExtraInfo of a marker: this in the upper 24 bits, a sequence number in the lowest 8.
inline constexpr std::uintptr_t kDeliveryMarkerBase = 0x4B564D00;  // "KVM"
// The key a marker releases: one that no keyboard has, should a marker ever get through.
inline constexpr BYTE kDeliveryMarkerVk = 0xFC;  // VK_NONAME

class DeliveryWatch {
 public:
  DeliveryWatch() = default;
  ~DeliveryWatch();
  DeliveryWatch(const DeliveryWatch&) = delete;
  DeliveryWatch& operator=(const DeliveryWatch&) = delete;

  // Blocks the calling thread, without processing its messages, until every event it sent
  // before has passed the hook, or timeout_ms has passed. False when it could not tell.
  bool wait(DWORD timeout_ms);

 private:
  // The hook lives on a thread of its own with its own message loop, so it answers at once
  // while the thread that sent the keys waits; it is set only for the length of a wait.
  bool start_thread();
  void run();
  bool post_and_wait(UINT msg, DWORD timeout_ms);
  static LRESULT CALLBACK hook_proc(int code, WPARAM wp, LPARAM lp);

  std::thread thread_;
  std::atomic<DWORD> thread_id_{0};
  std::atomic<bool> hooked_{false};
  OwnedKernelHandle ack_, seen_;
  std::atomic<unsigned> last_seen_{0};
  unsigned next_ = 0;
  OwnedHook hook_;  // used on the hook's thread only
};

}  // namespace kv::win
