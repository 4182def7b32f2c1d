// The system colours follow the palette they are refreshed from, role by role.
#include <gtest/gtest.h>

#include <QPalette>

#include "base/SystemColors.h"
#include "colour/ColourNames.h"
#include "colour/SystemColourRefresh.h"

namespace lumora {
namespace {

TEST(SystemColourRefresh, PaletteRolesBecomeTheirSystemColours) {
  QPalette palette;
  palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
  palette.setColor(QPalette::Active, QPalette::HighlightedText, QColor(4, 5, 6));
  palette.setColor(QPalette::Active, QPalette::Base, QColor(7, 8, 9));
  palette.setColor(QPalette::Active, QPalette::Text, QColor(10, 11, 12));
  palette.setColor(QPalette::Active, QPalette::Button, QColor(13, 14, 15));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(16, 17, 18));
  RefreshSystemColours(palette);
  EXPECT_EQ(ColourNames::TranslateColour(ColourNames::ColourFromName("vbhighlight")), RGBColour(1, 2, 3));
  EXPECT_EQ(ColourNames::TranslateColour(ColourNames::ColourFromName("vbhighlighttext")), RGBColour(4, 5, 6));
  EXPECT_EQ(ColourNames::TranslateColour(ColourNames::ColourFromName("vbwindowbackground")), RGBColour(7, 8, 9));
  EXPECT_EQ(ColourNames::TranslateColour(ColourNames::ColourFromName("vbwindowtext")), RGBColour(10, 11, 12));
  EXPECT_EQ(ColourNames::TranslateColour(ColourNames::ColourFromName("vb3dface")), RGBColour(13, 14, 15));
  EXPECT_EQ(ColourNames::TranslateColour(ColourNames::ColourFromName("vbgraytext")), RGBColour(16, 17, 18));
  // Colours without a palette role keep their classic values.
  const uint32_t desktop = SystemColors::Get(SystemColors::kDesktop);
  SystemColors::ResetToDefaults();
  EXPECT_EQ(SystemColors::Get(SystemColors::kDesktop), desktop);
}

}  // namespace
}  // namespace lumora
