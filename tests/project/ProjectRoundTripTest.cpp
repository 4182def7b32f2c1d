#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"

namespace lumora {
namespace {

Document variedDocument() {
  Document doc;
  doc.StartNewDocument("Banners\\Caf\xC3\xA9\\sea.jpg");
  // Values with at most seven significant digits: the file keeps no more.
  const float lefts[] = {1117.5f, -30.25f, 0.1f, 16777216.0f, 123456.7f};
  const float sizes[] = {7.8f, 9.75f, 24, 30.4f, 1638};
  for (int i = 0; i < 5; ++i) {
    const int index = doc.CreateItem();
    doc.EditItem(index, [&](TextItem& t) {
      t.Left = lefts[i];
      t.Top = 450.5f * static_cast<float>(i);
      t.Alignment = static_cast<TextAlignment>(i % 3);
      t.Caption = i == 2 ? "" : "line " + std::to_string(i) + "\r\nsecond > line\r\n\r\n";
      if (i == 4) t.Caption = "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80 \xE2\x82\xAC";  // outside Windows-1252
      t.FontName = i % 2 ? "Wingdings 3" : "DejaVu Sans";
      t.FontSize = sizes[i];
      t.FontBold = i & 1;
      t.FontItalic = i & 2;
      t.FontUnderline = i & 4;
      t.FontStrikethru = i == 3;
      t.ForeColor = i == 1 ? static_cast<Colour>(0x80000005u) : 0x123456 * i;
      t.Shadow = i % 2 == 0;
      t.ShadowColor = 0x808080 + i;
    });
  }
  doc.BringToFront(2);
  return doc;
}

// Every field comes back, every item is visible, indices follow the file, and the bytes written
// again are the same.
TEST(ProjectRoundTrip, WriteReadWrite) {
  const Document doc = variedDocument();
  const std::string first = WriteProjectText(doc);
  Document back;
  back.CreateItem();
  const auto result = ReadProjectText(first, back);
  ASSERT_TRUE(result.Ok);
  EXPECT_TRUE(result.Problems.empty());
  EXPECT_EQ(back.TemplateName(), doc.TemplateName());
  ASSERT_EQ(back.TextItems().size(), doc.TextItems().size());
  for (size_t i = 0; i < doc.TextItems().size(); ++i) {
    TextItem expected = doc.TextItems()[i];
    expected.Index = static_cast<int>(i) + 1;
    expected.Visible = true;
    EXPECT_EQ(back.TextItems()[i], expected) << "item " << i;
  }
  EXPECT_EQ(WriteProjectText(back), first);
  Document again;
  ASSERT_TRUE(ReadProjectText(first, again).Ok);
  EXPECT_EQ(again, back);
}

// Open records the path it read; a missing file, a folder or a huge file is refused.
TEST(ProjectRoundTrip, OpenProjectFile) {
  const auto dir = std::filesystem::temp_directory_path() / ("lumora_open_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto path = dir / "cover.lmp";
  ASSERT_TRUE(SaveProjectFile(path, variedDocument()));
  Document back;
  const auto result = OpenProjectFile(path, back);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(back.ProjectPath(), path.string());
  EXPECT_EQ(back.WindowCaption(), "ZEB Lumora - [" + path.string() + "]");
  EXPECT_EQ(back.CurrentIndex(), 5);
  // A huge file is refused before anything is read (sparse, so it costs no disk).
  const auto huge = dir / "huge.lmp";
  std::ofstream(huge) << "<ZEB Image File>\r\n";
  std::filesystem::resize_file(huge, kMaxProjectFileBytes + 1);
  back.SetProjectPath("previous.lmp");
  const Document before = back;
  for (const auto& [bad, says] : {std::pair{dir / "missing.lmp", dir.string() + "/missing.lmp"},
                                  std::pair{dir, dir.string()}, std::pair{huge, std::string("too large")}}) {
    const auto refused = OpenProjectFile(bad, back);
    EXPECT_FALSE(refused.Ok);
    EXPECT_NE(refused.Error.find(says), std::string::npos) << refused.Error;
  }
  EXPECT_EQ(back, before);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lumora
