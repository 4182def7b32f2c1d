// Every command and event handler runs inside Guarded(): an exception never crosses the Qt event
// loop; it goes to ReportError, which the editor connects to its error report window.
#pragma once

#include <exception>
#include <functional>
#include <new>

#include "base/LumoraError.h"

namespace lumora {

using ErrorReporter = std::function<void(const LumoraError&)>;

// The editor installs its reporter at start-up; without one, errors are beeped and logged.
void SetErrorReporter(ErrorReporter reporter);
void ReportError(const LumoraError& error);

// Turns whatever was thrown into the system's error form.
LumoraError CurrentErrorAsLumoraError(std::exception_ptr error);

template <typename Handler>
void Guarded(Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
    try {
      ReportError(CurrentErrorAsLumoraError(std::current_exception()));
    } catch (...) {
      // The reporter itself failed; nothing sensible is left to do but go on.
    }
  }
}

// Runs a handler whose errors are suppressed: the step is skipped and the caller goes on.
template <typename Handler>
bool Suppressed(Handler&& handler) noexcept {
  try {
    handler();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace lumora
