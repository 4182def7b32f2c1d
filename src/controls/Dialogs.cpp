#include "controls/Dialogs.h"

#include "controls/ModalSeam.h"

namespace lumora::Dialogs {

Colour ChooseColor(QWidget* owner, bool suppressOwner) {
  return Modal().colorDialog(suppressOwner ? nullptr : owner, kNoColour, true);
}

}  // namespace lumora::Dialogs
