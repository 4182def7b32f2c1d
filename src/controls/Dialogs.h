// The platform's colour dialog, opened through the modal seam.
#pragma once

#include "base/Colour.h"

class QWidget;

namespace lumora::Dialogs {

// The chosen colour (0x00BBGGRR), or -1 when the user cancels. With suppressOwner the dialog is
// shown without an owner window.
Colour ChooseColor(QWidget* owner, bool suppressOwner);

}  // namespace lumora::Dialogs
