// The main of the widget test programs (include it in one file of each): a QApplication,
// offscreen unless a run asks for the X server and has one, and user data and settings of its own.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || (platform == "xcb" && qEnvironmentVariableIsEmpty("DISPLAY")))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  const QTemporaryDir userData;
  qputenv("XDG_DATA_HOME", userData.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", userData.path().toUtf8());
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
