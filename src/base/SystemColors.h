// The system colours (0x80000000 + index): classic defaults, refreshed by the UI from its palette.
#pragma once

#include <cstdint>

#include "base/Colour.h"

namespace lumora::SystemColors {

inline constexpr int kCount = 31;  // indices 0..30

// Indices the system names.
inline constexpr int kScrollBar = 0, kDesktop = 1, kActiveCaption = 2, kInactiveCaption = 3, kMenu = 4,
                     kWindow = 5, kWindowFrame = 6, kMenuText = 7, kWindowText = 8, kCaptionText = 9,
                     kActiveBorder = 10, kInactiveBorder = 11, kAppWorkspace = 12, kHighlight = 13,
                     kHighlightText = 14, kButtonFace = 15, kButtonShadow = 16, kGrayText = 17,
                     kButtonText = 18, kInactiveCaptionText = 19, kButtonHighlight = 20, k3DDkShadow = 21,
                     k3DLight = 22, kInfoText = 23, kInfoBackground = 24;

// RGB (0x00BBGGRR) of a system colour index; an unknown index gives black.
uint32_t Get(int index);
void Set(int index, uint32_t rgb);
void ResetToDefaults();

// A colour that may name a system colour, as plain RGB (0x00BBGGRR).
uint32_t Translate(Colour colour);

}  // namespace lumora::SystemColors
