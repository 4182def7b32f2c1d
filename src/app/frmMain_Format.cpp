// frmMain's command states (UpdateControls and the two option groups), the font and size lists
// and the caption box.
#include <QApplication>

#include "app/frmMain.h"
#include "base/Rounding.h"
#include "compose/DocumentUnits.h"
#include "controls/QtColour.h"
#include "symbols/mdlFonts.h"

namespace lumora {
namespace {

void setSwatch(QLabel* swatch, Colour colour) {
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, ToQColor(colour));
  swatch->setPalette(p);
}

// A flat button takes Disabled, any other control its enabled state.
void enableControl(QWidget* control, bool enabled) {
  if (auto* flat = qobject_cast<vbkFlat*>(control))
    flat->setDisabled(!enabled);
  else
    control->setEnabled(enabled);
}

// The caption as the box shows it: one "\n" a line break, without leading and trailing spaces
// (tabs and line breaks stay, or the next keystroke would drop them from the item).
QString BoxText(const std::string& caption) {
  QString text = QString::fromStdString(caption);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  qsizetype first = 0, end = text.size();
  while (first < end && text.at(first) == u' ') ++first;
  while (end > first && text.at(end - 1) == u' ') --end;
  return text.mid(first, end - first);
}

}  // namespace

bool frmMain::IsSymbolFont(const QString& name) { return mdlFonts::IsSymbolFont(name); }

void frmMain::ActivateCaptionControl() {
  if (txtCaption->isEnabled() && txtCaption->isVisible()) txtCaption->setFocus();
}

