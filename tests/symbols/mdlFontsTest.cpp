// The symbol-font rule and the list filling, with test fonts registered under two of the names.
#include "symbols/mdlFonts.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontDatabase>

#include "RenamedTestFont.h"

namespace lumora {
namespace {

TEST(mdlFonts, OnlyTheFourNamesInAnyCaseAreSymbolFonts) {
  for (const char* name : {"Webdings", "webdings", "WINGDINGS", "Wingdings 2", "wingdings 3"})
    EXPECT_TRUE(mdlFonts::IsSymbolFont(QString::fromUtf8(name))) << name;
  for (const char* name : {"Wingdings ", " Wingdings", "Wingdings 4", "Wingdings2", "Symbol", "Webding", ""})
    EXPECT_FALSE(mdlFonts::IsSymbolFont(QString::fromUtf8(name))) << name;
}

TEST(mdlFonts, LoadSymbolFontsListsThemInTheDatabasesOrderAndSelectsTheFirstOnce) {
  QComboBox list;
  const auto load = [&] {
    list.clear();
    list.addItem(QStringLiteral("left over"));
    int selections = 0;
    const auto counter = QObject::connect(&list, &QComboBox::currentIndexChanged, [&](int index) { selections += index == 0; });
    mdlFonts::LoadSymbolFonts(list);
    QObject::disconnect(counter);
    QStringList items;
    for (int i = 0; i < list.count(); ++i) items << list.itemText(i);
    return std::pair(items, selections);
  };
  if (mdlFonts::InstalledSymbolFonts().isEmpty()) {
    EXPECT_EQ(load(), std::pair(QStringList(), 0));
    EXPECT_EQ(list.currentIndex(), -1);
  }
  test::RenamedTestFont wingdings(QStringLiteral("Wingdings")), webdings(QStringLiteral("Webdings"));
  ASSERT_TRUE(wingdings.ok() && webdings.ok());
  QStringList expected;
  for (const QString& family : QFontDatabase::families())
    if (mdlFonts::IsSymbolFont(family)) expected << family;
  EXPECT_TRUE(expected.contains("Wingdings") && expected.contains("Webdings"));
  EXPECT_EQ(load(), std::pair(expected, 1));
  EXPECT_EQ(list.currentIndex(), 0);
}

}  // namespace
}  // namespace lumora
