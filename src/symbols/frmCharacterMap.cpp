// frmCharacterMap: layout, loading, font and size choices, colours, preview and the results.
// The grid's drawing and its mouse and keyboard handling are in frmCharacterMap_Grid.cpp.
#include "symbols/frmCharacterMap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "base/Rounding.h"
#include "colour/DesignUnits.h"
#include "colour/frmColorPicker.h"
#include "controls/ErrorGuard.h"
#include "controls/ModalSeam.h"
#include "controls/QtColour.h"
#include "symbols/mdlFonts.h"

namespace lumora {
namespace {

constexpr double kWindowFontSize = 8.25;

void setTextColour(QLabel* label, Colour colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ToQColor(colour));
  label->setPalette(palette);
}

QPushButton* plainButton(const QString& caption, QWidget* parent, QRect geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(geometry);
  button->setAutoDefault(false);  // no button is drawn as the default one
  button->setDefault(false);
  return button;
}

QStringList singleByteCells() {
  QStringList cells;
  for (const QChar character : frmCharacterMap::CharacterSet()) cells.append(character);
  return cells;
}

// The classic faces draw their signs at byte codes; the others at their Unicode code points.
QStringList cellsOf(const QString& fontName) {
  if (!mdlFonts::IsSymbolFont(fontName) || mdlFonts::IsSingleByteSymbolFont(fontName)) return singleByteCells();
  QStringList cells = mdlFonts::CoveredCharacters(fontName, frmCharacterMap::kCellCount);
  while (cells.size() < frmCharacterMap::kCellCount) cells.append(QString());
  return cells;
}

}  // namespace

