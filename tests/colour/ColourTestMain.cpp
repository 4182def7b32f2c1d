#include "WidgetTestMain.h"
