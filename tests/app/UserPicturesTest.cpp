// A picture of the user's dropped on the main window: the save question first, as New has it,
// then a new document on its copy in the user's library, which a saved project finds again.
#include "DropFiles.h"
#include "EditorFixture.h"
#include "compose/TemplateLibraries.h"

namespace lumora {
namespace {

using UserPicturesTest = test::EditorTest;

TEST_F(UserPicturesTest, ADroppedPictureStartsADocumentOnItsCopyAfterTheSaveQuestion) {
  QImage photo(320, 96, QImage::Format_RGB32);
  photo.fill(QColor(200, 120, 40));
  ASSERT_TRUE(photo.save(path("beach.png")));
  const auto drop = [&](const QStringList& files) { return test::DropFiles(w(), files); };
  newDocument();
  insertAndType(QStringLiteral("kept"));
  EXPECT_FALSE(drop({path("beach.png"), templatePath})) << "one picture at a time";
  modal.answerMessageBox(MsgBox::Cancel);
  EXPECT_TRUE(drop({path("beach.png")}));
  EXPECT_EQ(modal.messageBoxes().back().text, QStringLiteral("Do you want to save the current image?"));
  EXPECT_EQ(current().Caption, "kept") << "Cancel keeps the document";
  modal.answerMessageBox(MsgBox::No);
  modal.onNextWindow([](QDialog& d) { d.accept(); });  // the category offered: Imported
  drop({path("beach.png")});
  EXPECT_EQ(doc().TemplateName(), "My Pictures\\Imported\\beach.png");
  EXPECT_TRUE(doc().TextItems().empty());
  EXPECT_EQ(w().picPicture->size(), photo.size());
  insertAndType(QStringLiteral("On my photo"));
  click(w().cmdSave, path("mine.lmp"));
  window = std::make_unique<frmMain>();
  const size_t boxes = modal.messageBoxes().size();
  click(w().cmdOpen, path("mine.lmp"));
  EXPECT_EQ(modal.messageBoxes().size(), boxes) << "the template is found in the user's library";
  EXPECT_EQ(w().picPicture->size(), photo.size());
  EXPECT_EQ(QImage(QString::fromStdString((UserTemplateLibrary() / "My Pictures" / "Imported" / "beach.png").string())),
            QImage(path("beach.png")));
}

}  // namespace
}  // namespace lumora
