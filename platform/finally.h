#pragma once
// Runs an action when a scope is left, by return or by exception: what must happen however a
// run ends (a source's controls enabled again, a temporary item removed) is written once, where
// the thing it undoes is done. An exception from the action while another one is leaving the
// scope is swallowed, so the caller sees the first error.
#include <exception>
#include <utility>

namespace platform {

template <typename F>
class Finally {
 public:
  explicit Finally(F action) : action_(std::move(action)) {}
  Finally(const Finally&) = delete;
  Finally& operator=(const Finally&) = delete;
  ~Finally() noexcept(false) {
    if (std::uncaught_exceptions() > exceptions_) {
      try {
        action_();
      } catch (...) {  // the first error is the one the caller sees
      }
    } else {
      action_();
    }
  }

 private:
  F action_;
  int exceptions_ = std::uncaught_exceptions();
};

}  // namespace platform
