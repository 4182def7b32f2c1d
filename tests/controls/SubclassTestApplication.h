// Events need an application object: these tests make one when the test program has none yet.
#pragma once

#include <QApplication>
#include <memory>

namespace lumora::test {

inline void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "controls_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: a QApplication must not outlive main's end into static destruction.
  static QApplication* application = std::make_unique<QApplication>(argc, argv).release();
  Q_UNUSED(application)
}

}  // namespace lumora::test
