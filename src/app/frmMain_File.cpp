// frmMain's file commands: New, Open, Save, Save As, the save question, and the commands that
// leave the document alone (web site, About).
#include <QDropEvent>
#include <QMimeData>

#include "app/frmMain.h"
#include "app/mMain.h"
#include "base/AppInfo.h"
#include "compose/ImageConversion.h"
#include "compose/PictureLoader.h"
#include "compose/TemplateLibraries.h"
#include "controls/ErrorGuard.h"
#include "controls/ModalSeam.h"
#include "controls/OpenWebSite.h"
#include "controls/frmAbout.h"
#include "library/AddPicture.h"
#include "library/frmChooseClipart.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"
#include "project/TemplatePath.h"

namespace lumora {
namespace {

const QString kProjectFilter = QStringLiteral("ZEB Lumora Project Files (*.lmp)|*.lmp");

}  // namespace

void frmMain::RefreshCaption() { setWindowTitle(QString::fromStdString(m_document.WindowCaption())); }

int frmMain::QueryClose() {
  switch (MsgBoxShow(this, QStringLiteral("Do you want to save the current image?"),
                     MsgBox::YesNoCancel | MsgBox::Information)) {
    case MsgBox::Yes: return SaveFile(m_document.ProjectPath().empty()) ? MsgBox::Yes : MsgBox::Cancel;
    case MsgBox::No: return MsgBox::No;
    default: return MsgBox::Cancel;
  }
}

void frmMain::NewDocument() {
  if (m_document.Changed() && QueryClose() == MsgBox::Cancel) return;
  frmChooseClipart browser(this);
  Modal().exec(browser);
  if (!browser.TemplatePath.isEmpty()) StartDocument(browser.TemplatePath, browser.TemplateRelativePath);
}

void frmMain::NewDocumentOnPicture(const QString& file) {
  if (m_document.Changed() && QueryClose() == MsgBox::Cancel) return;
  const auto category = AskPictureCategory(this, UserTemplateLibrary());
  if (!category) return;
  const AddedPicture added = AddPictureToLibrary(file, *category, UserTemplateLibrary());
  if (!added) {
    MsgBoxShow(this, added.error, MsgBox::OKOnly | MsgBox::Exclamation);
    return;
  }
  StartDocument(added.fullPath, added.relativePath);
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedFiles(event->mimeData()).size() == 1) event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedFiles(event->mimeData());
  event->acceptProposedAction();
  if (files.size() == 1) Guarded([&] { NewDocumentOnPicture(files[0]); });
}

void frmMain::StartDocument(const QString& templatePath, const QString& templateName) {
  // A document whose template does not load would be saved naming a picture nobody saw.
  LoadedPicture loaded = LoadTemplatePicture(templatePath.toStdString());
  if (!loaded) {
    MsgBoxShow(this, QString::fromStdString(CannotOpenMessage(templatePath.toStdString(), loaded)),
               MsgBox::OKOnly | MsgBox::Exclamation);
    return;
  }
  m_picture = std::move(loaded.picture);
  m_pictureAlpha = std::move(loaded.alpha);
  picPicture->setPicture(ToQImage(m_picture));
  m_document.StartNewDocument(templateName.toStdString());
  m_lastExportName.clear();
  StartHistoryAfresh();
  CentrePicture();
  const QSize size = picPicture->pictureImage().size();
  m_document.RepositionText(m_measurer, size.width() * double(kTwipsPerPixel), size.height() * double(kTwipsPerPixel));
  ShowSelection();
  RefreshCaption();
  picPicture->update();
}

void frmMain::OpenDocument() { OpenFile({}, true); }
void frmMain::Save() { SaveFile(false); }
void frmMain::SaveAs() { SaveFile(true); }

bool frmMain::LoadTemplate(const std::string& templateName) {
  const auto path = ResolveTemplatePath(TemplateLibraries(), templateName);
  if (!path) return false;
  LoadedPicture loaded = LoadTemplatePicture(*path);
  if (!loaded) return false;
  m_picture = std::move(loaded.picture);
  m_pictureAlpha = std::move(loaded.alpha);
  picPicture->setPicture(ToQImage(m_picture));
  CentrePicture();
  return true;
}

bool frmMain::OpenFile(const QString& givenPath, bool reportErrors) {
  if (m_document.Changed() && QueryClose() == MsgBox::Cancel) return false;
  QString path = givenPath;
  if (path.isEmpty()) {
    m_fileDialog.setFileName({});
    m_fileDialog.setFilter(kProjectFilter);
    m_fileDialog.setFlags(cFileDialog::FileMustExist | cFileDialog::HideReadOnly);
    m_fileDialog.setHWnd(this);
    m_fileDialog.setCancelError(false);
    m_fileDialog.setDefaultExt({});
    m_fileDialog.ShowOpen();
    path = m_fileDialog.FileName();
    if (path.isEmpty()) return false;
  }
  ProjectReadCallbacks callbacks;
  callbacks.LoadTemplate = [this](const std::string& name) { return LoadTemplate(name); };
  const ProjectReadResult result = OpenProjectFile(path.toStdString(), m_document, callbacks);
  if (!result.Ok) {
    if (reportErrors)
      MsgBoxShow(this, QStringLiteral("Unable to open file."), MsgBox::OKCancel | MsgBox::Exclamation);
    picPicture->update();
    return false;
  }
  m_document.SetDocumentOpen();
  StartHistoryAfresh();
  RefreshCaption();
  UpdateControls();
  CentrePicture();
  picPicture->update();
  ShowSelection();
  if (const TextItem* item = m_document.CurrentItem(); item && !IsSymbolFont(QString::fromStdString(item->FontName))) {
    ShowItemCaption();
    ActivateCaptionControl();
  }
  m_document.SetChanged(false);
  return true;
}

bool frmMain::SaveFile(bool saveAs) {
  // A save that fails leaves the window naming the file it named before.
  const std::string previousPath = m_document.ProjectPath();
  if (saveAs || m_document.ProjectPath().empty()) {
    m_fileDialog.setFileName(QString::fromStdString(m_document.ProjectPath()));
    m_fileDialog.setFilter(kProjectFilter);
    m_fileDialog.setFlags(cFileDialog::OverwritePrompt | cFileDialog::HideReadOnly);
    m_fileDialog.setHWnd(this);
    m_fileDialog.setDefaultExt(QStringLiteral("lmp"));
    m_fileDialog.setCancelError(true);
    m_fileDialog.ShowSave();
    if (m_fileDialog.FileName().isEmpty()) return false;
    m_document.SetProjectPath(m_fileDialog.FileName().toStdString());
  }
  bool saved = false;
  if (!m_document.ProjectPath().empty()) {
    saved = SaveProjectFile(m_document.ProjectPath(), m_document);
    if (saved) {
      m_document.SetChanged(false);
      RefreshCaption();
    } else {
      m_document.SetProjectPath(previousPath);
      MsgBoxShow(this, QStringLiteral("Error saving file"));
    }
  }
  UpdateControls();
  return saved;
}

void frmMain::ShowAbout() {
  frmAbout about(this);
  Modal().exec(about);
}

void frmMain::VisitWebSite() { OpenWebSite(mMain::HomePageAddress(), this); }

}  // namespace lumora
