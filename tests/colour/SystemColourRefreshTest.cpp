// The system colours the controls draw with follow the palette they are refreshed from.
#include "colour/SystemColourRefresh.h"

#include <gtest/gtest.h>

#include <QPalette>

#include "controls/QtColour.h"

namespace lumora {
namespace {

TEST(SystemColourRefresh, PaletteRolesBecomeTheirSystemColours) {
  QPalette palette;
  palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
  palette.setColor(QPalette::Active, QPalette::Base, QColor(7, 8, 9));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(16, 17, 18));
  const uint32_t desktop = SystemColors::Get(SystemColors::kDesktop);
  RefreshSystemColours(palette);
  const auto system = [](int index) { return ToQColor(static_cast<Colour>(0x80000000u + index)); };
  EXPECT_EQ(system(SystemColors::kHighlight), QColor(1, 2, 3));
  EXPECT_EQ(system(SystemColors::kWindow), QColor(7, 8, 9));
  EXPECT_EQ(system(SystemColors::kGrayText), QColor(16, 17, 18));
  EXPECT_EQ(SystemColors::Get(SystemColors::kDesktop), desktop);  // no palette role: kept
  SystemColors::ResetToDefaults();
}

}  // namespace
}  // namespace lumora
