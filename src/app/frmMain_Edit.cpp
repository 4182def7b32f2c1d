// frmMain's editing commands: inserting, formatting, restacking and deleting text items, the
// picture export, undo and redo, and the keyboard shortcuts that reach them.
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>

#include "app/frmExportOptions.h"
#include "app/frmMain.h"
#include "base/Rounding.h"
#include "colour/frmColorPicker.h"
#include "compose/BuildImage.h"
#include "compose/CompositeOnTemplate.h"
#include "compose/DocumentUnits.h"
#include "compose/TextLayout.h"
#include "compose/WaitCursor.h"
#include "controls/ErrorGuard.h"
#include "controls/ModalSeam.h"
#include "controls/QtColour.h"
#include "pictureio/ImageExport.h"
#include "symbols/frmCharacterMap.h"

namespace lumora {
namespace {

const QString kImageFilter = QStringLiteral(
    "JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|Windows Bitmap Files (*.bmp)|*.bmp|PNG Files (*.png)|*.png|"
    "All Files (*.*)|*.*");

void paintSwatch(QLabel* swatch, Colour colour) {
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, ToQColor(colour));
  swatch->setPalette(p);
}

}  // namespace

void frmMain::ConnectEditing() {
  auto on = [this](vbkFlat* button, void (frmMain::*command)()) {
    connect(button, &vbkFlat::OnClick, this, [this, command] { Guarded([&] { (this->*command)(); }); });
  };
  on(cmdAdd, &frmMain::InsertText);
  on(cmdSymbol, &frmMain::InsertSymbol);
  on(cmdDelete, &frmMain::DeleteItem);
  on(cmdBringToFront, &frmMain::BringItemToFront);
  on(cmdSendToBack, &frmMain::SendItemToBack);
  on(cmdSaveImage, &frmMain::SaveImage);
  on(vkFontColor, &frmMain::ChooseTextColour);
  on(vkShadowColor, &frmMain::ChooseShadowColour);
  on(vkShadow, &frmMain::ToggleShadow);
  on(vkOutline, &frmMain::ToggleOutline);
  on(vkFit, &frmMain::ToggleFit);
  struct Number { QSpinBox* box; int TextItem::*field; int scale; };
  const Number numbers[] = {{spnOutlineWidth, &TextItem::OutlineWidth, 1},
                            {spnShadowBlur, &TextItem::ShadowBlur, 1},
                            {spnBoxWidth, &TextItem::BoxWidth, kTwipsPerPixel},
                            {spnArc, &TextItem::Arc, 1}};
  for (auto [box, field, scale] : numbers)
    connect(box, &QSpinBox::valueChanged, this,
            [this, f = field, k = scale](int value) { Guarded([&] { EffectChosen(f, value * k); }); });
  on(vkGrow, &frmMain::Grow);
  on(vkShrink, &frmMain::Shrink);
  on(cmdUndo, &frmMain::Undo);
  on(cmdRedo, &frmMain::Redo);
  for (vbkFlat* style : {vkBold, vkItalic, vkUnderline, vkStrikeout})
    connect(style, &vbkFlat::OnClick, this, [this, style] { Guarded([&] { ToggleStyle(style); }); });
  const std::pair<vbkFlat*, TextAlignment> alignments[] = {
      {vkLeft, TextAlignment::Left}, {vkCenter, TextAlignment::Centre}, {vkRight, TextAlignment::Right}};
  for (auto [button, alignment] : alignments)
    connect(button, &vbkFlat::OnClick, this, [this, a = alignment] { Guarded([&] { SetAlignment(a); }); });
  auto menu = [this](QAction* action, void (frmMain::*command)()) {
    connect(action, &QAction::triggered, this, [this, command] { Guarded([&] { (this->*command)(); }); });
  };
  menu(mnuInsertText, &frmMain::InsertText);
  menu(mnuInsertSymbol, &frmMain::InsertSymbol);
  menu(mnuBringToFront, &frmMain::BringItemToFront);
  menu(mnuSendToBack, &frmMain::SendItemToBack);
  menu(mnuDelete, &frmMain::DeleteItem);
  connect(txtCaption, &QPlainTextEdit::textChanged, this, [this] { Guarded([&] { CaptionChanged(); }); });
}

