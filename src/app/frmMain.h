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
#include <QScrollBar>
#include <QSpinBox>
#include <QWidget>
#include <array>
#include <memory>

#include "app/UndoHistory.h"
#include "app/WorkspacePicture.h"
#include "compose/QtTextMeasurer.h"
#include "controls/RibbonContainer.h"
#include "controls/RibbonPanel.h"
#include "controls/cDeluxeComboBox.h"
#include "controls/cFileDialog.h"
#include "controls/vbkFlat.h"
#include "document/Document.h"
#include "imaging/raster/Picture.h"
#include "pictureio/GifExport.h"

namespace lumora {

class frmMain : public QWidget {
  Q_OBJECT

 public:
  // The designed client area: 13530 x 8865 twips (wider than the classic 12180 for the effects).
  static constexpr QSize kDesignedClientSize{1002, 591};
  static constexpr int kWelcomeEntries = 4;  // entry 2 does not exist

  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  // The document and its picture.
  Document& document() { return m_document; }
  const raster::StdPicture& picture() const { return m_picture; }

  // Twips per pixel of the screen, read at load.
  int TwipsPerPixelX = 15;
  int TwipsPerPixelY = 15;

  // Commands of the command area and the welcome panel.
  void NewDocument();
  // A picture of the user's (dropped on the window): copied into the user's library, then a new
  // document on it, after the save question as New has it.
  void NewDocumentOnPicture(const QString& file);
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

  // Editing commands (frmMain_Edit.cpp).
  void InsertText();
  void InsertSymbol();
  void DeleteItem();
  // Moves the selected item by whole pixels (arrow keys: 1, with Shift 10).
  void NudgeItem(int dx, int dy);
  void BringItemToFront();
  void SendItemToBack();
  void ToggleStyle(vbkFlat* button);
  void SetAlignment(TextAlignment alignment);
  void ChooseTextColour();
  void ChooseShadowColour();
  void ToggleShadow();
  void ToggleOutline();
  void ToggleFit();
  void ChooseOutlineColour();
  void Grow();
  void Shrink();
  void SaveImage();
  void Undo();
  void Redo();
  bool CanUndo() const { return m_history.CanUndo(); }
  bool CanRedo() const { return m_history.CanRedo(); }

  // Selection and the mouse on the picture (frmMain_Selection.cpp).
  void ClearSelection();
  void ShowSelection();
  void ShowObjectFocus();
  void ShowContextMenu(QPoint globalPos);
  // The top-most shown item under a point of the picture; 0 when there is none.
  int ItemAt(QPointF picturePoint) const;
  // Where an item's text is drawn on the picture, in pixels.
  QRect ItemRect(const TextItem& item) const;
  bool Dragging = false;

  void UpdateControls();
  void ToggleTextOptions(bool enabled);
  void ToggleEffectsOptions(bool enabled);
  void ActivateCaptionControl();
  void CentrePicture();

  // The workspace's zoom (frmMain_Zoom.cpp), in the steps of kZoomSteps between 25 % and 800 %;
  // the picture point under `anchor` (workspace pixels) stays where it is.
  void ZoomIn();
  void ZoomOut();
  void ZoomActual();
  void ZoomToFit();
  void SetZoom(int percent, QPointF anchor);
  void SetZoom(int percent);
  // Scrolls a larger picture so that this rectangle of it (picture pixels) is in view.
  void ScrollIntoView(const QRect& pictureRect);
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
  cDeluxeComboBox m_fontListLook;  // draws cboFont's names in their own faces
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
  vbkFlat* vkOutline;
  QLabel* picOutlineColor;
  QSpinBox* spnOutlineWidth;
  QSpinBox* spnShadowBlur;
  vbkFlat* vkFit;
  QSpinBox* spnBoxWidth;
  QSpinBox* spnArc;
  vbkFlat* vkGrow;
  vbkFlat* vkShrink;
  vbkFlat* cmdUndo;
  vbkFlat* cmdRedo;
  QLabel* Image2;
  QWidget* picWorkspace;
  WorkspacePicture* picPicture;
  QFrame* Shape2;
  QFrame* shpOutline;
  // Shown when the picture is larger than the workspace, so that every part of it can be reached.
  QScrollBar* hsbWorkspace;
  QScrollBar* vsbWorkspace;
  QFrame* Image1;
  QLabel* lblCaption;
  QLabel* lblInfo;
  QLabel* lblZoom;
  QPlainTextEdit* txtCaption;
  QWidget* picWelcome;
  QLabel* Label4;
  std::array<QWidget*, kWelcomeEntries> picStartup{};
  std::array<QLabel*, kWelcomeEntries> imgStartup{};
  std::array<QLabel*, kWelcomeEntries> lblStartup{};
  std::array<QLabel*, kWelcomeEntries> lblStartup2{};
  std::array<QFrame*, 2> shpFocus{};
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
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildCommandArea();
  void BuildWorkspace();
  void BuildWelcomePanel();
  void BuildContextMenu();
  void BuildFocusMarks();
  void ConnectEditing();
  void CreateShortcuts();
  void CaptionChanged();
  void PicturePressed(QPointF pos, Qt::MouseButton button, QPoint globalPos);
  void PictureMoved(QPointF pos);
  void BuildZoom();
  void PictureReleased();
  void Remember(int mergeKey = 0);
  void ShowRestored(Document restored);
  void StartHistoryAfresh();
  void RefreshUndoButtons();
  void ShowItemCaption();
  Colour PickColour();
  // The colour commands: the picker's choice goes to the swatch and to the field of the selected item.
  void ChooseColour(Colour& swatchColour, QLabel* swatch, Colour TextItem::*field);
  // The effect buttons: the button's new state goes to that field of the selected item.
  void ToggleEffect(vbkFlat* button, bool TextItem::*field);
  // The effect numbers: a value chosen in a box goes to that field of the selected item.
  void EffectChosen(int TextItem::*field, int value);
  void Form_Load();
  void Form_Resize();
  void Form_Activate();
  void Form_Unload();
  void ShowFontNamesInTheirFaces();
  void WelcomeClick(int index);
  void FontChosen(int row);
  void SizeChosen(int row);
  bool LoadTemplate(const std::string& templateName);
  void StartDocument(const QString& templatePath, const QString& templateName);
  vbkFlat* makeButton(QWidget* panel, const char* name, const QString& caption, const QString& icon, QRect where,
                      bool pressedColour = true);

  Document m_document;
  raster::StdPicture m_picture;
  std::vector<uint8_t> m_pictureAlpha;  // the template's opacities; empty when it is opaque
  QtTextMeasurer m_measurer;
  cFileDialog m_fileDialog;
  bool m_loaded = false;
  bool m_activated = false;
  bool m_settingLists = false;  // the program, not the user, is filling the lists and number boxes
  bool m_fillingCaption = false;
  UndoHistory m_history;
  Colour m_foreSwatch = 0;
  Colour m_shadowSwatch = static_cast<Colour>(0x80000005);
  Colour m_outlineSwatch = 0;
  QPointF m_dragOffset;  // DragX, DragY: the press point inside the dragged text, twips
  bool m_dragRemembered = false;
  GifExport m_gif;
  QString m_lastExportName;
};

}  // namespace lumora
