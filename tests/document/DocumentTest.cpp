#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "app/document/Document.h"
#include "FixedWidthMeasurer.h"

namespace lumora {
namespace {

std::vector<int> indices(const Document& doc) {
  std::vector<int> out;
  for (const TextItem& t : doc.TextItems()) out.push_back(t.Index);
  return out;
}

Document withItems(int count) {
  Document doc;
  for (int i = 0; i < count; ++i) doc.CreateItem();
  doc.SetChanged(false);
  return doc;
}

TEST(Document, StartsEmptyWithTheHiddenTemplateItem) {
  const Document doc;
  EXPECT_TRUE(doc.TextItems().empty());
  EXPECT_EQ(doc.CurrentIndex(), 0);
  EXPECT_EQ(doc.CurrentItem(), nullptr);
  EXPECT_FALSE(doc.DocumentOpen());
  EXPECT_FALSE(doc.Changed());
  const TextItem& t = doc.TemplateItem();
  EXPECT_EQ(t.Index, 0);
  EXPECT_EQ(t.Caption, "text1");
  EXPECT_EQ(t.FontName, "Arial");
  EXPECT_EQ(t.FontSize, 12);
  EXPECT_FALSE(t.FontBold || t.FontItalic || t.FontUnderline || t.FontStrikethru || t.Shadow || t.Visible);
  EXPECT_EQ(static_cast<uint32_t>(t.ForeColor), 0x80000008u);
  EXPECT_EQ(t.ShadowColor, 0x808080);
  EXPECT_EQ(doc.FindItem(0), &doc.TemplateItem());
}

TEST(Document, NewItemsCopyTheTemplateTakeTheNextIndexAndBecomeSelected) {
  Document doc;
  doc.EditItem(0, [](TextItem& t) { t.FontName = "Tahoma"; t.FontSize = 9; });
  EXPECT_FALSE(doc.Changed()) << "the template item is not part of the document";
  EXPECT_EQ(doc.CreateItem(), 1);
  EXPECT_EQ(doc.CreateItem(), 2);
  EXPECT_EQ(doc.CreateItem(), 3);
  EXPECT_EQ(indices(doc), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(doc.CurrentIndex(), 3);
  EXPECT_EQ(doc.CurrentItem()->FontName, "Tahoma");
  EXPECT_EQ(doc.CurrentItem()->FontSize, 9);
  EXPECT_EQ(doc.CurrentItem()->Caption, "text1");
  EXPECT_TRUE(doc.Changed());
}

TEST(Document, NewItemsAreShownUnlessAskedToStayHidden) {
  Document doc;
  EXPECT_TRUE(doc.FindItem(doc.CreateItem())->Visible);
  EXPECT_FALSE(doc.FindItem(doc.CreateItem(false))->Visible);
  EXPECT_FALSE(doc.TemplateItem().Visible);
}

TEST(Document, NextLabelReusesTheLowestFreeIndexAndTheNewItemGoesOnTop) {
  Document doc = withItems(3);
  doc.Select(2);
  doc.DeleteCurrentTextItem();
  EXPECT_EQ(indices(doc), (std::vector<int>{1, 3}));
  EXPECT_EQ(doc.NextLabel(), 2);
  EXPECT_EQ(doc.CreateItem(), 2);
  EXPECT_EQ(indices(doc), (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(doc.PositionOf(2), 3);
  EXPECT_EQ(doc.NextLabel(), 4);
}

TEST(Document, NextLabelFindsTheFirstOfSeveralGaps) {
  Document doc = withItems(6);
  for (int index : {5, 2, 4}) {
    doc.Select(index);
    doc.DeleteCurrentTextItem();
  }
  EXPECT_EQ(doc.CreateItem(), 2);
  EXPECT_EQ(doc.CreateItem(), 4);
  EXPECT_EQ(doc.CreateItem(), 5);
  EXPECT_EQ(doc.CreateItem(), 7);
}

TEST(Document, StopsAtTheLargestSixteenBitIndex) {
  Document doc = withItems(Document::kMaxItems);
  EXPECT_EQ(doc.TextItems().back().Index, Document::kMaxItems);
  EXPECT_EQ(doc.NextLabel(), 0);
  const Document before = doc;
  EXPECT_EQ(doc.CreateItem(), 0);
  EXPECT_EQ(doc, before);
  doc.Select(77);
  doc.DeleteCurrentTextItem();
  EXPECT_EQ(doc.CreateItem(), 77);
}

TEST(Document, BringToFrontMovesTheItemToTheEndOfTheList) {
  Document doc = withItems(4);
  doc.BringToFront(2);
  EXPECT_EQ(indices(doc), (std::vector<int>{1, 3, 4, 2}));
  EXPECT_TRUE(doc.Changed());
}

TEST(Document, SendToBackMovesTheItemToTheStartOfTheList) {
  Document doc = withItems(4);
  doc.SendToBack(3);
  EXPECT_EQ(indices(doc), (std::vector<int>{3, 1, 2, 4}));
  EXPECT_TRUE(doc.Changed());
}

TEST(Document, RestackingAnItemAlreadyInPlaceChangesNothing) {
  Document doc = withItems(3);
  const Document before = doc;
  doc.BringToFront(3);
  doc.SendToBack(1);
  doc.BringToFront(99);
  doc.SendToBack(0);
  EXPECT_EQ(doc, before);
  EXPECT_FALSE(doc.Changed());
}

TEST(Document, DeleteWithNothingSelectedDoesNothing) {
  Document doc = withItems(2);
  doc.ClearSelection();
  const Document before = doc;
  doc.DeleteCurrentTextItem();
  EXPECT_EQ(doc, before);
}

TEST(Document, DeleteRemovesTheSelectedItemClearsTheSelectionAndMarksChanged) {
  Document doc = withItems(3);
  doc.Select(1);
  doc.DeleteCurrentTextItem();
  EXPECT_EQ(indices(doc), (std::vector<int>{2, 3}));
  EXPECT_EQ(doc.CurrentIndex(), 0);
  EXPECT_EQ(doc.FindItem(1), nullptr);
  EXPECT_TRUE(doc.Changed());
}

TEST(Document, SelectingAnUnknownIndexClearsTheSelection) {
  Document doc = withItems(2);
  doc.Select(1);
  EXPECT_EQ(doc.CurrentItem()->Index, 1);
  doc.Select(5);
  EXPECT_EQ(doc.CurrentIndex(), 0);
  doc.Select(0);
  EXPECT_EQ(doc.CurrentItem(), nullptr);
  EXPECT_FALSE(doc.Changed()) << "selection is not a change";
}

TEST(Document, UnloadAllTextLabelsEmptiesTheListAndStartsIndicesAgain) {
  Document doc = withItems(3);
  doc.UnloadAllTextLabels();
  EXPECT_TRUE(doc.TextItems().empty());
  EXPECT_EQ(doc.CurrentIndex(), 0);
  EXPECT_EQ(doc.NextLabel(), 1);
}

// Every real change marks the document changed; writing back what is there does not.
struct EditCase {
  const char* name;
  void (*edit)(TextItem&);
};

class ChangedFlag : public ::testing::TestWithParam<EditCase> {};

TEST_P(ChangedFlag, IsSetByEveryChangeOfAnItem) {
  Document doc = withItems(2);
  ASSERT_TRUE(doc.EditItem(1, GetParam().edit));
  EXPECT_TRUE(doc.Changed());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ChangedFlag,
    ::testing::Values(EditCase{"Caption", [](TextItem& t) { t.Caption = "x"; }},
                      EditCase{"Left", [](TextItem& t) { t.Left = 5; }},
                      EditCase{"Top", [](TextItem& t) { t.Top = 5; }},
                      EditCase{"Alignment", [](TextItem& t) { t.Alignment = TextAlignment::Centre; }},
                      EditCase{"FontName", [](TextItem& t) { t.FontName = "Verdana"; }},
                      EditCase{"FontSize", [](TextItem& t) { t.FontSize = 13; }},
                      EditCase{"Bold", [](TextItem& t) { t.FontBold = true; }},
                      EditCase{"Italic", [](TextItem& t) { t.FontItalic = true; }},
                      EditCase{"Underline", [](TextItem& t) { t.FontUnderline = true; }},
                      EditCase{"Strikethru", [](TextItem& t) { t.FontStrikethru = true; }},
                      EditCase{"ForeColor", [](TextItem& t) { t.ForeColor = 255; }},
                      EditCase{"Shadow", [](TextItem& t) { t.Shadow = true; }},
                      EditCase{"ShadowColor", [](TextItem& t) { t.ShadowColor = 1; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChangedFlag, RefillingAnItemWithItsOwnValuesIsNotAChange) {
  Document doc = withItems(1);
  const std::string caption = doc.FindItem(1)->Caption;
  EXPECT_TRUE(doc.SetCaption(1, caption));
  EXPECT_TRUE(doc.EditItem(1, [](TextItem& t) { t.FontBold = t.FontBold; }));
  EXPECT_FALSE(doc.Changed());
}

TEST(ChangedFlag, MovingAnItemIsAChange) {
  Document doc = withItems(1);
  EXPECT_TRUE(doc.MoveItem(1, 450, 300));
  EXPECT_TRUE(doc.Changed());
  EXPECT_EQ(doc.FindItem(1)->Left, 450);
  EXPECT_EQ(doc.FindItem(1)->Top, 300);
}

TEST(Document, EditsCannotChangeAnItemsIndex) {
  Document doc = withItems(2);
  doc.EditItem(2, [](TextItem& t) { t.Index = 1; });
  EXPECT_EQ(indices(doc), (std::vector<int>{1, 2}));
}

TEST(Document, EditingAMissingItemFails) {
  Document doc = withItems(1);
  EXPECT_FALSE(doc.EditItem(9, [](TextItem& t) { t.Caption = "x"; }));
  EXPECT_FALSE(doc.SetCaption(-1, "x"));
  EXPECT_FALSE(doc.Changed());
}

TEST(Document, MovesAreClampedSoNoFileOrDragCanGoBeyondBounds) {
  Document doc = withItems(1);
  doc.MoveItem(1, 1e12, -1e12);
  EXPECT_EQ(doc.FindItem(1)->Left, TextItem::kMaxPosition);
  EXPECT_EQ(doc.FindItem(1)->Top, -TextItem::kMaxPosition);
}

TEST(Document, EveryEditIsKeptWithinBounds) {
  Document doc = withItems(1);
  doc.EditItem(1, [](TextItem& t) {
    t.FontSize = 5000;
    t.Left = std::numeric_limits<float>::quiet_NaN();
    t.Top = -std::numeric_limits<float>::infinity();
    t.Alignment = static_cast<TextAlignment>(9);
  });
  const TextItem& t = *doc.FindItem(1);
  EXPECT_EQ(t.FontSize, TextItem::kMaxFontSize);
  EXPECT_EQ(t.Left, 0);
  EXPECT_EQ(t.Top, 0);
  EXPECT_EQ(t.Alignment, TextAlignment::Left);
  doc.EditItem(0, [](TextItem& t) { t.FontSize = 0; });
  EXPECT_EQ(doc.TemplateItem().FontSize, TextItem::kMinFontSize);
}

TEST(Document, CentreItemCentresTheMeasuredBoxOnThePicture) {
  Document doc = withItems(1);
  doc.SetCaption(1, "enter your text");  // 15 x 100 by 200 twips
  const test::FixedWidthMeasurer measurer;
  ASSERT_TRUE(doc.CentreItem(1, measurer, 6000, 4500));
  EXPECT_EQ(doc.FindItem(1)->Left, 2250);
  EXPECT_EQ(doc.FindItem(1)->Top, 2150);
  ASSERT_TRUE(doc.CentreItem(1, measurer, 6015, 4515));
  EXPECT_EQ(doc.FindItem(1)->Left, 2257.5f) << "halves of a twip are kept";
}

TEST(Document, RepositionTextPullsItemsBackOntoASmallerPicture) {
  const test::FixedWidthMeasurer measurer;
  Document doc;
  const int right = doc.CreateItem();   // ends exactly at the old right edge
  doc.EditItem(right, [](TextItem& t) { t.Caption = "abcd"; t.Left = 9600; t.Top = 100; });
  const int bottom = doc.CreateItem();  // sticks out at the bottom
  doc.EditItem(bottom, [](TextItem& t) { t.Caption = "ab"; t.Left = 10; t.Top = 7000; });
  const int wide = doc.CreateItem();    // wider than the new picture
  doc.EditItem(wide, [](TextItem& t) { t.Caption = std::string(80, 'w'); t.Left = 0; t.Top = 0; });
  const int outside = doc.CreateItem(); // left of and above the picture: stays
  doc.EditItem(outside, [](TextItem& t) { t.Caption = "ab"; t.Left = -500; t.Top = -500; t.FontSize = 40; });
  doc.EditItem(0, [](TextItem& t) { t.Left = 9000; });

  doc.RepositionText(measurer, 6000, 4500);
  EXPECT_EQ(doc.FindItem(right)->Left, 5600);
  EXPECT_EQ(doc.FindItem(right)->Top, 100);
  EXPECT_EQ(doc.FindItem(right)->ShadowLeft(), 5615) << "the shadow follows";
  EXPECT_EQ(doc.FindItem(bottom)->Left, 10);
  EXPECT_EQ(doc.FindItem(bottom)->Top, 4300);
  EXPECT_EQ(doc.FindItem(wide)->Left, -2000) << "right edge on the picture's edge, left edge off it";
  EXPECT_EQ(doc.FindItem(outside)->Left, -500);
  EXPECT_EQ(doc.FindItem(outside)->Top, -500);
  EXPECT_EQ(doc.TemplateItem().Left, 6000 - 500) << "the template item is pulled in too";
}

TEST(Document, StartNewDocumentLeavesAnUntitledChangedDocumentWithoutItems) {
  Document doc = withItems(3);
  doc.SetProjectPath("/tmp/old.lmp");
  doc.SetDocumentOpen();
  doc.StartNewDocument("Banners\\Summer\\sea.jpg");
  EXPECT_TRUE(doc.TextItems().empty());
  EXPECT_EQ(doc.CurrentIndex(), 0);
  EXPECT_EQ(doc.TemplateName(), "Banners\\Summer\\sea.jpg");
  EXPECT_TRUE(doc.ProjectPath().empty());
  EXPECT_TRUE(doc.DocumentOpen());
  EXPECT_TRUE(doc.Changed());
  EXPECT_EQ(doc.WindowCaption(), "ZEB Lumora - [untitled]");
}

TEST(Document, WindowCaptionFollowsTheDocumentsState) {
  Document doc;
  EXPECT_EQ(doc.WindowCaption(), "ZEB Lumora - [no file open]");
  doc.StartNewDocument("a.jpg");
  EXPECT_EQ(doc.WindowCaption(), "ZEB Lumora - [untitled]");
  doc.SetProjectPath("/home/u/cover.lmp");
  EXPECT_EQ(doc.WindowCaption(), "ZEB Lumora - [/home/u/cover.lmp]");
}

TEST(Document, IsAValueSoACopyIsAnUndoSnapshot) {
  Document doc = withItems(2);
  doc.SetCaption(1, "before");
  const Document snapshot = doc;
  doc.SetCaption(1, "after");
  doc.Select(2);
  doc.DeleteCurrentTextItem();
  EXPECT_NE(doc, snapshot);
  doc = snapshot;
  EXPECT_EQ(doc.FindItem(1)->Caption, "before");
  EXPECT_EQ(doc.NextLabel(), 3) << "the index bookkeeping comes back with the copy";
}

TEST(Document, LastFontFieldsAreNotDocumentChanges) {
  Document doc;
  doc.SetLastFontName("Verdana");
  doc.SetLastFontSize(9);
  EXPECT_EQ(doc.LastFontName(), "Verdana");
  EXPECT_EQ(doc.LastFontSize(), 9);
  EXPECT_FALSE(doc.Changed());
}

}  // namespace
}  // namespace lumora
