// cFileDialog: the Open and Save As dialogs behind a small property interface. Callers set the
// properties, call ShowOpen or ShowSave and read FileName back; the dialogs go through the modal
// seam. Several files come back as one text: the folder, then each name, separated by zero
// characters and ended by two, which ParseMultiFileName splits again.
#pragma once

#include <QString>
#include <QStringList>

#include "controls/ModalSeam.h"

class QWidget;

namespace lumora {

class cFileDialog {
 public:
  // The dialog flags the callers pass.
  static constexpr int OverwritePrompt = 0x2;
  static constexpr int HideReadOnly = 0x4;
  static constexpr int AllowMultiSelect = 0x200;
  static constexpr int FileMustExist = 0x1000;
  static constexpr int Explorer = 0x80000;

  bool CancelError() const { return m_cancelError; }
  void setCancelError(bool on) { m_cancelError = on; }
  QString FileName() const { return m_fileName; }
  void setFileName(const QString& name) { m_fileName = name; }
  QString FileTitle() const { return m_fileTitle; }
  void setFileTitle(const QString& title) { m_fileTitle = title; }
  QString Filter() const { return m_filter; }
  void setFilter(const QString& filter);
  int FilterIndex() const { return m_filterIndex; }
  void setFilterIndex(int index) { m_filterIndex = index; }
  QString DefaultExt() const { return m_defaultExt; }
  void setDefaultExt(const QString& ext) { m_defaultExt = ext; }
  QString DialogTitle() const { return m_dialogTitle; }
  void setDialogTitle(const QString& title) { m_dialogTitle = title; }
  int flags() const { return m_flags; }
  void setFlags(int flags) { m_flags = flags; }
  QWidget* hWnd() const { return m_owner; }
  void setHWnd(QWidget* owner) { m_owner = owner; }
  QString InitDir() const { return m_initDir; }
  void setInitDir(const QString& dir) { m_initDir = dir; }
  // An "Options..." button in the dialog runs this; empty for none.
  void setOptionsCommand(std::function<void(QWidget* dialog)> command) { m_options = std::move(command); }

  // The filter in the dialog's zero-separated form, ended by an extra zero.
  QString filterRecord() const { return m_filterRecord; }
  // The flags the last shown dialog was given.
  int recordFlags() const { return m_recordFlags; }

  // Cancelling raises 32755 "User selected cancel." when CancelError is set.
  void ShowOpen();
  // Cancelling empties FileName when CancelError is set; it never raises.
  void ShowSave();

  void ParseMultiFileName(QString& folder, QStringList& names, int& count) const;

 private:
  QStringList nameFilters() const;
  // What both dialogs take from the properties.
  FileDialogRequest makeRequest(FileDialogRequest::Kind kind, const QString& initialFile) const;

  bool m_cancelError = false;
  QString m_fileName;
  QString m_fileTitle;
  QString m_filter;
  QString m_filterRecord;
  int m_filterIndex = 1;
  QString m_defaultExt;
  QString m_dialogTitle;
  int m_flags = 0;
  int m_recordFlags = 0;
  QWidget* m_owner = nullptr;
  QString m_initDir;
  std::function<void(QWidget*)> m_options;
};

}  // namespace lumora
