#include "controls/ErrorGuard.h"

#include <QApplication>
#include <QDebug>

namespace lumora {
namespace {

ErrorReporter& reporter() {
  static ErrorReporter current;
  return current;
}

}  // namespace

void SetErrorReporter(ErrorReporter r) { reporter() = std::move(r); }

void ReportError(const LumoraError& error) {
  if (reporter()) {
    reporter()(error);
    return;
  }
  QApplication::beep();
  qWarning("Error %d: %s", error.number(), error.description().c_str());
}

LumoraError CurrentErrorAsLumoraError(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const LumoraError& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return {ErrorNumber::kOutOfMemory, "Out of memory"};
  } catch (const std::exception& e) {
    return {ErrorNumber::kInternal, e.what()};
  } catch (...) {
    return {ErrorNumber::kInternal, "Internal error"};
  }
}

}  // namespace lumora
