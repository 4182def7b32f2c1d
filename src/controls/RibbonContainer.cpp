#include "controls/RibbonContainer.h"

namespace lumora {

RibbonContainer::RibbonContainer(QWidget* parent) : RibbonBand(RibbonArt::Container(), parent) {
  resize(320, 240);  // 4800 x 3600 twips as designed
}

}  // namespace lumora
