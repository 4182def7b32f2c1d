// The document model: item indices and their reuse, stacking order, the changed flag, bounds,
// and the geometry that needs a measurer.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "FixedWidthMeasurer.h"
#include "base/AppInfo.h"
#include "document/Document.h"

namespace lumora {
namespace {

std::vector<int> Indices(const Document& doc) {
  std::vector<int> out;
  for (const TextItem& t : doc.TextItems()) out.push_back(t.Index);
  return out;
}

Document WithItems(int count, std::initializer_list<int> deleted = {}) {
  Document doc;
  for (int i = 0; i < count; ++i) doc.CreateItem();
  for (int index : deleted) doc.Select(index), doc.DeleteCurrentTextItem();
  doc.SetChanged(false);
  return doc;
}

// New items copy the hidden template item, take the lowest free index, go on top and are
// selected, up to the largest 16-bit index; restacking an item already in place is no change.
TEST(Document, IndicesAndStacking) {
  Document doc = WithItems(6, {5, 2, 4});
  doc.EditItem(0, [](TextItem& t) { t.FontName = "Tahoma"; });
  EXPECT_FALSE(doc.Changed()) << "the template item is not part of the document";
  for (int expected : {2, 4, 5, 7}) {
    EXPECT_EQ(doc.CreateItem(), expected);
    EXPECT_EQ(doc.CurrentIndex(), expected);
  }
  EXPECT_EQ(Indices(doc), (std::vector<int>{1, 3, 6, 2, 4, 5, 7}));
  EXPECT_EQ(doc.CurrentItem()->FontName, "Tahoma");
  EXPECT_FALSE(doc.FindItem(doc.CreateItem(false))->Visible);
  Document full = WithItems(Document::kMaxItems), before = full;
  EXPECT_EQ(full.CreateItem(), 0);
  EXPECT_EQ(full, before);
  full.Select(77), full.DeleteCurrentTextItem();
  EXPECT_EQ(full.CreateItem(), 77);

  Document stack = WithItems(4);
  stack.BringToFront(2);
  stack.SendToBack(4);
  EXPECT_EQ(Indices(stack), (std::vector<int>{4, 1, 3, 2}));
  EXPECT_TRUE(stack.Changed());
  stack.SetChanged(false), stack.ClearSelection();
  before = stack;
  stack.BringToFront(2), stack.BringToFront(99), stack.SendToBack(4), stack.SendToBack(0), stack.DeleteCurrentTextItem();
  stack.Select(5);
  EXPECT_EQ(stack, before) << "an unknown index selects nothing";
  EXPECT_FALSE(stack.Changed());
}

// Every real change of an item marks the document; writing back what is there does not; every
// edit is kept within bounds.
TEST(Document, ChangesAndBounds) {
  const std::vector<void (*)(TextItem&)> edits = {
      [](TextItem& t) { t.Caption = "x"; }, [](TextItem& t) { t.Left = 5; }, [](TextItem& t) { t.Top = 5; },
      [](TextItem& t) { t.Alignment = TextAlignment::Centre; }, [](TextItem& t) { t.FontName = "Verdana"; },
      [](TextItem& t) { t.FontSize = 13; }, [](TextItem& t) { t.FontBold = true; }, [](TextItem& t) { t.FontItalic = true; },
      [](TextItem& t) { t.FontUnderline = true; }, [](TextItem& t) { t.FontStrikethru = true; },
      [](TextItem& t) { t.ForeColor = 255; }, [](TextItem& t) { t.Shadow = true; }, [](TextItem& t) { t.ShadowColor = 1; }};
  for (size_t i = 0; i < edits.size(); ++i) {
    Document doc = WithItems(1);
    ASSERT_TRUE(doc.EditItem(1, edits[i]));
    EXPECT_TRUE(doc.Changed()) << "edit " << i;
  }
  Document doc = WithItems(1);
  EXPECT_TRUE(doc.SetCaption(1, doc.FindItem(1)->Caption));
  EXPECT_TRUE(doc.EditItem(1, [](TextItem& t) { t.Index = 9; }));
  EXPECT_FALSE(doc.EditItem(9, [](TextItem& t) { t.Caption = "x"; }));
  EXPECT_FALSE(doc.Changed());
  EXPECT_EQ(Indices(doc), std::vector<int>{1}) << "edits cannot change an index";
  doc.EditItem(1, [](TextItem& t) {
    t.FontSize = 5000, t.Left = std::numeric_limits<float>::quiet_NaN(), t.Top = -std::numeric_limits<float>::infinity();
    t.Alignment = static_cast<TextAlignment>(9);
  });
  const TextItem& t = *doc.FindItem(1);
  EXPECT_EQ(std::make_tuple(t.FontSize, t.Left, t.Top, t.Alignment), std::make_tuple(TextItem::kMaxFontSize, 0.0f, 0.0f, TextAlignment::Left));
  EXPECT_TRUE(doc.MoveItem(1, 1e12, -1e12));
  EXPECT_EQ(std::make_pair(doc.FindItem(1)->Left, doc.FindItem(1)->Top), std::make_pair(TextItem::kMaxPosition, -TextItem::kMaxPosition));
  doc.EditItem(0, [](TextItem& t) { t.FontSize = 0; });
  EXPECT_EQ(doc.TemplateItem().FontSize, TextItem::kMinFontSize);
}

TEST(Document, CentreAndPullBackOntoASmallerPicture) {
  const test::FixedWidthMeasurer measurer;  // 100 twips a character, 200 a line
  Document doc = WithItems(1);
  doc.SetCaption(1, "enter your text");
  ASSERT_TRUE(doc.CentreItem(1, measurer, 6015, 4500));
  EXPECT_EQ(std::make_pair(doc.FindItem(1)->Left, doc.FindItem(1)->Top), std::make_pair(2257.5f, 2150.0f)) << "halves are kept";
  const auto add = [&](const std::string& caption, float left, float top) {
    const int index = doc.CreateItem();
    doc.EditItem(index, [&](TextItem& t) { t.Caption = caption, t.Left = left, t.Top = top; });
    return index;
  };
  const int right = add("abcd", 9600, 100), bottom = add("ab", 10, 7000), wide = add(std::string(80, 'w'), 0, 0),
            outside = add("ab", -500, -500);
  doc.EditItem(0, [](TextItem& t) { t.Left = 9000; });
  doc.RepositionText(measurer, 6000, 4500);
  const auto at = [&](int index) { return std::make_pair(doc.FindItem(index)->Left, doc.FindItem(index)->Top); };
  EXPECT_EQ(at(right), std::make_pair(5600.0f, 100.0f));
  EXPECT_EQ(at(bottom), std::make_pair(10.0f, 4300.0f));
  EXPECT_EQ(at(wide), std::make_pair(-2000.0f, 0.0f)) << "right edge on the picture's edge, left edge off it";
  EXPECT_EQ(at(outside), std::make_pair(-500.0f, -500.0f));
  EXPECT_EQ(doc.TemplateItem().Left, 6000 - 500) << "the template item is pulled in too";
}

}  // namespace
// The shadow's offset steps up at 17, 38 and 49 points; an item's own offset overrides the step.
TEST(TextItem, ShadowOffsetSteps) {
  for (auto [size, pixels] : {std::pair{16.9f, 1}, {17.0f, 2}, {37.9f, 2}, {38.0f, 3}, {48.9f, 3}, {49.0f, 4}})
    EXPECT_EQ(ShadowOffsetPixels(size), pixels) << size;
  TextItem item;
  item.Left = 100, item.FontSize = 40, item.ShadowOffset = 7;
  EXPECT_FLOAT_EQ(item.ShadowLeft(), 100 + 7 * kTwipsPerPixel);
}

}  // namespace lumora
