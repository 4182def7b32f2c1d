// The width of a combo box's drop-down list, independent of the box's own width.
#pragma once

class QComboBox;

namespace lumora::modComboBoxWidth {

void SetDropDownWidth(QComboBox& combo, int widthPixels);
int DropDownWidth(const QComboBox& combo);

}  // namespace lumora::modComboBoxWidth
