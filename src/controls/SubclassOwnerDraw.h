// The owner-draw switch: an application-wide event filter that, as each combo box is polished,
// makes the drop-down list of those inside a frame captioned "Deluxe_ComboBoxParent" owner-drawn.
// Their lists then ask the combo box, through a DrawItemEvent, to draw each visible item, and
// send it a command event when the selection moves or the list opens.
#pragma once

class QComboBox;

namespace lumora::AppSubClass {

inline constexpr const char* kMarkCaption = "Deluxe_ComboBoxParent";
// A combo box property: the height its owner-drawn rows need, when the list font's own would not do.
inline constexpr const char* kItemHeightProperty = "lumoraItemHeight";

void Start();
void Stop();
bool Started();

bool IsOwnerDrawn(const QComboBox& combo);

}  // namespace lumora::AppSubClass
