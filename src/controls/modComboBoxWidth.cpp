#include "controls/modComboBoxWidth.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace lumora::modComboBoxWidth {

void SetDropDownWidth(QComboBox& combo, int widthPixels) { combo.view()->setMinimumWidth(widthPixels); }

int DropDownWidth(const QComboBox& combo) { return combo.view()->minimumWidth(); }

}  // namespace lumora::modComboBoxWidth
