// For the platform's tests: the runtime error number that an operation
// raises, 0 when it raises none; the message of the std::runtime_error that
// it throws, empty when it throws none.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

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

inline std::string messageOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

}  // namespace zepo