const QString& frmCharacterMap::CharacterSet() {
  static const QString set = [] {
    // Windows-1252 0x80..0x9F; the five unassigned codes keep their own value.
    static constexpr char16_t k80to9F[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                             0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString characters;
    for (int code = 32; code <= 255; ++code)
      characters += code >= 0x80 && code <= 0x9F ? QChar(k80to9F[code - 0x80]) : QChar(static_cast<char16_t>(code));
    characters += QLatin1Char(' ');
    return characters;
  }();
  return set;
}

frmCharacterMap::frmCharacterMap(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Insert Symbol"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(Px(8205), Px(8910));
  // Where Tahoma is missing, a face of like width keeps the captions inside their designed boxes.
  QFont windowFont = FontAtPoints(QStringLiteral("Tahoma"), kWindowFontSize);
  windowFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  setFont(windowFont);
  createControls();
  Suppressed([&] { load(); });
}

void frmCharacterMap::createControls() {
  auto* caption = new QLabel(QStringLiteral("&Symbol Collection:"), this);
  caption->setGeometry(PxRect(180, 195, 1305, 195));
  m_fontList = new QComboBox(this);  // a drop-down list: no typing
  m_fontList->move(Px(1530), Px(150));
  m_fontList->setFixedWidth(Px(2865));
  caption->setBuddy(m_fontList);
  // A substitute face may be wider than the designed one: the caption grows leftwards.
  caption->adjustSize();
  caption->move(std::max(2, std::min(caption->x(), m_fontList->x() - 3 - caption->width())), caption->y());

  m_grid = new QLabel(this);
  m_grid->setGeometry(PxRect(165, 585, 7920, 5415));
  m_grid->setFocusPolicy(Qt::StrongFocus);
  m_grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_grid->installEventFilter(this);

  createOptions();

  m_insert = plainButton(QStringLiteral("&Insert"), this, PxRect(5520, 8370, 1215, 375));
  m_cancel = plainButton(QStringLiteral("Cancel"), this, PxRect(6855, 8370, 1215, 375));

  // Never shown by themselves: the magnifier and its shadow float over the grid.
  m_magnifierShadow = new QLabel(this);
  m_magnifierShadow->setAutoFillBackground(true);
  QPalette shadowPalette = m_magnifierShadow->palette();
  shadowPalette.setColor(QPalette::Window, ToQColor(static_cast<Colour>(0x80000015u)));
  m_magnifierShadow->setPalette(shadowPalette);
  m_magnifier = new QLabel(this);
  m_magnifier->setAttribute(Qt::WA_TransparentForMouseEvents);
  m_magnifierShadow->setAttribute(Qt::WA_TransparentForMouseEvents);
  m_magnifier->hide();
  m_magnifierShadow->hide();

  m_noFonts = new QLabel(
      QStringLiteral("No symbol fonts are installed: Webdings, Wingdings, Wingdings 2 or Wingdings 3."), this);
  // Beside the empty list it explains, in the band above the grid: over the grid it hid a row.
  const int left = m_fontList->x() + m_fontList->width() + 8;
  m_noFonts->setGeometry(left, 4, m_grid->x() + m_grid->width() - left, m_grid->y() - 4 - 3);
  m_noFonts->setAlignment(Qt::AlignCenter);
  m_noFonts->setWordWrap(true);
  m_noFonts->setFrameShape(QFrame::Box);
  m_noFonts->setAutoFillBackground(true);
  QPalette infoPalette = m_noFonts->palette();
  infoPalette.setColor(QPalette::Window, ToQColor(static_cast<Colour>(0x80000018u)));
  infoPalette.setColor(QPalette::WindowText, ToQColor(static_cast<Colour>(0x80000017u)));
  m_noFonts->setPalette(infoPalette);
  m_noFonts->hide();

  connect(m_fontList, &QComboBox::currentTextChanged, this,
          [this](const QString& name) { Suppressed([&] { applyFont(name); }); });
  connect(m_insert, &QPushButton::clicked, this, [this] { Guarded([&] { insert(); }); });
  connect(m_cancel, &QPushButton::clicked, this, [this] { Guarded([&] { reject(); }); });
  connect(m_increase, &QPushButton::clicked, this, [this] { Guarded([&] { changeSize(+5); }); });
  connect(m_decrease, &QPushButton::clicked, this, [this] { Guarded([&] { changeSize(-5); }); });
  connect(m_foreColour, &QPushButton::clicked, this,
          [this] { Guarded([&] { chooseColour(m_previewColour, m_preview); }); });
  connect(m_shadowColourButton, &QPushButton::clicked, this,
          [this] { Guarded([&] { chooseColour(m_shadowColour, m_shadow); }); });
  connect(m_showShadow, &QCheckBox::toggled, this, [this](bool checked) {
    Guarded([&] {
      m_shadow->setVisible(checked);
      m_shadowColourButton->setEnabled(checked);
    });
  });
}

void frmCharacterMap::createOptions() {
  auto* options = new QGroupBox(QStringLiteral("Options"), this);
  options->setGeometry(PxRect(135, 6105, 5445, 2130));
  auto* sizeCaption = new QLabel(QStringLiteral("&Size:"), options);
  sizeCaption->move(Px(150), Px(360));
  auto* coloursCaption = new QLabel(QStringLiteral("&Colors:"), options);
  coloursCaption->move(Px(150), Px(855));
  auto* box = new QWidget(options);
  box->setGeometry(PxRect(885, 270, 2790, 870));
  m_increase = plainButton(QStringLiteral("&Increase Size"), box, PxRect(0, 0, 1350, 390));
  m_decrease = plainButton(QStringLiteral("&Decrease Size"), box, PxRect(1440, 0, 1350, 390));
  m_foreColour = plainButton(QStringLiteral("&Fore Color..."), box, PxRect(0, 480, 1350, 390));
  m_shadowColourButton = plainButton(QStringLiteral("Sha&dow Color..."), box, PxRect(1440, 480, 1350, 390));
  sizeCaption->setBuddy(m_increase);
  coloursCaption->setBuddy(m_foreColour);
  m_showShadow = new QCheckBox(QStringLiteral("&Show shadow"), options);
  m_showShadow->setGeometry(PxRect(1020 - 135, 7380 - 6105, 1470, 300));

  m_previewFrame = new QGroupBox(QStringLiteral("Preview"), this);
  m_previewFrame->setGeometry(PxRect(5670, 6105, 2415, 2130));
  m_shadow = new QLabel(m_previewFrame);
  m_preview = new QLabel(m_previewFrame);
  for (QLabel* label : {m_preview, m_shadow}) label->setFont(FontAtPoints(QStringLiteral("Tahoma"), kDesignSize));
  setTextColour(m_preview, m_previewColour);
  setTextColour(m_shadow, m_shadowColour);
  m_shadow->hide();
  PositionLabels();  // an empty preview too sits inside its frame, not over the title

  for (QWidget* control : std::initializer_list<QWidget*>{m_increase, m_decrease, m_foreColour,
                                                          m_shadowColourButton, m_showShadow})
    control->setEnabled(false);
}

void frmCharacterMap::load() {
  m_insert->setEnabled(false);
  m_gridFont = font().family();
  m_cells = singleByteCells();
  // Cells: the grid's size in twips over 15, in whole pixels; picTemp one line wider and higher.
  m_cellWidth = static_cast<int>(RoundHalfEven(m_grid->width() * 15.0 / kColumns)) / kTwipsPerPixel;
  m_cellHeight = static_cast<int>(RoundHalfEven(m_grid->height() * 15.0 / (kCellCount / kColumns))) / kTwipsPerPixel;
  m_cellWidthTwips = m_cellWidth * kTwipsPerPixel;
  m_cellHeightTwips = m_cellHeight * kTwipsPerPixel;
  m_cellImage = QImage(m_cellWidth + 1, m_cellHeight + 1, QImage::Format_RGB32);
  m_magnifier->resize(m_cellImage.width() * 3, m_cellImage.height() * 3);
  m_magnifierShadow->resize(m_magnifier->size());
  m_gridImage = QImage(m_grid->size(), QImage::Format_RGB32);

  mdlFonts::LoadSymbolFonts(*m_fontList);
  const bool noSymbolFonts = m_fontList->count() == 0;
  m_noFonts->setVisible(noSymbolFonts);
  m_grid->setEnabled(!noSymbolFonts);

  m_selectedChar = 0;
  DrawMap();
  m_cursorShown = true;
  m_magnifierShadow->raise();
  m_magnifier->raise();
  m_noFonts->raise();
}

void frmCharacterMap::applyFont(const QString& name) {
  for (QLabel* label : {m_preview, m_shadow}) {
    QFont font = label->font();
    font.setFamily(name);
    label->setFont(font);
  }
  m_gridFont = name;
  m_cells = cellsOf(name);
  DrawMap();
  PositionLabels();
}

void frmCharacterMap::setChosenText(const QString& text) {
  m_chosenText = text;
  const bool chosen = !text.isEmpty() && m_fontList->count() > 0;
  for (QWidget* control :
       std::initializer_list<QWidget*>{m_insert, m_foreColour, m_increase, m_decrease, m_showShadow})
    control->setEnabled(chosen);
  if (chosen) {
    m_increase->setEnabled(m_previewSize < 85);
    m_decrease->setEnabled(m_previewSize >= 10);
  }
  m_preview->setText(text);
  m_shadow->setText(text);
}

void frmCharacterMap::changeSize(double delta) {
  if (delta > 0 && m_previewSize < 85) {
    m_previewSize += delta;
    m_decrease->setEnabled(true);
  } else if (delta < 0 && m_previewSize >= 10) {
    m_previewSize += delta;
    m_increase->setEnabled(true);
  }
  m_increase->setEnabled(m_previewSize < 85);
  m_decrease->setEnabled(m_previewSize >= 10);
  for (QLabel* label : {m_preview, m_shadow}) label->setFont(FontAtPoints(label->font().family(), m_previewSize));
  PositionLabels();
}

void frmCharacterMap::chooseColour(Colour& target, QLabel* label) {
  frmColorPicker picker(this);
  Modal().exec(picker);
  if (picker.ResultColor == kNoColour) return;
  target = picker.ResultColor;
  setTextColour(label, target);
}

void frmCharacterMap::PositionLabels() {
  for (QLabel* label : {m_preview, m_shadow}) label->adjustSize();
  const QSize frame = m_previewFrame->size();
  m_preview->move((frame.width() - m_preview->width()) / 2, (frame.height() - m_preview->height()) / 2 + 2);
  const int d = m_previewSize < 17 ? 1 : m_previewSize < 38 ? 2 : m_previewSize < 49 ? 3 : 4;
  m_shadow->move(m_preview->pos() + QPoint(d, d));
  m_preview->raise();
}

void frmCharacterMap::insert() {
  SymbolText = m_chosenText;
  SymbolFontName = m_fontList->currentText();
  SymbolColor = m_previewColour;
  SymbolSize = RoundToInt<int16_t>(m_previewSize);
  SymbolShadow = m_showShadow->isChecked();
  SymbolShadowColor = m_shadowColour;
  accept();
}

void frmCharacterMap::reject() {
  SymbolText.clear();
  SymbolFontName.clear();
  SymbolSize = 20;
  SymbolColor = 0;
  QDialog::reject();
}

}  // namespace lumora
