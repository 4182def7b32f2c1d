// The symbol-font rule and the list filling, with test fonts registered under the four names.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDatabase>

#include "RenamedTestFont.h"
#include "symbols/mdlFonts.h"

namespace lumora {
namespace {

struct NameCase {
  const char* name;
  bool symbol;
};

class IsSymbolFontCases : public ::testing::TestWithParam<NameCase> {};

TEST_P(IsSymbolFontCases, OnlyTheFourNamesInAnyCase) {
  EXPECT_EQ(mdlFonts::IsSymbolFont(QString::fromUtf8(GetParam().name)), GetParam().symbol) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, IsSymbolFontCases,
    ::testing::Values(NameCase{"Webdings", true}, NameCase{"webdings", true}, NameCase{"Wingdings", true},
                      NameCase{"WINGDINGS", true}, NameCase{"Wingdings 2", true}, NameCase{"wingdings 3", true},
                      NameCase{"Wingdings ", false}, NameCase{" Wingdings", false}, NameCase{"Wingdings 4", false},
                      NameCase{"Wingdings2", false}, NameCase{"Symbol", false}, NameCase{"Marlett", false},
                      NameCase{"Webding", false}, NameCase{"", false}, NameCase{"Zapf Dingbats", false}));

TEST(mdlFonts, TheRenamedTestFontIsRegisteredUnderTheSymbolName) {
  test::RenamedTestFont font;
  ASSERT_TRUE(font.ok()) << "no TrueType font to rename at " << test::SourceFontPath().toStdString();
  EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("Wingdings")));
}

TEST(mdlFonts, RenamingRejectsWhatIsNoTrueTypeFont) {
  EXPECT_TRUE(test::RenameTrueTypeFamily(QByteArray(), "Wingdings").isEmpty());
  EXPECT_TRUE(test::RenameTrueTypeFamily(QByteArray("OTTO\0\0\0\0\0\0\0\0", 12), "Wingdings").isEmpty());
  EXPECT_TRUE(test::RenameTrueTypeFamily(QByteArray("\0\1\0\0\0\x40\0\0\0\0\0\0", 12), "Wingdings").isEmpty());
}

TEST(mdlFonts, LoadSymbolFontsListsThemAndSelectsTheFirstOnce) {
  test::RenamedTestFont wingdings(QStringLiteral("Wingdings"));
  test::RenamedTestFont webdings(QStringLiteral("Webdings"));
  ASSERT_TRUE(wingdings.ok() && webdings.ok());
  QComboBox list;
  list.addItem(QStringLiteral("left over"));
  int selections = 0;
  QObject::connect(&list, &QComboBox::currentIndexChanged, [&](int index) {
    if (index == 0) ++selections;
  });
  mdlFonts::LoadSymbolFonts(list);
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.itemText(i);
  EXPECT_TRUE(items.contains("Wingdings"));
  EXPECT_TRUE(items.contains("Webdings"));
  EXPECT_FALSE(items.contains("left over"));
  for (const QString& item : items) EXPECT_TRUE(mdlFonts::IsSymbolFont(item)) << item.toStdString();
  // In the font database's order.
  QStringList expected;
  for (const QString& family : QFontDatabase::families())
    if (mdlFonts::IsSymbolFont(family)) expected << family;
  EXPECT_EQ(items, expected);
  EXPECT_EQ(list.currentIndex(), 0);
  EXPECT_EQ(selections, 1);
}

TEST(mdlFonts, WithoutSymbolFontsTheListStaysEmptyAndUnselected) {
  if (!mdlFonts::InstalledSymbolFonts().isEmpty()) GTEST_SKIP() << "this machine has symbol fonts";
  QComboBox list;
  list.addItem(QStringLiteral("left over"));
  mdlFonts::LoadSymbolFonts(list);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.currentIndex(), -1);
}

}  // namespace
}  // namespace lumora