void frmMain::ToggleTextOptions(bool enabled) {
  txtCaption->setEnabled(enabled);
  if (!enabled && !txtCaption->toPlainText().isEmpty()) {
    m_fillingCaption = true;
    txtCaption->clear();
    m_fillingCaption = false;
  }
  for (QWidget* control : RibbonPanelFont->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (control != RibbonPanelFont->captionLabel()) enableControl(control, enabled);
  for (QWidget* control : RibbonPanelText->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (control != cmdAdd && control != cmdSymbol && control != RibbonPanelText->captionLabel())
      enableControl(control, enabled);
  cboFont->setEnabled(frameFontCombo->isEnabled());
}

void frmMain::ToggleEffectsOptions(bool enabled) {
  picForeColor->setVisible(enabled);
  picShadowColor->setVisible(enabled);
  picOutlineColor->setVisible(enabled);
  cmdDelete->setDisabled(!enabled);
  cmdBringToFront->setDisabled(!enabled);
  cmdSendToBack->setDisabled(!enabled);
  for (QWidget* control : RibbonPanelEffects->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (control != RibbonPanelEffects->captionLabel() && control != picForeColor && control != picShadowColor &&
        control != picOutlineColor)
      enableControl(control, enabled);
}

void frmMain::UpdateControls() {
  const bool open = m_document.DocumentOpen();
  lblInfo->setText(open ? QStringLiteral("Add or select some text and change it by typing in the box below.  To "
                                         "position text select it and move it with your mouse.")
                        : QString());
  picWelcome->setVisible(!open);
  lblZoom->setVisible(open);
  cmdSave->setDisabled(!open);
  cmdSaveImage->setDisabled(!open);
  cmdAdd->setDisabled(!open);
  cmdSymbol->setDisabled(!open);
  cmdSaveAs->setDisabled(m_document.ProjectPath().empty());
  picPicture->setEnabled(open);
  const TextItem* item = m_document.CurrentItem();
  if (!item) {
    vkGrow->setDisabled(true);
    vkShrink->setDisabled(true);
    ToggleTextOptions(false);
    ToggleEffectsOptions(false);
  } else {
    const QString fontName = QString::fromStdString(item->FontName);
    const bool symbol = IsSymbolFont(fontName);
    ToggleTextOptions(!symbol);
    ToggleEffectsOptions(true);
    if (symbol) {
      vkGrow->setDisabled(item->FontSize > 85);
      vkShrink->setDisabled(item->FontSize < 10);
    } else {
      // The program sets the lists: their choice handlers must not run again from here.
      m_settingLists = true;
      if (const int row = cboFont->findText(fontName, Qt::MatchExactly | Qt::MatchCaseSensitive); row >= 0)
        cboFont->setCurrentIndex(row);
      const int wanted = static_cast<int>(item->FontSize + 0.26);
      const int sizeRow = cboSize->findText(QString::number(wanted), Qt::MatchExactly);
      cboSize->setCurrentIndex(sizeRow >= 0 ? sizeRow : 0);
      m_settingLists = false;
      vkLeft->setChecked(item->Alignment == TextAlignment::Left);
      vkCenter->setChecked(item->Alignment == TextAlignment::Centre);
      vkRight->setChecked(item->Alignment == TextAlignment::Right);
      vkBold->setChecked(item->FontBold);
      vkItalic->setChecked(item->FontItalic);
      vkUnderline->setChecked(item->FontUnderline);
      vkStrikeout->setChecked(item->FontStrikethru);
      m_foreSwatch = item->ForeColor;
      setSwatch(picForeColor, m_foreSwatch);
      ShowItemCaption();
      vkGrow->setDisabled(cboSize->currentIndex() == cboSize->count() - 1);
      vkShrink->setDisabled(cboSize->currentIndex() == 0);
    }
    vkShadow->setChecked(item->Shadow);
    m_shadowSwatch = item->ShadowColor;
    setSwatch(picShadowColor, m_shadowSwatch);
    vkOutline->setChecked(item->Outline);
    m_outlineSwatch = item->OutlineColor;
    setSwatch(picOutlineColor, m_outlineSwatch);
    m_settingLists = true;
    spnOutlineWidth->setValue(item->OutlineWidth);
    spnShadowBlur->setValue(item->ShadowBlur);
    spnBoxWidth->setValue(TwipsToPixels(item->BoxWidth));
    spnArc->setValue(item->Arc);
    m_settingLists = false;
    vkFit->setChecked(item->FitToBox);
  }
  const bool canAdd = !cmdAdd->Disabled();
  mnuInsertText->setEnabled(canAdd);
  mnuInsertSymbol->setEnabled(canAdd);
  mnuDelete->setEnabled(item != nullptr);
  mnuBringToFront->setEnabled(item != nullptr);
  mnuSendToBack->setEnabled(item != nullptr);
}

// The program's own refill of the caption box shows the item; it is not an edit.
void frmMain::ShowItemCaption() {
  const TextItem* item = m_document.CurrentItem();
  const QString caption = item ? BoxText(item->Caption) : QString();
  if (txtCaption->toPlainText() == caption) return;
  m_fillingCaption = true;
  txtCaption->setPlainText(caption);
  m_fillingCaption = false;
}

void frmMain::CaptionChanged() {
  if (m_fillingCaption || !txtCaption->isEnabled() || !m_document.CurrentItem()) return;
  const int index = m_document.CurrentIndex();
  Remember(index);
  m_document.SetCaption(index, txtCaption->toPlainText().toStdString());
  m_document.SetChanged(true);
  picPicture->update();
  ShowObjectFocus();
  if (QApplication::focusWidget() != txtCaption) ActivateCaptionControl();
}

void frmMain::FontChosen(int row) {
  if (m_settingLists || row < 0) return;
  if (m_document.CurrentItem()) Remember();
  const QString name = cboFont->itemText(row);
  if (!IsSymbolFont(name)) m_document.SetLastFontName(name.toStdString());
  m_document.EditItem(m_document.CurrentIndex(), [&](TextItem& item) { item.FontName = name.toStdString(); });
  picPicture->update();
  if (m_document.CurrentItem()) ShowSelection();
  ActivateCaptionControl();
}

void frmMain::SizeChosen(int row) {
  if (m_settingLists || row < 0) return;
  if (m_document.CurrentItem()) Remember();
  const double size = cboSize->itemText(row).toDouble();
  if (!IsSymbolFont(cboFont->currentText())) m_document.SetLastFontSize(RoundToInt<int>(size));
  m_document.EditItem(m_document.CurrentIndex(), [&](TextItem& item) { item.FontSize = static_cast<float>(size); });
  picPicture->update();
  if (m_document.CurrentItem()) ShowSelection();
  ActivateCaptionControl();
}

}  // namespace lumora
