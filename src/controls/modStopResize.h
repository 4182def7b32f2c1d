// Size limits for the main window: never smaller than its designed size, never larger than the
// screen. Start applies the stored limits to a window, Stop lifts them again.
#pragma once

#include <QSize>

class QWidget;

namespace lumora::modStopResize {

// Sizes of the whole window, frame included, in pixels.
void SetLimits(QSize minimum, QSize maximum);
QSize MinimumTrackSize();
QSize MaximumTrackSize();

void Start(QWidget& window);
void Stop(QWidget& window);
bool Started();

}  // namespace lumora::modStopResize
