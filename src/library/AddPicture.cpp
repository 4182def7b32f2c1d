#include "library/AddPicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QMimeData>
#include <QUrl>

#include "compose/PictureLoader.h"
#include "controls/ModalSeam.h"

namespace lumora {
namespace {

QString Folder(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The browser hides entries whose names start with a dot, and a separator would make a folder.
QString CategoryProblem(const QString& category) {
  if (category.contains(u'/') || category.contains(u'\\') || category.startsWith(u'.'))
    return QStringLiteral("\"%1\" cannot be a category: a category name holds no \"/\" or \"\\\" and does not "
                          "start with a dot.")
        .arg(category);
  return {};
}

}  // namespace

AddedPicture AddPictureToLibrary(const QString& file, const QString& category,
                                 const std::filesystem::path& userLibrary) {
  AddedPicture added;
  if (added.error = CategoryProblem(category); !added.error.isEmpty()) return added;
  const LoadedPicture loaded = LoadPictureFile(file.toStdString());
  if (!loaded) return added.error = QString::fromStdString(CannotOpenMessage(file.toStdString(), loaded)), added;
  const QString folder = Folder(userLibrary) + u'/' + QString::fromUtf8(kUserPicturesType) + u'/' + category;
  if (!QDir().mkpath(folder))
    return added.error = QStringLiteral("The folder \"%1\" could not be made.").arg(folder), added;
  const QFileInfo source(file);
  QString base = source.completeBaseName();
  while (base.startsWith(u'.')) base.remove(0, 1);
  if (base.isEmpty()) base = QStringLiteral("picture");
  const QString suffix = source.suffix().isEmpty() ? QString() : u'.' + source.suffix();
  // QFile::copy never replaces a file, so a name taken meanwhile only moves on to the next number.
  for (int number = 1; number <= 9999; ++number) {
    const QString name = number == 1 ? base + suffix : QStringLiteral("%1 (%2)%3").arg(base).arg(number).arg(suffix);
    const QString target = folder + u'/' + name;
    if (QFileInfo::exists(target)) continue;
    if (!QFile::copy(file, target)) break;
    added.relativePath = QString::fromUtf8(kUserPicturesType) + u'\\' + category + u'\\' + name;
    added.fullPath = target;
    return added;
  }
  added.error = QStringLiteral("The picture could not be copied into \"%1\".").arg(folder);
  return added;
}

std::optional<QString> AskPictureCategory(QWidget* owner, const std::filesystem::path& userLibrary) {
  QStringList categories =
      QDir(Folder(userLibrary) + u'/' + QString::fromUtf8(kUserPicturesType)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  if (!categories.contains(QString::fromUtf8(kDefaultPictureCategory)))
    categories.prepend(QString::fromUtf8(kDefaultPictureCategory));
  QInputDialog dialog(owner);
  dialog.setWindowTitle(QStringLiteral("Add Picture"));
  dialog.setLabelText(QStringLiteral("Category under \"%1\" (pick one or type a new name):").arg(kUserPicturesType));
  dialog.setComboBoxItems(categories);
  dialog.setComboBoxEditable(true);
  dialog.setTextValue(QString::fromUtf8(kDefaultPictureCategory));
  if (Modal().exec(dialog) != QDialog::Accepted) return std::nullopt;
  const QString category = dialog.textValue().trimmed();
  return category.isEmpty() ? QString::fromUtf8(kDefaultPictureCategory) : category;
}

QStringList DroppedFiles(const QMimeData* data) {
  QStringList files;
  if (data)
    for (const QUrl& url : data->urls())
      if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) files << url.toLocalFile();
  return files;
}

}  // namespace lumora
