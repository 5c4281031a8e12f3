#include "platform/owned.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> g_closed;

struct IntTraits {
  using Handle = int;
  static Handle empty() { return -1; }
  static void close(Handle h) { g_closed.push_back(h); }
};
using OwnedInt = kv::Owned<IntTraits>;

}  // namespace

TEST(Owned, ReleasesExactlyOnceThroughMovesAndResets) {
  g_closed.clear();
  {
    OwnedInt a(1);
    EXPECT_TRUE(a);
    OwnedInt b(std::move(a));
    EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move): the moved-from owner is empty
    EXPECT_EQ(b.get(), 1);
    OwnedInt c(2);
    c = std::move(b);  // the old handle goes first
    EXPECT_EQ(g_closed, (std::vector<int>{2}));
    c = std::move(c);  // self-move keeps the handle
    EXPECT_EQ(c.get(), 1);
    c.reset(1);  // resetting to the same handle does not close it
    EXPECT_EQ(g_closed, (std::vector<int>{2}));
    c.reset(3);
    EXPECT_EQ(g_closed, (std::vector<int>{2, 1}));
  }
  EXPECT_EQ(g_closed, (std::vector<int>{2, 1, 3}));
}

TEST(Owned, EmptyAndReleasedHandlesAreNeverClosed) {
  g_closed.clear();
  {
    OwnedInt empty;
    OwnedInt zero(0);  // 0 is a valid handle for these traits; only -1 is empty
    OwnedInt given(5);
    EXPECT_EQ(given.release(), 5);
    EXPECT_FALSE(given);
    empty.reset();
  }
  EXPECT_EQ(g_closed, (std::vector<int>{0}));
}
