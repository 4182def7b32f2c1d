#include "ScriptedModal.h"

#include <QCoreApplication>
#include <utility>

namespace lumora::test {
namespace {

template <typename T>
T next(std::deque<T>& queue, T otherwise) {
  if (queue.empty()) return otherwise;
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

// A message box with nothing queued answers its first button.
int firstButton(int style) {
  switch (style & 0x7) {
    case MsgBox::AbortRetryIgnore:
      return MsgBox::Abort;
    case MsgBox::YesNoCancel:
    case MsgBox::YesNo:
      return MsgBox::Yes;
    case MsgBox::RetryCancel:
      return MsgBox::Retry;
    default:
      return MsgBox::OK;
  }
}

}  // namespace

ScriptedModal::ScriptedModal() { SetModalSeam(this); }
ScriptedModal::~ScriptedModal() { SetModalSeam(nullptr); }

int ScriptedModal::messageBox(QWidget*, const QString& text, int style, const QString&) {
  m_messageBoxes.push_back({text, style});
  return next(m_messageAnswers, firstButton(style));
}

FileDialogAnswer ScriptedModal::fileDialog(const FileDialogRequest& request) {
  m_fileDialogs.push_back(request);
  if (std::exchange(m_pressOptions, false) && request.options) request.options(request.owner);
  return next(m_fileAnswers, FileDialogAnswer{});
}

int ScriptedModal::colorDialog(QWidget*, int, bool) { return next(m_colourAnswers, -1); }

int ScriptedModal::exec(QDialog& dialog) {
  m_windows.push_back(QString::fromUtf8(dialog.metaObject()->className()));
  dialog.setResult(QDialog::Rejected);
  dialog.show();
  QCoreApplication::processEvents();
  if (const auto step = next(m_windowSteps, std::function<void(QDialog&)>())) step(dialog);
  if (dialog.isVisible()) dialog.reject();
  QCoreApplication::processEvents();
  return dialog.result();
}

}  // namespace lumora::test
