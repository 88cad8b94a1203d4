// For the platform's tests: the runtime error number that an operation
// raises, 0 when it raises none.
#pragma once

#include <functional>

#include "platform/errors.h"

namespace zepo {

inline int errorOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace zepo
