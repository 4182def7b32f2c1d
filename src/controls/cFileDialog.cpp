#include "controls/cFileDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "base/LumoraError.h"
#include "controls/ModalSeam.h"

namespace lumora {
namespace {

constexpr QChar kZero(u'\0');

bool isSeparator(QChar c) { return c == u'/' || c == QDir::separator(); }

int lastSeparator(const QString& path) {
  for (int i = static_cast<int>(path.size()) - 1; i >= 0; --i)
    if (isSeparator(path[i])) return i;
  return -1;
}

QString programName() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

}  // namespace

void cFileDialog::setFilter(const QString& filter) {
  m_filter = filter;
  // Only the bar separates: a colon inside a description ("Pictures: JPEG") stays part of it.
  m_filterRecord = filter;
  m_filterRecord.replace(u'|', kZero);
  m_filterRecord += kZero;
  m_filterRecord += kZero;
}

// "JPEG Files|*.jpg;*.jpeg" becomes Qt's "JPEG Files (*.jpg *.jpeg)"; a description that already
// ends in its patterns ("JPG Files (*.jpg)") keeps them once.
QStringList cFileDialog::nameFilters() const {
  QStringList result;
  const QStringList parts = m_filter.split(u'|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    patterns = patterns.simplified();
    const QString shown = QStringLiteral("(%1)").arg(patterns);
    result << (parts[i].endsWith(shown) ? parts[i] : QStringLiteral("%1 %2").arg(parts[i], shown));
  }
  return result;
}

FileDialogRequest cFileDialog::makeRequest(FileDialogRequest::Kind kind, const QString& initialFile) const {
  FileDialogRequest request;
  request.kind = kind;
  request.owner = m_owner;
  request.title = m_dialogTitle;
  request.initialFile = initialFile;
  request.initialFolder = m_initDir;
  request.nameFilters = nameFilters();
  request.filterIndex = m_filterIndex - 1;
  request.defaultSuffix = m_defaultExt;
  request.confirmOverwrite = (m_flags & OverwritePrompt) != 0;
  request.fileMustExist = (m_flags & FileMustExist) != 0;
  request.options = m_options;
  return request;
}

void cFileDialog::ShowOpen() {
  m_recordFlags = m_flags;
  const bool several = (m_flags & AllowMultiSelect) != 0;
  if (several) m_recordFlags |= Explorer;
  FileDialogRequest request = makeRequest(FileDialogRequest::Kind::Open, m_fileName.section(kZero, 0, 0));
  request.multipleFiles = several;
  const FileDialogAnswer answer = Modal().fileDialog(request);
  if (!answer.accepted || answer.files.isEmpty()) {
    if (m_cancelError)
      throw LumoraError(ErrorNumber::kCancel, "User selected cancel.", programName().toStdString() + ".cFileDialog");
    return;
  }
  if (!several || answer.files.size() == 1) {
    m_fileName = QDir::toNativeSeparators(answer.files.front());
    return;
  }
  // Several files: the folder, then the bare names, each ended by a zero, and a final zero.
  QString joined = QDir::toNativeSeparators(QFileInfo(answer.files.front()).absolutePath());
  for (const QString& file : answer.files) joined += kZero + QFileInfo(file).fileName();
  m_fileName = joined + kZero + kZero;
}

void cFileDialog::ShowSave() {
  m_recordFlags = m_flags;
  const FileDialogRequest request = makeRequest(FileDialogRequest::Kind::Save, m_fileName);
  const FileDialogAnswer answer = Modal().fileDialog(request);
  if (answer.accepted && !answer.files.isEmpty()) {
    m_fileName = QDir::toNativeSeparators(answer.files.front());
    return;
  }
  if (m_cancelError) m_fileName.clear();
}

void cFileDialog::ParseMultiFileName(QString& folder, QStringList& names, int& count) const {
  const QString doubleZero(2, kZero);
  const qsizetype end = m_fileName.indexOf(doubleZero);
  const QString text = end < 0 ? m_fileName : m_fileName.left(end);
  names.clear();
  if (!text.contains(kZero)) {
    const int slash = lastSeparator(text);
    folder = slash < 0 ? QString() : text.left(slash + 1);
    names << text.mid(slash + 1);
    count = 1;
    return;
  }
  const QStringList parts = text.split(kZero);
  folder = parts.front();
  names = parts.mid(1);
  count = static_cast<int>(names.size());
}

}  // namespace lumora
