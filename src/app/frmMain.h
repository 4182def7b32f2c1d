// frmMain: the editor's main window. The command area (a ribbon of flat buttons and the font and
// size lists), the workspace with the picture being composed, the help line and the caption box;
// the welcome panel while no document is open. The window owns the one document.
//
// The window is split by concern: frmMain.cpp builds and lays out the window and runs its life
// (load, activation, closing); frmMain_File.cpp has the file commands; frmMain_Format.cpp the
// command states and the list handlers.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QWidget>
#include <array>
#include <memory>

#include "app/WorkspacePicture.h"
#include "app/document/Document.h"
#include "compose/QtTextMeasurer.h"
#include "controls/RibbonContainer.h"
#include "controls/RibbonPanel.h"
#include "controls/cFileDialog.h"
#include "controls/vbkFlat.h"
#include "imaging/raster/Picture.h"

namespace lumora {

class frmMain : public QWidget {
  Q_OBJECT

 public:
  // The designed client area: 12180 x 8865 twips.
  static constexpr QSize kDesignedClientSize{812, 591};
  static constexpr int kWelcomeEntries = 4;  // entry 2 does not exist

  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  // The document and its picture.
  Document& document() { return m_document; }
  const raster::StdPicture& picture() const { return m_picture; }

  // Twips per pixel of the screen, read at load.
  int TwipsPerPixelX = 15;
  int TwipsPerPixelY = 15;

  // Commands (Part of the command area and the welcome panel).
  void NewDocument();
  void OpenDocument();
  void Save();
  void SaveAs();
  // 2 cancel, 6 saved, 7 not saved.
  int QueryClose();
  // Opens a project; an empty path asks for one. With reportErrors off a bad file is ignored.
  bool OpenFile(const QString& path, bool reportErrors);
  bool SaveFile(bool saveAs);
  void ShowAbout();
  void VisitWebSite();

  void UpdateControls();
  void ToggleTextOptions(bool enabled);
  void ToggleEffectsOptions(bool enabled);
  void ActivateCaptionControl();
  void CentrePicture();
  void RefreshCaption();
  static bool IsSymbolFont(const QString& name);

  // Elements, named as the window names them.
  RibbonContainer* RibbonContainer1;
  RibbonPanel* RibbonPanel1;
  RibbonPanel* RibbonPanel2;
  RibbonPanel* RibbonPanelText;
  RibbonPanel* RibbonPanelFont;
  RibbonPanel* RibbonPanelEffects;
  RibbonPanel* RibbonPanelSize;
  vbkFlat* cmdNew;
  vbkFlat* cmdOpen;
  vbkFlat* cmdSave;
  vbkFlat* cmdSaveAs;
  vbkFlat* cmdSaveImage;
  vbkFlat* vbkFlat1;  // Exit
  vbkFlat* vbkFlat2;  // web site
  vbkFlat* vbkFlat3;  // About
  vbkFlat* cmdAdd;
  vbkFlat* cmdSymbol;
  vbkFlat* cmdBringToFront;
  vbkFlat* cmdSendToBack;
  vbkFlat* cmdDelete;
  QFrame* frameFontCombo;
  QComboBox* cboFont;
  QComboBox* cboSize;
  vbkFlat* vkBold;
  vbkFlat* vkItalic;
  vbkFlat* vkUnderline;
  vbkFlat* vkStrikeout;
  vbkFlat* vkLeft;
  vbkFlat* vkCenter;
  vbkFlat* vkRight;
  vbkFlat* vkFontColor;
  QLabel* picForeColor;
  vbkFlat* vkShadow;
  vbkFlat* vkShadowColor;
  QLabel* picShadowColor;
  vbkFlat* vkGrow;
  vbkFlat* vkShrink;
  QLabel* Image2;
  QWidget* picWorkspace;
  WorkspacePicture* picPicture;
  QFrame* Shape2;
  QFrame* shpOutline;
  QFrame* Image1;
  QLabel* lblCaption;
  QLabel* lblInfo;
  QPlainTextEdit* txtCaption;
  QWidget* picWelcome;
  QLabel* Label4;
  std::array<QWidget*, kWelcomeEntries> picStartup{};
  std::array<QLabel*, kWelcomeEntries> imgStartup{};
  std::array<QLabel*, kWelcomeEntries> lblStartup{};
  std::array<QLabel*, kWelcomeEntries> lblStartup2{};
  QMenu* mnuContext;
  QAction* mnuInsertText;
  QAction* mnuInsertSymbol;
  QAction* mnuBringToFront;
  QAction* mnuSendToBack;
  QAction* mnuDelete;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildCommandArea();
  void BuildWorkspace();
  void BuildWelcomePanel();
  void BuildContextMenu();
  void Form_Load();
  void Form_Resize();
  void Form_Activate();
  void Form_Unload();
  void WelcomeClick(int index);
  void FontChosen(int row);
  void SizeChosen(int row);
  bool LoadTemplate(const std::string& templateName);
  vbkFlat* makeButton(QWidget* panel, const char* name, const QString& caption, const QString& icon, QRect where,
                      bool pressedColour = true);

  Document m_document;
  raster::StdPicture m_picture;
  QtTextMeasurer m_measurer;
  cFileDialog m_fileDialog;
  bool m_loaded = false;
  bool m_activated = false;
  bool m_settingLists = false;
};

}  // namespace lumora
