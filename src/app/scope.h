// Two helpers for a handler's scope: a flag that says "running" until the scope is left, however
// it is left, and a step whose failure is contained.
#pragma once

#include <exception>

namespace velkaro {

class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;
  ~ScopedFlag() { flag_ = false; }

 private:
  bool& flag_;
};

// Runs a step. A failure it throws ends the step there and goes no further: the window stays,
// what the step wrote stays, and the rest keeps its state.
template <typename Step>
void Contained(const Step& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace velkaro
