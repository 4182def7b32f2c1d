#include "colour/SystemColourRefresh.h"

#include <QPalette>

#include "base/SystemColors.h"

namespace lumora {

void RefreshSystemColours(const QPalette& palette) {
  namespace S = SystemColors;
  struct Link {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
  };
  static constexpr Link kLinks[] = {
      {S::kWindow, QPalette::Active, QPalette::Base},
      {S::kWindowText, QPalette::Active, QPalette::Text},
      {S::kMenu, QPalette::Active, QPalette::Window},
      {S::kMenuText, QPalette::Active, QPalette::WindowText},
      {S::kHighlight, QPalette::Active, QPalette::Highlight},
      {S::kHighlightText, QPalette::Active, QPalette::HighlightedText},
      {S::kButtonFace, QPalette::Active, QPalette::Button},
      {S::kButtonText, QPalette::Active, QPalette::ButtonText},
      {S::kButtonShadow, QPalette::Active, QPalette::Mid},
      {S::kButtonHighlight, QPalette::Active, QPalette::Light},
      {S::k3DLight, QPalette::Active, QPalette::Midlight},
      {S::k3DDkShadow, QPalette::Active, QPalette::Shadow},
      {S::kGrayText, QPalette::Disabled, QPalette::Text},
      {S::kInfoText, QPalette::Active, QPalette::ToolTipText},
      {S::kInfoBackground, QPalette::Active, QPalette::ToolTipBase},
  };
  for (const Link& link : kLinks) {
    const QColor c = palette.color(link.group, link.role);
    S::Set(link.index, static_cast<uint32_t>(c.red() | (c.green() << 8) | (c.blue() << 16)));
  }
}

}  // namespace lumora
