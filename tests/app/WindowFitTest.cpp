// Every window of the program, opened as a user meets it: no text is larger than the place it is
// drawn in, no label is drawn over a sibling control, no child sticks out of its parent, and every
// font-list row holds its face.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QDir>
#include <QGroupBox>
#include <QScrollBar>
#include <optional>
#include <QTest>

#include "ScriptedModal.h"
#include "app/frmError.h"
#include "app/frmMain.h"
#include "colour/frmColorPicker.h"
#include "controls/frmAbout.h"
#include "library/frmChooseClipart.h"
#include "library/frmPreview.h"
#include "symbols/frmCharacterMap.h"

namespace lumora {
namespace {

QString nameOf(const QWidget* w) {
  const auto* label = qobject_cast<const QLabel*>(w);
  return QStringLiteral("%1 %2 \"%3\"")
      .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), label ? label->text() : QString());
}

// A label's or button's text against the room it has.
std::optional<QString> textProblem(const QWidget* w) {
  const QFontMetrics metrics(w->font());
  if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->text().isEmpty() && !label->textFormat()) {
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0) | Qt::TextShowMnemonic;
    const QRect room = label->contentsRect();
    const QRect needed = metrics.boundingRect(room, flags, label->text());
    if (needed.width() > room.width() || needed.height() > room.height()) return QStringLiteral("text does not fit");
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(w); button && !button->text().isEmpty()) {
    QString text = button->text();
    text.remove(u'&');
    const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    if (metrics.horizontalAdvance(text) + icon > button->contentsRect().width() - 4)
      return QStringLiteral("caption wider than the button");
    if (metrics.height() > button->contentsRect().height()) return QStringLiteral("caption taller than the button");
  }
  return std::nullopt;
}

void checkWindow(QWidget& window, const char* what) {
  SCOPED_TRACE(what);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::processEvents();
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&window) || w->isWindow()) continue;
    const QWidget* parent = w->parentWidget();
    // Scroll bars sit on their control's edge by design; scrolled contents move inside their view.
    const bool scrolling = qobject_cast<QScrollBar*>(w) || parent->inherits("QAbstractScrollArea") ||
                           parent->objectName() == QLatin1String("qt_scrollarea_viewport") ||
                           parent->objectName() == QLatin1String("picWorkspace");
    // A frame's title band is not room for its controls.
    const QRect room = qobject_cast<const QGroupBox*>(parent) ? parent->contentsRect() : parent->rect();
    if (!scrolling && !room.contains(w->geometry()))
      ADD_FAILURE() << nameOf(w).toStdString() << " sticks out of " << nameOf(parent).toStdString();
    if (const auto problem = textProblem(w)) ADD_FAILURE() << nameOf(w).toStdString() << ": " << problem->toStdString();
    const auto* label = qobject_cast<const QLabel*>(w);
    if (!label || label->text().isEmpty()) continue;
    for (const QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (sibling != w && sibling->isVisibleTo(&window) && !qobject_cast<const QLabel*>(sibling) &&
          sibling->geometry().intersects(w->geometry()))
        ADD_FAILURE() << nameOf(w).toStdString() << " is drawn over " << nameOf(sibling).toStdString();
  }
}

TEST(WindowFit, EveryWindowKeepsItsTextsAndChildrenInside) {
  test::ScriptedModal modal;
  frmMain main;
  checkWindow(main, "main window with the welcome panel");
  frmChooseClipart::SetLibraryRoot(QCoreApplication::applicationDirPath() + QStringLiteral("/templates"));
  frmChooseClipart browser;
  checkWindow(browser, "template browser");
  frmChooseClipart::SetLibraryRoot({});
  frmPreview preview;
  QImage picture(300, 120, QImage::Format_RGB32);
  picture.fill(Qt::darkCyan);
  const QString path = QDir::temp().filePath(QStringLiteral("lumora-fit-preview.png"));
  ASSERT_TRUE(picture.save(path));
  ASSERT_TRUE(preview.LoadImage(path));
  checkWindow(preview, "preview");
  frmCharacterMap map;
  checkWindow(map, "character map");
  frmColorPicker picker;
  checkWindow(picker, "colour picker");
  frmAbout about;
  checkWindow(about, "about box");
  frmError error;
  error.lblNum->setText(QStringLiteral("53"));
  error.lblDesc->setText(QStringLiteral("File not found"));
  checkWindow(error, "error window");
}

TEST(WindowFit, EveryFontListRowHoldsItsFace) {
  test::ScriptedModal modal;
  frmMain main;
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  main.cboFont->showPopup();
  QApplication::processEvents();
  QAbstractItemView* list = main.cboFont->view();
  for (int row = 0; row < main.cboFont->count(); ++row) {
    const QString name = main.cboFont->itemText(row);
    const int height = list->visualRect(list->model()->index(row, 0)).height();
    EXPECT_LE(QFontMetrics(main.m_fontListLook.itemFont(name)).height(), height) << name.toStdString();
  }
  main.cboFont->hidePopup();
}

}  // namespace
}  // namespace lumora