void frmMain::CreateShortcuts() {
  // Each shortcut runs its command only when the command area offers it.
  auto shortcut = [this](QList<QKeySequence> keys, std::function<bool()> allowed, void (frmMain::*command)()) {
    auto* action = new QAction(this);
    action->setShortcuts(keys);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, allowed, command] {
      Guarded([&] {
        if (allowed()) (this->*command)();
      });
    });
  };
  auto offered = [](vbkFlat* button) { return [button] { return !button->Disabled(); }; };
  shortcut({QKeySequence::New}, offered(cmdNew), &frmMain::NewDocument);
  shortcut({QKeySequence::Open}, offered(cmdOpen), &frmMain::OpenDocument);
  shortcut({QKeySequence(Qt::CTRL | Qt::Key_S)}, offered(cmdSave), &frmMain::Save);
  shortcut({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, offered(cmdSave), &frmMain::SaveAs);
  shortcut({QKeySequence(Qt::CTRL | Qt::Key_E)}, offered(cmdSaveImage), &frmMain::SaveImage);
  shortcut({QKeySequence(Qt::CTRL | Qt::Key_T)}, offered(cmdAdd), &frmMain::InsertText);
  shortcut({QKeySequence(Qt::Key_Delete)}, offered(cmdDelete), &frmMain::DeleteItem);
  shortcut({QKeySequence(Qt::CTRL | Qt::Key_Z)}, [this] { return CanUndo(); }, &frmMain::Undo);
  shortcut({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
           [this] { return CanRedo(); }, &frmMain::Redo);
  const auto open = [this] { return m_document.DocumentOpen(); };
  shortcut({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, open, &frmMain::ZoomIn);
  shortcut({QKeySequence::ZoomOut}, open, &frmMain::ZoomOut);
  shortcut({QKeySequence(Qt::CTRL | Qt::Key_0)}, open, &frmMain::ZoomActual);
  shortcut({QKeySequence(Qt::CTRL | Qt::Key_9)}, open, &frmMain::ZoomToFit);
  // The ribbon's boxes would keep Ctrl+E as "end of line"; eventFilter hands it on.
  for (QWidget* box : findChildren<QAbstractSpinBox*>()) box->installEventFilter(this);
  for (QWidget* box : findChildren<QComboBox*>()) box->installEventFilter(this);
}

void frmMain::Remember(int mergeKey) {
  if (mergeKey == 0) m_history.Seal();
  m_history.Remember(m_document, mergeKey);
  RefreshUndoButtons();
}

void frmMain::StartHistoryAfresh() {
  m_history.Clear();
  RefreshUndoButtons();
}

void frmMain::RefreshUndoButtons() {
  cmdUndo->setDisabled(!CanUndo());
  cmdRedo->setDisabled(!CanRedo());
}

void frmMain::ShowRestored(Document restored) {
  // The file the document belongs to does not go back in time; the document differs from it now.
  const std::string path = m_document.ProjectPath();
  m_document = std::move(restored);
  m_document.SetProjectPath(path);
  m_document.SetChanged(true);
  PictureReleased();
  ShowSelection();
  ShowItemCaption();
  RefreshCaption();
}

void frmMain::Undo() {
  if (m_history.CanUndo()) ShowRestored(m_history.Undo(m_document));
  RefreshUndoButtons();
}

void frmMain::Redo() {
  if (m_history.CanRedo()) ShowRestored(m_history.Redo(m_document));
  RefreshUndoButtons();
}

void frmMain::InsertText() {
  QString fontName = cboFont->currentText();
  int size = RoundToInt<int>(cboSize->currentText().toDouble());
  if (IsSymbolFont(fontName)) {
    fontName = QString::fromStdString(m_document.LastFontName());
    size = m_document.LastFontSize();
  }
  Remember();
  m_document.SetChanged(true);
  m_document.ClearSelection();
  const int index = m_document.CreateItem();
  if (index == 0) return;  // the document holds as many items as it can
  m_document.SetCaption(index, "enter your text");
  // Centred while the item still has the hidden template item's font.
  const QSize picture = picPicture->pictureImage().size();
  m_document.CentreItem(index, m_measurer, PixelsToTwips(picture.width()), PixelsToTwips(picture.height()));
  m_document.EditItem(index, [&](TextItem& item) {
    item.FontName = fontName.toStdString();
    item.FontSize = static_cast<float>(size);
    item.FontBold = vkBold->Checked();
    item.FontItalic = vkItalic->Checked();
    item.FontUnderline = vkUnderline->Checked();
    item.FontStrikethru = vkStrikeout->Checked();
    item.ForeColor = m_foreSwatch;
    item.ShadowColor = m_shadowSwatch;
    item.Shadow = vkShadow->Checked();
    item.ShadowBlur = spnShadowBlur->value();
    item.Outline = vkOutline->Checked();
    item.OutlineColor = m_outlineSwatch;
    item.OutlineWidth = spnOutlineWidth->value();
    item.Visible = true;
  });
  m_document.BringToFront(index);
  ScrollIntoView(ItemRect(*m_document.CurrentItem()));
  ShowSelection();
  ShowItemCaption();
  ActivateCaptionControl();
}

void frmMain::InsertSymbol() {
  frmCharacterMap map(this);
  Modal().exec(map);
  if (map.SymbolText.isEmpty()) return;
  Remember();
  m_document.SetChanged(true);
  m_document.ClearSelection();
  const int index = m_document.CreateItem();
  if (index == 0) return;
  m_document.SetCaption(index, map.SymbolText.toStdString());
  const QSize picture = picPicture->pictureImage().size();
  m_document.CentreItem(index, m_measurer, PixelsToTwips(picture.width()), PixelsToTwips(picture.height()));
  m_document.EditItem(index, [&](TextItem& item) {
    item.FontName = map.SymbolFontName.toStdString();
    item.FontSize = map.SymbolSize;
    item.ForeColor = map.SymbolColor;
    item.FontBold = item.FontItalic = item.FontUnderline = item.FontStrikethru = false;
    item.Shadow = map.SymbolShadow;
    item.ShadowColor = map.SymbolShadowColor;
    item.Visible = true;
  });
  ScrollIntoView(ItemRect(*m_document.CurrentItem()));
  ShowSelection();
}

void frmMain::NudgeItem(int dx, int dy) {
  const TextItem* item = m_document.CurrentItem();
  if (!item) return;
  Remember();
  m_document.MoveItem(item->Index, item->Left + PixelsToTwips(dx), item->Top + PixelsToTwips(dy));
  ShowObjectFocus();
  picPicture->update();
}

// Arrow keys that no control used (the caption box and the lists keep theirs) nudge the item.
void frmMain::keyPressEvent(QKeyEvent* event) {
  const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
  int dx = 0, dy = 0;
  switch (event->key()) {
    case Qt::Key_Left: dx = -step; break;
    case Qt::Key_Right: dx = step; break;
    case Qt::Key_Up: dy = -step; break;
    case Qt::Key_Down: dy = step; break;
    default: QWidget::keyPressEvent(event); return;
  }
  Guarded([&] { NudgeItem(dx, dy); });
}

void frmMain::DeleteItem() {
  if (!m_document.CurrentItem()) return;
  Remember();
  m_document.DeleteCurrentTextItem();
  ShowSelection();
}

void frmMain::BringItemToFront() {
  if (!m_document.CurrentItem()) return;
  Remember();
  m_document.BringToFront(m_document.CurrentIndex());
  ShowSelection();
}

void frmMain::SendItemToBack() {
  if (!m_document.CurrentItem()) return;
  Remember();
  m_document.SendToBack(m_document.CurrentIndex());
  ShowSelection();
}

void frmMain::ToggleStyle(vbkFlat* button) {
  Remember();
  button->setChecked(!button->Checked());
  const bool on = button->Checked();
  m_document.EditItem(m_document.CurrentIndex(), [&](TextItem& item) {
    if (button == vkBold) item.FontBold = on;
    if (button == vkItalic) item.FontItalic = on;
    if (button == vkUnderline) item.FontUnderline = on;
    if (button == vkStrikeout) item.FontStrikethru = on;
  });
  ShowSelection();
  ActivateCaptionControl();
}

void frmMain::SetAlignment(TextAlignment alignment) {
  Remember();
  vkLeft->setChecked(alignment == TextAlignment::Left);
  vkCenter->setChecked(alignment == TextAlignment::Centre);
  vkRight->setChecked(alignment == TextAlignment::Right);
  m_document.EditItem(m_document.CurrentIndex(), [&](TextItem& item) { item.Alignment = alignment; });
  picPicture->update();
}

Colour frmMain::PickColour() {
  frmColorPicker picker(this);
  Modal().exec(picker);
  return picker.ResultColor;
}

void frmMain::ChooseColour(Colour& swatchColour, QLabel* swatch, Colour TextItem::*field) {
  if (!m_document.CurrentItem()) return;
  const Colour colour = PickColour();
  if (colour != kNoColour) {
    Remember();
    swatchColour = colour;
    paintSwatch(swatch, colour);
    m_document.EditItem(m_document.CurrentIndex(), [&](TextItem& item) { item.*field = colour; });
    picPicture->update();
  }
  ActivateCaptionControl();
}

void frmMain::ChooseTextColour() { ChooseColour(m_foreSwatch, picForeColor, &TextItem::ForeColor); }

void frmMain::ChooseShadowColour() { ChooseColour(m_shadowSwatch, picShadowColor, &TextItem::ShadowColor); }

void frmMain::ChooseOutlineColour() { ChooseColour(m_outlineSwatch, picOutlineColor, &TextItem::OutlineColor); }

void frmMain::ToggleEffect(vbkFlat* button, bool TextItem::*field) {
  Remember();
  button->setChecked(!button->Checked());
  const bool on = button->Checked();
  m_document.EditItem(m_document.CurrentIndex(), [&](TextItem& item) { item.*field = on; });
  ShowSelection();
  ActivateCaptionControl();
}

void frmMain::ToggleShadow() { ToggleEffect(vkShadow, &TextItem::Shadow); }

void frmMain::ToggleOutline() { ToggleEffect(vkOutline, &TextItem::Outline); }

// Fit with no box yet takes the box the text fills as it stands: more text then shrinks into it.
void frmMain::ToggleFit() {
  const TextItem* item = m_document.CurrentItem();
  if (!item) return;
  Remember();
  const bool on = !item->FitToBox;
  m_document.EditItem(m_document.CurrentIndex(), [&](TextItem& edited) {
    if (on && edited.BoxWidth == 0) {
      const TextLayout layout = LayOutText(edited);
      const auto twips = [](int pixels) { return std::max(static_cast<int>(PixelsToTwips(pixels)), kTwipsPerPixel); };
      edited.BoxWidth = twips(layout.width), edited.BoxHeight = twips(layout.height());
    }
    edited.FitToBox = on;
  });
  ShowSelection();
  ActivateCaptionControl();
}

void frmMain::EffectChosen(int TextItem::*field, int value) {
  if (m_settingLists || !m_document.CurrentItem()) return;
  Remember();
  m_document.EditItem(m_document.CurrentIndex(), [&](TextItem& item) { item.*field = value; });
  picPicture->update();
}

void frmMain::Grow() {
  const TextItem* item = m_document.CurrentItem();
  if (!item) return;
  if (IsSymbolFont(QString::fromStdString(item->FontName))) {
    Remember();
    m_document.EditItem(item->Index, [](TextItem& i) { i.FontSize += 5; });
  } else if (cboSize->currentIndex() + 1 < cboSize->count()) {
    cboSize->setCurrentIndex(cboSize->currentIndex() + 1);
  }
  ShowSelection();
}

void frmMain::Shrink() {
  const TextItem* item = m_document.CurrentItem();
  if (!item) return;
  if (IsSymbolFont(QString::fromStdString(item->FontName))) {
    Remember();
    m_document.EditItem(item->Index, [](TextItem& i) { i.FontSize = std::max(TextItem::kMinFontSize, i.FontSize - 5); });
  } else if (cboSize->currentIndex() > 0) {
    cboSize->setCurrentIndex(cboSize->currentIndex() - 1);
  }
  ShowSelection();
}

void frmMain::SaveImage() {
  if (m_picture.IsNull()) {
    MsgBoxShow(this, QString::fromUtf8(kImageNotSaved), MsgBox::OKCancel | MsgBox::Exclamation);
    return;
  }
  m_fileDialog.setFileName(m_lastExportName);
  m_fileDialog.setFilter(kImageFilter);
  m_fileDialog.setFlags(cFileDialog::OverwritePrompt | cFileDialog::HideReadOnly);
  m_fileDialog.setHWnd(this);
  m_fileDialog.setDefaultExt(QStringLiteral("jpg"));
  m_fileDialog.setCancelError(true);
  m_fileDialog.setOptionsCommand(&frmExportOptions::Edit);
  m_fileDialog.ShowSave();
  m_fileDialog.setOptionsCommand({});
  const QString name = m_fileDialog.FileName();
  if (name.isEmpty()) return;
  m_lastExportName = name;
  const ExportOptions options = LoadExportOptions();
  ImageExport exporter;
  PrepareTransparency(exporter, name.toStdString(), options, m_document, m_picture, m_pictureAlpha);
  // An exported picture is not a saved project: the save question stays as it was.
  const ExportResult result = [&] {
    WaitCursor wait;  // a large GIF takes a while to reduce and write
    // On the template itself, which is itself again before the workspace paints or a message shows.
    const CompositeOnTemplate onTemplate(m_document, m_picture);
    std::shared_ptr<raster::Bitmap> copy;
    const raster::Bitmap* composite = onTemplate.Composite();
    if (!composite) composite = (copy = BuildImage(m_document, m_picture)).get();
    if (!composite) return ExportResult{false, kImageNotSaved};
    exporter.Prepare(*composite);
    return exporter.Save(name.toStdString(), m_gif, options);
  }();
  if (!result && !result.Message.empty())
    MsgBoxShow(this, QString::fromStdString(result.Message), MsgBox::OKOnly | MsgBox::Exclamation);
}

}  // namespace lumora
