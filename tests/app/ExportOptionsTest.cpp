// The export options from Save Image's file dialog: the JPEG quality, the GIF palette and the PNG's
// transparency chosen there are used by that export and the ones after it; Cancel changes nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

#include "EditorFixture.h"
#include "app/frmExportOptions.h"

namespace lumora {
namespace {

using ExportOptionsTest = test::EditorTest;

TEST_F(ExportOptionsTest, TheChoiceMadeInTheFileDialogIsUsedAndKeptAndCancelKeepsTheOldOne) {
  SaveExportOptions({});
  newDocument();
  insertAndType(QStringLiteral("Options"));
  for (const char* name : {"default.jpg", "default.gif"}) click(w().cmdSaveImage, path(name));
  const auto choose = [&](int quality, int palette, QPushButton* frmExportOptions::*button) {
    modal.pressFileDialogOptions();
    modal.onNextWindow([=](QDialog& d) {
      auto& options = static_cast<frmExportOptions&>(d);
      options.spnQuality->setValue(quality);
      options.cboPalette->setCurrentIndex(palette);
      QTest::mouseClick(options.*button, Qt::LeftButton);
    });
  };
  choose(40, 1, &frmExportOptions::cmdOK);
  click(w().cmdSaveImage, path("chosen.jpg"));
  click(w().cmdSaveImage, path("chosen.gif"));  // remembered
  choose(100, 0, &frmExportOptions::cmdCancel);
  click(w().cmdSaveImage, path("kept.jpg"));
  EXPECT_LT(test::readFile(path("chosen.jpg")).size() * 2, test::readFile(path("default.jpg")).size());
  EXPECT_NE(test::readFile(path("chosen.gif")), test::readFile(path("default.gif")));
  EXPECT_EQ(test::readFile(path("kept.jpg")), test::readFile(path("chosen.jpg")));
  EXPECT_EQ(LoadExportOptions().JpegQuality, 40);
  QImage clear(40, 20, QImage::Format_ARGB32);
  clear.fill(qRgba(0, 0, 0, 0));
  ASSERT_TRUE(clear.save(path("clear.png")));
  modal.answerMessageBox(MsgBox::No);
  newDocument(path("clear.png"));
  modal.pressFileDialogOptions();
  modal.onNextWindow([](QDialog& d) { static_cast<frmExportOptions&>(d).chkPngAlpha->setChecked(true), d.accept(); });
  click(w().cmdSaveImage, path("clear-out.png"));
  EXPECT_EQ(qAlpha(QImage(path("clear-out.png")).pixel(0, 0)), 0) << "the template's transparency kept";
  SaveExportOptions({});
}

}  // namespace
}  // namespace lumora
