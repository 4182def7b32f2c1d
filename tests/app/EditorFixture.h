// The real main window on a plain 400 x 240 template, with the library browser, file dialogs and
// message boxes scripted, and the steps a user takes in it.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ScriptedModal.h"
#include "app/frmMain.h"
#include "library/frmChooseClipart.h"
#include "symbols/frmCharacterMap.h"

namespace lumora::test {

inline void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QImage picture(400, 240, QImage::Format_RGB32);
    picture.fill(QColor(40, 90, 160));
    ASSERT_TRUE(picture.save(templatePath));
    window = std::make_unique<frmMain>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    activate();
  }
  void TearDown() override { window->document().SetChanged(false); }

  // Shortcuts reach an active window only; the window manager gives the activation back when a
  // modal window closes, here the test does.
  void activate() {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  frmMain& w() { return *window; }
  const Document& doc() { return window->document(); }
  const TextItem& current() { return *doc().CurrentItem(); }
  QString path(const char* name) { return dir.filePath(QString::fromUtf8(name)); }

  void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
  // A command that asks for a file name, answered with this one.
  void click(QWidget* command, const QString& answer) { modal.answerFile(answer), click(command); }
  void clickPicture(QPoint at) { QTest::mouseClick(w().picPicture, Qt::LeftButton, {}, at); }
  void key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(w().txtCaption, static_cast<Qt::Key>(key), modifiers);
  }
  void type(const QString& text) { w().txtCaption->selectAll(), QTest::keyClicks(w().txtCaption, text); }
  void drag(QPoint from, QPoint by) {
    QTest::mousePress(w().picPicture, Qt::LeftButton, {}, from);
    QTest::mouseMove(w().picPicture, from + by / 3);
    QTest::mouseMove(w().picPicture, from + by);
    QTest::mouseRelease(w().picPicture, Qt::LeftButton, {}, from + by);
  }
  // New, with this picture picked in the library as Covers\Plain\<its name>.
  void newDocument(const QString& picture = {}) {
    const QString chosen = picture.isEmpty() ? templatePath : picture;
    modal.onNextWindow([chosen](QDialog& d) {
      auto& browser = static_cast<frmChooseClipart&>(d);
      browser.TemplatePath = chosen;
      browser.TemplateRelativePath = QStringLiteral("Covers\\Plain\\") + QFileInfo(chosen).fileName();
      browser.accept();
    });
    click(w().cmdNew);
    activate();
  }
  void insertText() { click(w().cmdAdd); }
  void insertAndType(const QString& text) { insertText(), type(text); }
  void insertSymbol(int16_t size) {
    modal.onNextWindow([size](QDialog& d) {
      auto& map = static_cast<frmCharacterMap&>(d);
      map.SymbolText = QStringLiteral("J");
      map.SymbolFontName = QStringLiteral("Webdings");
      map.SymbolSize = size;
      map.SymbolShadow = true;
      map.accept();
    });
    click(w().cmdSymbol);
  }
  void select(int index) { w().document().Select(index), w().ShowSelection(); }
  QPoint centreOf(const TextItem& item) { return w().ItemRect(item).center(); }

  ScriptedModal modal;
  QTemporaryDir dir;
  QString templatePath = dir.filePath(QStringLiteral("cover.png"));
  std::unique_ptr<frmMain> window;
};

}  // namespace lumora::test
