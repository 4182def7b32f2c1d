// Every icon the buttons ask for is drawn, and its disabled form is grey.
#include "controls/LumoraIcons.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(LumoraIcons, EveryButtonIconDrawsSomethingAndFadesToGrey) {
  for (const char* name : {"new", "open", "save", "saveas", "saveimage", "exit", "website", "about", "inserttext",
                           "symbol", "bringtofront", "sendtoback", "delete", "bold", "italic", "underline",
                           "strikeout", "alignleft", "aligncenter", "alignright", "fontcolor", "shadow", "shadowcolor",
                           "grow", "shrink", "error", "AAA", "DOC"}) {
    const QImage image = LumoraIcons::Pixmap(QString::fromUtf8(name), 20).toImage();
    const QImage grey = LumoraIcons::DisabledPixmap(QString::fromUtf8(name), 20).toImage();
    ASSERT_EQ(image.size(), QSize(20, 20)) << name;
    int opaque = 0, coloured = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        opaque += qAlpha(image.pixel(x, y)) > 128;
        const QRgb p = grey.pixel(x, y);
        coloured += qAlpha(p) > 0 && !(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
      }
    EXPECT_GT(opaque, 15) << name;
    EXPECT_EQ(coloured, 0) << name;
  }
  EXPECT_TRUE(LumoraIcons::Pixmap(QStringLiteral("no-such-icon")).isNull());
}

}  // namespace
}  // namespace lumora
