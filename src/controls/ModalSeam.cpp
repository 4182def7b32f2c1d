#include "controls/ModalSeam.h"

#include <algorithm>

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>

#include "base/AppInfo.h"

namespace lumora {
namespace {

QMessageBox::Icon iconFor(int style) {
  switch (style & 0x70) {
    case MsgBox::Critical: return QMessageBox::Critical;
    case MsgBox::Question: return QMessageBox::Question;
    case MsgBox::Exclamation: return QMessageBox::Warning;
    case MsgBox::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// "GIF Files (*.gif)" -> "gif"; a filter of no single extension ("All Files (*.*)") keeps the fallback.
QString SuffixOfFilter(const QString& filter, const QString& fallback) {
  static const QRegularExpression single(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
  const QRegularExpressionMatch match = single.match(filter);
  return match.hasMatch() ? match.captured(1) : fallback;
}

// Qt's places list starts narrower than a home folder's name, cut off under a scroll bar. The
// window grows by what the list needs, as far as the screen allows, so the file list keeps its
// width and its dates; on a small screen the list takes up to a third of the window instead.
// Past kMaxPlacesWidth, names elide.
void fitPlacesToNames(QFileDialog& dialog) {
  constexpr int kMaxPlacesWidth = 300;
  auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
  auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
  if (splitter == nullptr || places == nullptr || splitter->count() != 2) return;
  places->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  places->setTextElideMode(Qt::ElideMiddle);
  const int names = places->sizeHintForColumn(0) + 2 * places->frameWidth() + places->verticalScrollBar()->sizeHint().width();
  const int wanted = std::min(names, kMaxPlacesWidth);
  const int before = splitter->sizes().value(0);
  if (before >= wanted) return;
  const QRect screen = dialog.screen()->availableGeometry();
  const int added = std::clamp(wanted - before, 0, screen.width() - dialog.frameGeometry().width());
  if (added > 0) {
    dialog.move(std::max(screen.left(), dialog.x() - added / 2), dialog.y());
    dialog.resize(dialog.width() + added, dialog.height());
    dialog.layout()->activate();
  }
  const QList<int> sizes = splitter->sizes();
  const int total = sizes.value(0) + sizes.value(1);
  const int width = std::min(wanted, std::max(before + added, total / 3));
  splitter->setSizes({width, total - width});
}

class RealModalSeam final : public ModalSeam {
 public:
  int messageBox(QWidget* owner, const QString& text, int style, const QString& title) override {
    QMessageBox box(iconFor(style), title, text, QMessageBox::NoButton, owner);
    struct Choice { QMessageBox::StandardButton button; int answer; };
    std::vector<Choice> choices;
    switch (style & 0x7) {
      case MsgBox::OKCancel: choices = {{QMessageBox::Ok, MsgBox::OK}, {QMessageBox::Cancel, MsgBox::Cancel}}; break;
      case MsgBox::AbortRetryIgnore:
        choices = {{QMessageBox::Abort, MsgBox::Abort}, {QMessageBox::Retry, MsgBox::Retry}, {QMessageBox::Ignore, MsgBox::Ignore}};
        break;
      case MsgBox::YesNoCancel:
        choices = {{QMessageBox::Yes, MsgBox::Yes}, {QMessageBox::No, MsgBox::No}, {QMessageBox::Cancel, MsgBox::Cancel}};
        break;
      case MsgBox::YesNo: choices = {{QMessageBox::Yes, MsgBox::Yes}, {QMessageBox::No, MsgBox::No}}; break;
      case MsgBox::RetryCancel: choices = {{QMessageBox::Retry, MsgBox::Retry}, {QMessageBox::Cancel, MsgBox::Cancel}}; break;
      default: choices = {{QMessageBox::Ok, MsgBox::OK}};
    }
    for (const auto& c : choices) box.addButton(c.button);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& c : choices)
      if (c.button == pressed) return c.answer;
    // Closed with the title bar: the cancel-like answer.
    return choices.size() > 1 ? choices.back().answer : MsgBox::OK;
  }

  FileDialogAnswer fileDialog(const FileDialogRequest& request) override {
    QFileDialog dialog(request.owner, request.title);
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile
                            : (request.multipleFiles ? QFileDialog::ExistingFiles
                                                     : (request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile)));
    if (!request.nameFilters.isEmpty()) {
      dialog.setNameFilters(request.nameFilters);
      if (request.filterIndex >= 0 && request.filterIndex < request.nameFilters.size())
        dialog.selectNameFilter(request.nameFilters[request.filterIndex]);
    }
    if (!request.defaultSuffix.isEmpty()) {
      // A name typed without an extension takes the chosen filter's, so it goes the route it was meant for.
      const auto follow = [&dialog, fallback = request.defaultSuffix](const QString& filter) {
        dialog.setDefaultSuffix(SuffixOfFilter(filter, fallback));
      };
      follow(dialog.selectedNameFilter());
      QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
    }
    if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()); grid && request.options) {
      auto* options = new QPushButton(QStringLiteral("&Options..."), &dialog);
      options->setAutoDefault(false);
      QObject::connect(options, &QPushButton::clicked, &dialog, [&] { request.options(&dialog); });
      grid->addWidget(options, grid->rowCount(), 0);
    }
    // Qt's own size cuts the Date Modified column off mid-date; the wider window gives it the rest.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(780, 460)));
    if (auto* details = dialog.findChild<QTreeView*>()) details->header()->setStretchLastSection(true);
    // The splitter's parts have sizes once the dialog is shown.
    QTimer::singleShot(0, &dialog, [&dialog] { fitPlacesToNames(dialog); });
    if (!request.initialFolder.isEmpty()) dialog.setDirectory(request.initialFolder);
    if (!request.initialFile.isEmpty()) dialog.selectFile(request.initialFile);
    FileDialogAnswer answer;
    answer.accepted = dialog.exec() == QDialog::Accepted;
    if (answer.accepted) answer.files = dialog.selectedFiles();
    return answer;
  }

  int colorDialog(QWidget* owner, int initialColour, bool fullOpen) override {
    QColorDialog dialog(owner);
    if (initialColour >= 0)
      dialog.setCurrentColor(QColor(initialColour & 0xFF, (initialColour >> 8) & 0xFF, (initialColour >> 16) & 0xFF));
    Q_UNUSED(fullOpen)  // Qt's dialog always offers its custom colours
    if (dialog.exec() != QDialog::Accepted) return -1;
    const QColor c = dialog.selectedColor();
    return c.red() | (c.green() << 8) | (c.blue() << 16);
  }

  int exec(QDialog& dialog) override { return dialog.exec(); }

  void beep() override { QApplication::beep(); }
};

ModalSeam* g_override = nullptr;

}  // namespace

ModalSeam& Modal() {
  static RealModalSeam real;
  return g_override ? *g_override : real;
}

void SetModalSeam(ModalSeam* seam) { g_override = seam; }

int MsgBoxShow(QWidget* owner, const QString& text, int style) {
  return Modal().messageBox(owner, text, style, QString::fromUtf8(kAppTitle));
}

}  // namespace lumora
