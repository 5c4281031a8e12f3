// One owner for every operating-system handle: copy is deleted, a move hands the handle over,
// and assigning releases the old handle first. Traits name the handle type, its empty value
// and how it is released.
#pragma once
#include <utility>

namespace kv {

template <typename Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;

  Owned() noexcept = default;
  explicit Owned(Handle h) noexcept : h_(h) {}
  ~Owned() { reset(); }

  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : h_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return !(h_ == Traits::empty()); }

  // Gives the handle up without releasing it.
  Handle release() noexcept { return std::exchange(h_, Traits::empty()); }

  // Releases the current handle (unless it is the one given) and takes h.
  void reset(Handle h = Traits::empty()) noexcept {
    const Handle old = std::exchange(h_, h);
    if (!(old == Traits::empty()) && !(old == h)) Traits::close(old);
  }

 private:
  Handle h_ = Traits::empty();
};

}  // namespace kv
