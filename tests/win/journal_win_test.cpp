// The journal recorder's Win32 ports: files, the playback clock, the UI thread's queue, and
// hooks and injection together (our own input comes back tagged, at the spot it was sent to).
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "journal/ports_win.h"
#include "platform/keyboard.h"
#include "platform/win32/adapters.h"

using namespace kv;
using namespace kv::journal;
using namespace kv::win;

namespace {

std::string temp_path(const char* name) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

void pump_for(DWORD ms) {
  Win32MessagePump pump;
  const DWORD end = GetTickCount() + ms;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    pump.process_messages();
    Sleep(5);
  }
}

}  // namespace

TEST(JournalWin32, FilesAreReplacedWholeAndRefusedWhereTheyCannotBeWritten) {
  Win32RecordingFiles files;
  const std::string p = temp_path("kvjournal_test.dat");
  ASSERT_TRUE(files.write(p, std::string("first take, longer than the second")));
  ASSERT_TRUE(files.write(p, std::string("two\0take", 8)));
  EXPECT_EQ(files.read(p), std::string("two\0take", 8));
  EXPECT_EQ(GetFileAttributesA((p + ".part").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(files.write(temp_path("no_such_folder_kv\\x.dat"), "x"));
  EXPECT_FALSE(files.read(temp_path("no_such_folder_kv\\x.dat")));
  DeleteFileA(p.c_str());
}

TEST(JournalWin32, ClockWaitsUntilTheDeadlineAndWakesEarly) {
  Win32PlaybackClock clock;
  const std::uint64_t t0 = clock.now_us();
  EXPECT_TRUE(clock.wait_until(t0 + 30'000));
  const std::uint64_t t1 = clock.now_us();
  EXPECT_GE(t1, t0 + 30'000);
  EXPECT_LT(t1, t0 + 1'000'000);
  EXPECT_TRUE(clock.wait_until(t0));  // already past

  std::thread waker([&] {
    Sleep(50);
    clock.wake();
  });
  EXPECT_FALSE(clock.wait_until(clock.now_us() + 10'000'000));
  waker.join();
  EXPECT_FALSE(clock.wait_until(clock.now_us() + 1000));  // stays woken until rearmed
  clock.rearm();
  EXPECT_TRUE(clock.wait_until(clock.now_us() + 1000));
}

TEST(JournalWin32, PostedClosuresRunOnTheUiThreadInOrder) {
  Win32UiThread ui;
  std::vector<int> order;
  std::vector<DWORD> threads;
  std::thread worker([&] {
    for (int i = 0; i < 5; ++i)
      ui.post([&, i] {
        order.push_back(i);
        threads.push_back(GetCurrentThreadId());
      });
  });
  worker.join();
  EXPECT_TRUE(order.empty());
  pump_for(200);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
  for (DWORD t : threads) EXPECT_EQ(t, GetCurrentThreadId());
}

TEST(JournalWin32, OurOwnInputReachesTheHooksTaggedAndWhereItWasSent) {
  Win32PlaybackClock clock;
  Win32InputHooks hooks(clock);
  Win32Injector injector;
  std::mutex m;
  std::vector<RawInput> seen;
  ASSERT_TRUE(hooks.set_hooks(true, true, [&](const RawInput& in) {
    std::lock_guard<std::mutex> lock(m);
    seen.push_back(in);
  }));
  const ScreenRect screen = hooks.virtual_screen();
  ASSERT_GT(screen.width, 0);
  Event move;
  move.kind = EventKind::MouseMove;
  move.x = normalise(screen.left + 321, screen.left, screen.width);
  move.y = normalise(screen.top + 123, screen.top, screen.height);
  Event down;
  down.kind = EventKind::KeyDown;
  down.vk = VK_F24;
  Event up = down;
  up.kind = EventKind::KeyUp;
  EXPECT_EQ(injector.send({move}), 1u);
  EXPECT_EQ(injector.send({down, up}), 2u);
  pump_for(500);
  hooks.set_hooks(false, false, nullptr);

  std::lock_guard<std::mutex> lock(m);
  bool saw_move = false, saw_key = false;
  for (const RawInput& in : seen) {
    if (in.kind == EventKind::MouseMove && in.extra_info == kInjectedTag) {
      saw_move = true;
      EXPECT_EQ(in.x, screen.left + 321);
      EXPECT_EQ(in.y, screen.top + 123);
    }
    if (is_key(in.kind) && in.vk == VK_F24) {
      saw_key = true;
      EXPECT_EQ(in.extra_info, kInjectedTag);
      EXPECT_TRUE(in.injected);
      EXPECT_FALSE(Capture::is_users(in));
    }
  }
  EXPECT_TRUE(saw_move);
  EXPECT_TRUE(saw_key);
  // Once removed, the hooks see nothing more.
  const std::size_t before = seen.size();
  injector.send({down, up});
  Sleep(200);
  EXPECT_EQ(seen.size(), before);
}
