#include "ScriptedModal.h"

#include <QCoreApplication>

namespace lumora::test {

ScriptedModal::ScriptedModal() { SetModalSeam(this); }
ScriptedModal::~ScriptedModal() { SetModalSeam(nullptr); }

int ScriptedModal::messageBox(QWidget*, const QString& text, int style, const QString& title) {
  m_messageBoxes.push_back({text, style, title});
  if (!m_messageAnswers.empty()) {
    const int answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
  }
  switch (style & 0x7) {
    case MsgBox::AbortRetryIgnore: return MsgBox::Abort;
    case MsgBox::YesNoCancel:
    case MsgBox::YesNo: return MsgBox::Yes;
    case MsgBox::RetryCancel: return MsgBox::Retry;
    default: return MsgBox::OK;
  }
}

FileDialogAnswer ScriptedModal::fileDialog(const FileDialogRequest& request) {
  m_fileDialogs.push_back(request);
  if (m_fileAnswers.empty()) return {};
  FileDialogAnswer answer = m_fileAnswers.front();
  m_fileAnswers.pop_front();
  return answer;
}

int ScriptedModal::colorDialog(QWidget*, int, bool) {
  ++m_colourDialogs;
  if (m_colourAnswers.empty()) return -1;
  const int answer = m_colourAnswers.front();
  m_colourAnswers.pop_front();
  return answer;
}

int ScriptedModal::exec(QDialog& dialog) {
  m_windows.push_back(QString::fromUtf8(dialog.metaObject()->className()));
  dialog.setResult(QDialog::Rejected);
  dialog.show();
  QCoreApplication::processEvents();
  if (!m_windowSteps.empty()) {
    auto step = std::move(m_windowSteps.front());
    m_windowSteps.pop_front();
    step(dialog);
  }
  if (dialog.isVisible()) dialog.reject();
  QCoreApplication::processEvents();
  return dialog.result();
}

}  // namespace lumora::test
