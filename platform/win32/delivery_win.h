// Knowing when the window the keys went to has taken them. The system queues sent key events
// for the thread of the foreground window; if the focus moves on before that thread has taken
// them from its queue, they are lost or go to the new window. A watcher thread shares the
// input of the thread that gets the keys (joined before any key is sent to it, since joining
// clears the key state that thread keeps) and reads that state: a marker key sent behind the
// keys shows there only once the thread has taken everything before it.
#pragma once
#include <windows.h>

#include <atomic>
#include <thread>

#include "platform/win32/handles.h"

namespace kv::win {

// The key a marker presses: one that no keyboard has and programs ignore.
inline constexpr BYTE kDeliveryMarkerVk = 0xFC;  // VK_NONAME

class DeliveryWatch {
 public:
  DeliveryWatch() = default;
  ~DeliveryWatch();
  DeliveryWatch(const DeliveryWatch&) = delete;
  DeliveryWatch& operator=(const DeliveryWatch&) = delete;

  // Called before keys are sent to `target`: joins the input of its thread unless it is
  // joined already or the thread is the caller's own.
  void follow(HWND target);
  // Blocks the calling thread, without processing its messages, until the thread the keys
  // went to has taken every event sent before, or timeout_ms has passed. False when it could
  // not tell (no keys followed, the foreground moved to another thread, the time ran out).
  bool wait(DWORD timeout_ms);

 private:
  bool start_thread();
  void run();
  bool post_and_wait(UINT msg, WPARAM wp, LPARAM lp, DWORD timeout_ms);

  std::thread thread_;
  std::atomic<DWORD> thread_id_{0};
  OwnedKernelHandle ack_, seen_;
  DWORD joined_ = 0;  // the thread whose input the watcher shares; 0 for none
  // Written by the watcher thread before it sets ack_, read after.
  std::atomic<bool> ok_{false};
};

}  // namespace kv::win
