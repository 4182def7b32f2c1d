// RibbonContainer: the long band behind the whole command area of the main window.
#pragma once

#include "controls/RibbonBand.h"

namespace lumora {

class RibbonContainer : public RibbonBand {
  Q_OBJECT

 public:
  explicit RibbonContainer(QWidget* parent = nullptr);
};

}  // namespace lumora
