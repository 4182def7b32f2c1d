// Saves what a window shows as <LUMORA_SCREENSHOT_DIR>/<name>.png when that variable is set, so a
// person can look at the windows the tests drive (under Xvfb the real screen is grabbed).
#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace lumora::test {

// What the window shows, frame excluded.
QImage GrabWindow(QWidget& window);
void SaveScreenshot(QWidget& window, const QString& name);

}  // namespace lumora::test
