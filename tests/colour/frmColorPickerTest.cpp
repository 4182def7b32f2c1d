// The colour picker driven as a user drives it: boxes clicked, buttons pressed, the custom colour
// dialog answered through the scripted modal seam; and the system colours following the palette
// they are refreshed from at start.
#include "colour/frmColorPicker.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <optional>

#include "ScriptedModal.h"
#include "colour/ColourNames.h"
#include "colour/SystemColourRefresh.h"
#include "controls/QtColour.h"

namespace lumora {
namespace {

void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

TEST(frmColorPicker, ResultIsTheSwatchOnOkAndMinusOneOnCancelEscapeOrTheCloseBox) {
  const struct {
    const char* name;
    std::function<void(frmColorPicker&)> act;
    Colour result;
    const char* hex;                    // shown before the window closes
    std::optional<Colour> custom = {};  // the custom colour dialog's answer
  } cases[] = {
      {"ok at once", [](frmColorPicker& p) { click(p.okButton()); }, 0x000000, "#000000"},
      {"box", [](frmColorPicker& p) { click(p.box(77)), click(p.okButton()); }, 0xFF0066, "#6600FF"},
      {"last box", [](frmColorPicker& p) { click(p.box(215)), click(p.okButton()); }, 0xFFFFFF, "#FFFFFF"},
      {"box clicked twice", [](frmColorPicker& p) { click(p.box(36)), click(p.box(36)), click(p.okButton()); },
       0x000033, "#330000"},
      {"custom colour", [](frmColorPicker& p) { click(p.box(36)), click(p.customButton()), click(p.okButton()); },
       0x123456, "#330000", 0x123456},  // the hex text stays the box's
      {"custom cancelled", [](frmColorPicker& p) { click(p.box(5)), click(p.customButton()), click(p.okButton()); },
       0xFF0000, "#0000FF"},
      {"cancel", [](frmColorPicker& p) { click(p.box(100)), click(p.cancelButton()); }, -1, "#66CCCC"},
      {"close box", [](frmColorPicker& p) { click(p.box(100)), p.close(); }, -1, "#66CCCC"},
      {"escape", [](frmColorPicker& p) { QTest::keyClick(&p, Qt::Key_Escape); }, -1, "#000000"},
  };
  for (const auto& c : cases) {
    test::ScriptedModal modal;
    if (c.custom) modal.answerColour(*c.custom);
    frmColorPicker picker;
    picker.ResultColor = 0x55AA55;  // as a previous use left it
    QString hex;
    modal.onNextWindow([&](QDialog&) { c.act(picker), hex = picker.hexText(); });
    Modal().exec(picker);
    EXPECT_EQ(picker.ResultColor, c.result) << c.name;
    EXPECT_EQ(hex, c.hex) << c.name;
  }
}

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

// Colour texts read as the platform reads numbers: hexadecimal and octal that fit 16 bits are signed.
TEST(ReadNumber, DecimalHexadecimalAndOctal) {
  const std::pair<const char*, int32_t> cases[] = {
      {"&HFFFF", -1}, {"&H8000", -32768}, {"&H7FFF", 32767}, {"&H10000", 65536}, {"&O177777", -1},
      {" 1 2\t3x", 123}, {"2.5", 2}, {"3.5", 4}, {"", 0}, {"&HFF0000", 0xFF0000}, {"99999999999", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ColourNames::ReadNumber(text), value) << text;
}

}  // namespace
}  // namespace lumora
