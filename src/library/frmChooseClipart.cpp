// The browser's window, its lists and its buttons; the grid of thumbnails is in
// frmChooseClipart_Grid.cpp.
#include "library/frmChooseClipart.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "compose/TemplateLibraries.h"
#include "controls/DialogFont.h"
#include "controls/ErrorGuard.h"
#include "controls/ModalSeam.h"
#include "library/AddPicture.h"
#include "library/ThumbnailCell.h"
#include "library/ThumbnailGrid.h"
#include "library/frmPreview.h"

namespace lumora {
namespace {

const char* const kLibraryNotLoaded =
    "The template library could not be loaded, you may need to reinstall this application.";
const char* const kNoTemplates = "No image templates were found, you may need to reinstall this application";

QString& LibraryRootOverride() {
  static QString root;
  return root;
}

// Designed positions are twips; the window is laid out in pixels at 15 twips each.
QRect Twips(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

// Entries of a folder as the file system lists them ("." and ".." and hidden entries left out),
// sorted by name because the order the file system returns is not stable here. Types and
// categories are folders only: a stray file beside them (the library's LICENSES.md, say) must not
// become a type that closes the browser when chosen.
QStringList FolderEntries(const QString& folder, QDir::Filters kinds) {
  return QDir(folder).entryList(kinds | QDir::NoDotAndDotDot, QDir::Name);
}

QLabel* CaptionBand(QWidget* parent, const QString& text, QRect band, QWidget* buddy) {
  auto* frame = new QLabel(parent);
  frame->setGeometry(band);
  frame->setAutoFillBackground(true);
  QPalette p = frame->palette();
  p.setColor(QPalette::Window, QColor(0x3B, 0x5B, 0x86));
  p.setColor(QPalette::WindowText, Qt::white);
  frame->setPalette(p);
  auto* caption = new QLabel(text, frame);
  caption->setGeometry(4, 2, band.width() - 8, band.height() - 3);
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  caption->setBuddy(buddy);
  return caption;
}

}  // namespace

void frmChooseClipart::SetLibraryRoot(const QString& folder) { LibraryRootOverride() = folder; }

frmChooseClipart::frmChooseClipart(QWidget* owner) : QDialog(owner) {
  BuildWindow();
  BuildGrid();
  LoadLibrary();
}

frmChooseClipart::~frmChooseClipart() = default;

void frmChooseClipart::BuildWindow() {
  setWindowTitle(QStringLiteral("Image Templates"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  setFixedSize(13065 / 15, 6885 / 15);
  setFont(DialogFont());

  m_types = new QListWidget(this);
  m_types->setGeometry(Twips(165, 525, 2970, 1620));
  CaptionBand(this, QStringLiteral("Image &Type:"), Twips(165, 180, 2970, 285), m_types);
  m_categories = new QListWidget(this);
  m_categories->setGeometry(Twips(165, 2610, 2970, 3540));
  CaptionBand(this, QStringLiteral("Image &Category:"), Twips(165, 2265, 2970, 285), m_categories);

  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  frame->setGeometry(Twips(3240, 180, 9645, 5970));
  m_grid = new ThumbnailGrid(this);
  m_grid->setGeometry(frame->contentsRect().translated(frame->pos()));  // the same margin all round

  m_preview = new QPushButton(QStringLiteral("&Preview"), this);
  m_preview->setGeometry(Twips(9600, 6375, 1035, 330));
  m_ok = new QPushButton(QStringLiteral("&OK"), this);
  m_ok->setGeometry(Twips(10755, 6375, 1035, 330));
  m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
  m_cancel->setGeometry(Twips(11880, 6375, 1035, 330));
  m_addPicture = new QPushButton(QStringLiteral("&Add Picture..."), this);
  m_addPicture->setGeometry(Twips(165, 6375, 1800, 330));
  for (auto* button : {m_preview, m_ok, m_cancel, m_addPicture}) button->setAutoDefault(false);
  setAcceptDrops(true);
  m_ok->setDefault(true);
  setTabOrder(m_types, m_categories);
  setTabOrder(m_categories, m_grid);

  m_context = new QMenu(this);
  m_contextPreview = m_context->addAction(QStringLiteral("&Preview"));
  m_contextSelect = m_context->addAction(QStringLiteral("&Select"));

  connect(m_types, &QListWidget::currentRowChanged, this, &frmChooseClipart::SelectType);
  connect(m_categories, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) Guarded([&] { SelectCategory(row); });
  });
  connect(m_ok, &QPushButton::clicked, this, [this] { Guarded([&] { Choose(); }); });
  connect(m_cancel, &QPushButton::clicked, this, [this] { Guarded([&] { Cancel(); }); });
  connect(m_preview, &QPushButton::clicked, this, [this] { Guarded([&] { Preview(); }); });
  connect(m_addPicture, &QPushButton::clicked, this, [this] {
    Guarded([&] {
      FileDialogRequest request;
      request.owner = this, request.title = QStringLiteral("Add Picture"), request.fileMustExist = true;
      request.nameFilters = {QStringLiteral("Pictures (*.jpg *.jpeg *.png *.gif *.bmp)"), QStringLiteral("All Files (*)")};
      const FileDialogAnswer answer = Modal().fileDialog(request);
      if (answer.accepted) AddPictures(answer.files);
    });
  });
  connect(m_contextPreview, &QAction::triggered, this, [this] { Guarded([&] { Preview(); }); });
  connect(m_contextSelect, &QAction::triggered, this, [this] { Guarded([&] { Choose(); }); });
}

void frmChooseClipart::LoadLibrary() {
  m_firstSelection = true;
  const QString program = LibraryRootOverride().isEmpty() ? QString::fromStdString(ProgramTemplateLibrary().string())
                                                          : LibraryRootOverride();
  const bool loaded = Suppressed([&] {
    {
      const QSignalBlocker quiet(m_types);
      m_types->clear();
      for (const QString& root : {program, QString::fromStdString(UserTemplateLibrary().string())})
        for (const QString& type : FolderEntries(root, QDir::Dirs))
          (new QListWidgetItem(type, m_types))->setData(Qt::UserRole, root + u'/' + type);
    }
    m_types->setCurrentRow(LastTypeIndex < m_types->count() ? LastTypeIndex : 0);
  });
  if (!loaded || m_types->count() == 0) MsgBoxShow(this, QString::fromUtf8(kLibraryNotLoaded), MsgBox::OKOnly);
}

void frmChooseClipart::SelectType(int row) {
  if (row < 0) return;
  m_selectedIndex = 0;
  LastTypeIndex = row;
  Suppressed([&] {
    m_categories->clear();
    m_categories->addItems(FolderEntries(m_types->item(row)->data(Qt::UserRole).toString(), QDir::Dirs));
    if (m_firstSelection && LastCategoryIndex < m_categories->count()) {
      m_categories->setCurrentRow(LastCategoryIndex);
      m_categories->setFocus();
    } else if (m_categories->count() > 0) {
      m_categories->setCurrentRow(0);
      m_categories->setFocus();
    } else {
      // The other types stay within reach: the window stays open on this one.
      m_files.clear();
      ShowImages();
      m_grid->SetSelectionRect({});
      MsgBoxShow(this, QString::fromUtf8(kNoTemplates), MsgBox::OKOnly);
    }
  });
  m_firstSelection = false;
}

void frmChooseClipart::SelectCategory(int row) {
  m_selectedIndex = 0;
  LastCategoryIndex = row;
  m_categoryFolder = TypeFolder() + u'/' + m_categories->item(row)->text();
  m_files = FolderEntries(m_categoryFolder, QDir::Files);
  // Input that arrives meanwhile is handled between the steps; a nested selection only makes
  // this one show the newer category again.
  QCoreApplication::processEvents();
  ShowImages();
  // An empty category says so rather than outlining a cell that is not there.
  m_grid->SetMessage(m_files.isEmpty() ? QStringLiteral("This category is empty") : QString());
  if (m_files.isEmpty())
    m_grid->SetSelectionRect({});
  else
    ShowFocusRect(0);
  QCoreApplication::processEvents();
}

bool frmChooseClipart::SelectedPaths(QString& relative, QString& full) const {
  if (m_selectedIndex < 0 || m_selectedIndex >= m_files.size() || !m_types->currentItem() ||
      !m_categories->currentItem())
    return false;
  const QString type = m_types->currentItem()->text();
  const QString category = m_categories->currentItem()->text();
  const QString file = m_files.at(m_selectedIndex);
  relative = type + u'\\' + category + u'\\' + file;
  full = QDir::toNativeSeparators(TypeFolder() + u'/' + category + u'/' + file);
  return true;
}

void frmChooseClipart::Choose() {
  QString relative, full;
  // An empty position has nothing to hand back: the choice is refused.
  if (!SelectedPaths(relative, full)) {
    Modal().beep();
    return;
  }
  TemplateRelativePath = relative;
  TemplatePath = full;
  accept();
}

void frmChooseClipart::Cancel() {
  TemplatePath.clear();
  reject();
}

void frmChooseClipart::Preview() {
  QString relative, full;
  if (!SelectedPaths(relative, full)) {
    Modal().beep();
    return;
  }
  frmPreview::ViewImage(full, this);
}

QString frmChooseClipart::TypeFolder() const {
  return m_types->currentItem() ? m_types->currentItem()->data(Qt::UserRole).toString() : QString();
}

void frmChooseClipart::AddPictures(const QStringList& files) {
  if (files.isEmpty()) return;
  const auto category = AskPictureCategory(this, UserTemplateLibrary());
  if (!category) return;
  QString last;
  for (const QString& file : files) {
    const AddedPicture added = AddPictureToLibrary(file, *category, UserTemplateLibrary());
    if (!added) MsgBoxShow(this, added.error, MsgBox::OKOnly | MsgBox::Exclamation);
    if (added) last = added.relativePath;
  }
  if (!last.isEmpty()) ShowPicture(last);
}

// Lists the libraries again and selects the picture, the way a user would find it.
void frmChooseClipart::ShowPicture(const QString& relativePath) {
  const QStringList parts = relativePath.split(u'\\');
  LoadLibrary();
  const auto rows = [](QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? -1 : list->row(found.back());
  };
  m_types->setCurrentRow(rows(m_types, parts.value(0)));
  m_categories->setCurrentRow(rows(m_categories, parts.value(1)));
  if (const auto at = m_files.indexOf(parts.value(2)); at >= 0) {
    m_selectedIndex = static_cast<int32_t>(at);
    ShowFocusRect(m_selectedIndex);
  }
  m_grid->setFocus();
}

void frmChooseClipart::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void frmChooseClipart::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedFiles(event->mimeData());
  event->acceptProposedAction();
  Guarded([&] { AddPictures(files); });
}

void frmChooseClipart::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A library without types has nothing to browse.
  if (m_types->count() == 0)
    QMetaObject::invokeMethod(this, [this] { Guarded([&] { Cancel(); }); }, Qt::QueuedConnection);
}

}  // namespace lumora
