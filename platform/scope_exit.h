// Undoes a temporary change when a scope ends, whether normally or by an error: the one shape
// for "switch on, do, switch off again".
#pragma once
#include <utility>

namespace kv {

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() { f_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F f_;
};

}  // namespace kv
