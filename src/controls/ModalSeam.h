// Every message box, file dialog, colour dialog and modal window is opened through this seam,
// so that tests can answer them with a script and never block.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

namespace lumora {

// Message box styles and answers, numbered as the system's callers use them.
namespace MsgBox {
inline constexpr int OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5;
inline constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
inline constexpr int OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
}  // namespace MsgBox

struct FileDialogRequest {
  enum class Kind { Open, Save };
  Kind kind = Kind::Open;
  QWidget* owner = nullptr;
  QString title;
  QString initialFile;      // may include a folder
  QString initialFolder;
  QStringList nameFilters;  // Qt form: "JPG Files (*.jpg)"
  int filterIndex = 0;      // 0-based
  QString defaultSuffix;    // without the dot
  bool confirmOverwrite = false;
  bool fileMustExist = false;
  bool multipleFiles = false;
  // When set, an "Options..." button beside the names runs it, with the dialog as its owner.
  std::function<void(QWidget* dialog)> options;
};

struct FileDialogAnswer {
  bool accepted = false;
  QStringList files;
};

class ModalSeam {
 public:
  virtual ~ModalSeam() = default;
  // Returns one of the MsgBox answers.
  virtual int messageBox(QWidget* owner, const QString& text, int style, const QString& title) = 0;
  virtual FileDialogAnswer fileDialog(const FileDialogRequest& request) = 0;
  // The platform's colour dialog; 0x00BBGGRR, or -1 when cancelled.
  virtual int colorDialog(QWidget* owner, int initialColour, bool fullOpen) = 0;
  // Shows a window modally and returns its result code once it has closed.
  virtual int exec(QDialog& dialog) = 0;
  virtual void beep() = 0;
};

// The seam in force: the real one unless a test installed its own.
ModalSeam& Modal();
// nullptr restores the real seam. The caller keeps ownership.
void SetModalSeam(ModalSeam* seam);

// A message box titled with the application title.
int MsgBoxShow(QWidget* owner, const QString& text, int style = MsgBox::OKOnly);

}  // namespace lumora
