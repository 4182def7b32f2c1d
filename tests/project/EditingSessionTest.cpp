// A user's session on the model, end to end: New, Insert Text, format, drag, restack, Save,
// Open, undo by snapshot.
#include <gtest/gtest.h>

#include <filesystem>

#include "../document/FixedWidthMeasurer.h"
#include "app/document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"

namespace lumora {
namespace {

// The editor's Insert Text: centred while it still has the template item's font, then formatted.
int insertText(Document& doc, const ITextMeasurer& measurer, const char* font, float size) {
  const int index = doc.CreateItem();
  doc.SetCaption(index, "enter your text");
  doc.CentreItem(index, measurer, 6000, 4500);
  doc.EditItem(index, [&](TextItem& t) {
    t.FontName = font;
    t.FontSize = size;
  });
  return index;
}

TEST(EditingSession, WhatTheUserBuildsIsWhatTheFileGivesBack) {
  const test::FixedWidthMeasurer measurer;
  Document doc;
  doc.StartNewDocument("Banners\\Summer\\sea.jpg");
  const int title = insertText(doc, measurer, "DejaVu Sans", 36);
  EXPECT_EQ(doc.FindItem(title)->Left, 2250);
  EXPECT_EQ(doc.FindItem(title)->Top, 2150);
  doc.SetCaption(title, "Summer\r\nsale");
  doc.EditItem(title, [](TextItem& t) {
    t.Alignment = TextAlignment::Centre;
    t.Shadow = true;
    t.ShadowColor = 0x808080;
  });
  const int note = insertText(doc, measurer, "Liberation Serif", 12);
  doc.MoveItem(note, 30 * 15 + 0.5, 10 * 15);
  doc.SendToBack(note);
  const Document beforeDelete = doc;
  doc.Select(title);
  doc.DeleteCurrentTextItem();
  doc = beforeDelete;  // undo

  const auto dir = std::filesystem::temp_directory_path() / ("lumora_session_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto path = dir / "sale.lmp";
  ASSERT_TRUE(SaveProjectFile(path, doc));
  doc.SetProjectPath(path.string());
  doc.SetChanged(false);

  Document opened;
  const auto result = OpenProjectFile(path, opened, {[](const std::string& name) {
                                        return name == "Banners\\Summer\\sea.jpg";
                                      }});
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_TRUE(result.Problems.empty());
  EXPECT_EQ(opened.WindowCaption(), doc.WindowCaption());
  ASSERT_EQ(opened.TextItems().size(), 2u);
  EXPECT_EQ(opened.TextItems()[0].Caption, "enter your text") << "the note was sent to the back";
  EXPECT_EQ(opened.TextItems()[0].Left, 450.5f);
  EXPECT_EQ(opened.TextItems()[0].FontName, "Liberation Serif");
  EXPECT_EQ(opened.TextItems()[1].Caption, "Summer\r\nsale");
  EXPECT_EQ(opened.TextItems()[1].ShadowLeft(), 2250 + 2 * 15);
  EXPECT_EQ(opened.CurrentItem()->Caption, "Summer\r\nsale") << "the last item read is selected";
  EXPECT_FALSE(opened.Changed());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lumora
