#include "app/frmExportOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <algorithm>

#include "controls/DialogFont.h"
#include "controls/ModalSeam.h"

namespace lumora {
namespace {

const QString kQuality = QStringLiteral("Export/JpegQuality"), kPalette = QStringLiteral("Export/GifPalette"),
              kPngAlpha = QStringLiteral("Export/PngAlpha");

}  // namespace

ExportOptions LoadExportOptions() {
  const QSettings settings(QStringLiteral("ZEB Software"));
  ExportOptions options;
  options.JpegQuality = std::clamp(settings.value(kQuality, options.JpegQuality).toInt(), 1, 100);
  options.Palette = settings.value(kPalette).toString() == QStringLiteral("Best") ? GifPalette::Best : GifPalette::Classic;
  options.PngAlpha = settings.value(kPngAlpha, false).toBool();
  return options;
}

void SaveExportOptions(const ExportOptions& options) {
  QSettings settings(QStringLiteral("ZEB Software"));
  settings.setValue(kQuality, options.JpegQuality);
  settings.setValue(kPalette, options.Palette == GifPalette::Best ? QStringLiteral("Best") : QStringLiteral("Classic"));
  settings.setValue(kPngAlpha, options.PngAlpha);
}

frmExportOptions::frmExportOptions(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Export Options"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  setFont(DialogFont());
  auto* form = new QFormLayout(this);
  spnQuality = new QSpinBox(this);
  spnQuality->setRange(1, 100);
  spnQuality->setSuffix(QStringLiteral(" %"));
  spnQuality->setToolTip(QStringLiteral("100 keeps the most detail; lower makes smaller files"));
  form->addRow(QStringLiteral("JPEG &quality:"), spnQuality);
  cboPalette = new QComboBox(this);
  cboPalette->addItems({QStringLiteral("Classic"), QStringLiteral("Best (keeps thin text's colours)")});
  form->addRow(QStringLiteral("GIF &palette:"), cboPalette);
  chkPngAlpha = new QCheckBox(QStringLiteral("PNG keeps the template's &transparency"), this);
  form->addRow(chkPngAlpha);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  cmdOK = buttons->button(QDialogButtonBox::Ok);
  cmdCancel = buttons->button(QDialogButtonBox::Cancel);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  const ExportOptions options = LoadExportOptions();
  spnQuality->setValue(options.JpegQuality);
  cboPalette->setCurrentIndex(options.Palette == GifPalette::Best ? 1 : 0);
  chkPngAlpha->setChecked(options.PngAlpha);
}

void frmExportOptions::Edit(QWidget* owner) {
  frmExportOptions window(owner);
  if (Modal().exec(window) != QDialog::Accepted) return;
  SaveExportOptions({window.spnQuality->value(),
                     window.cboPalette->currentIndex() == 1 ? GifPalette::Best : GifPalette::Classic,
                     window.chkPngAlpha->isChecked()});
}

}  // namespace lumora
