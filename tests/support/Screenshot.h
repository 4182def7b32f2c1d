// What a window shows on the screen (under Xvfb the real screen is grabbed), for comparing with
// what it meant to draw.
#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace lumora::test {

// What the window shows, frame excluded.
QImage GrabWindow(QWidget& window);

}  // namespace lumora::test
