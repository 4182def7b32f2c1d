// A modal seam for tests: each message box, file dialog, colour dialog and modal window is
// answered by the next scripted step, and every call is recorded.
#pragma once

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "controls/ModalSeam.h"

namespace lumora::test {

struct MessageBoxCall {
  QString text;
  int style = 0;
};

class ScriptedModal : public ModalSeam {
 public:
  ScriptedModal();            // installs itself
  ~ScriptedModal() override;  // restores the real seam

  // Answers for the coming calls, in order. With no answer queued: message boxes answer their
  // first button, file dialogs and colour dialogs cancel, windows are rejected.
  void answerMessageBox(int answer) { m_messageAnswers.push_back(answer); }
  void answerFileDialog(FileDialogAnswer answer) { m_fileAnswers.push_back(std::move(answer)); }
  void answerFile(const QString& path) { m_fileAnswers.push_back({true, {path}}); }
  void cancelFileDialog() { m_fileAnswers.push_back({false, {}}); }
  // The next file dialog's Options button is pressed before it is answered.
  void pressFileDialogOptions() { m_pressOptions = true; }
  void answerColour(int colour) { m_colourAnswers.push_back(colour); }
  // The step gets the shown (non-modal) window and drives it like a user; when it returns and the
  // window has not closed itself, the window is rejected.
  void onNextWindow(std::function<void(QDialog&)> step) { m_windowSteps.push_back(std::move(step)); }

  const std::vector<MessageBoxCall>& messageBoxes() const { return m_messageBoxes; }
  const std::vector<FileDialogRequest>& fileDialogs() const { return m_fileDialogs; }
  const std::vector<QString>& windows() const { return m_windows; }  // class names of shown windows
  int beeps() const { return m_beeps; }

  int messageBox(QWidget* owner, const QString& text, int style, const QString& title) override;
  FileDialogAnswer fileDialog(const FileDialogRequest& request) override;
  int colorDialog(QWidget* owner, int initialColour, bool fullOpen) override;
  int exec(QDialog& dialog) override;
  void beep() override { ++m_beeps; }

 private:
  std::deque<int> m_messageAnswers;
  std::deque<FileDialogAnswer> m_fileAnswers;
  std::deque<int> m_colourAnswers;
  std::deque<std::function<void(QDialog&)>> m_windowSteps;
  std::vector<MessageBoxCall> m_messageBoxes;
  std::vector<FileDialogRequest> m_fileDialogs;
  std::vector<QString> m_windows;
  int m_beeps = 0;
  bool m_pressOptions = false;
};

}  // namespace lumora::test
