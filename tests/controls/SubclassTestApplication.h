// Events need an application object: these tests make one when the test program has none yet.
#pragma once

#include <QApplication>

namespace lumora::test {

inline void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "controls_tests";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
}

}  // namespace lumora::test
