// What a call raises: the error's number and description, number 0 when it raises nothing.
#pragma once

#include <functional>
#include <string>

#include "base/LumoraError.h"

namespace lumora::test {

struct Raised {
  int number = 0;
  std::string description;
};

inline Raised RaisedBy(const std::function<void()>& call) {
  try {
    call();
  } catch (const LumoraError& e) {
    return {e.number(), e.description()};
  }
  return {};
}

}  // namespace lumora::test
