#include "app/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <cmath>

#include "app/ErrorReport.h"
#include "app/mMain.h"
#include "base/AppInfo.h"
#include "base/SystemColors.h"
#include "compose/CentrePicture.h"
#include "compose/ImageConversion.h"
#include "controls/ErrorGuard.h"
#include "controls/LumoraIcons.h"
#include "controls/QtColour.h"
#include "controls/SubclassOwnerDraw.h"
#include "controls/modComboBoxWidth.h"
#include "controls/modStopResize.h"
#include "controls/modicon.h"
#include "symbols/mdlFonts.h"

namespace lumora {
namespace {

constexpr int kRowHeight = 22;
constexpr int kRows[] = {4, 26, 48};  // button rows inside a panel, above its caption band
constexpr Colour kButtonBg = 0xF3E5D5, kButtonOver = 0xF1D9C2, kButtonDown = 0xE1C7AE, kButtonBorder = 0x800000;
// Designed places (pixels) of the elements the layout moves.
constexpr int kMargin = 5;
constexpr int kWorkspaceTop = 98;  // 1470 twips
constexpr int kCaptionBoxHeight = 40;
constexpr int kInfoHeight = 16;
constexpr QSize kWelcomeSize{460, 250};
// The activation wait gives up after this: a bare X server may never report the window active.
constexpr int kActivationWaitMs = 1500;

QImage backdrop() {
  QImage image(1, 256, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient g(0, 0, 0, 256);
  g.setColorAt(0, QColor(0xE3, 0xEC, 0xF7));
  g.setColorAt(1, QColor(0xC4, 0xD4, 0xEA));
  p.fillRect(image.rect(), g);
  return image;
}

QFont pixelFont(const QString& family, int pixels, bool bold = false) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QString::fromUtf8(kAppTitle) + QStringLiteral(" - [no file open]"));
  resize(kDesignedClientSize);
  setAcceptDrops(true);
  AppSubClass::Start();
  Image2 = new QLabel(this);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setPixmap(QPixmap::fromImage(backdrop()));
  Image2->setScaledContents(true);
  Image2->setGeometry(0, 96, kDesignedClientSize.width(), kDesignedClientSize.height() - 96);
  BuildCommandArea();
  BuildWorkspace();
  BuildWelcomePanel();
  BuildContextMenu();
  BuildFocusMarks();
  BuildZoom();
  ConnectEditing();
  CreateShortcuts();
  InstallErrorReport(*this);
  Guarded([&] { Form_Load(); });
}

frmMain::~frmMain() {
  Guarded([&] { Form_Unload(); });
  SetErrorReporter({});
}

vbkFlat* frmMain::makeButton(QWidget* panel, const char* name, const QString& caption, const QString& icon,
                             QRect where, bool pressedColour) {
  auto* button = new vbkFlat(panel);
  button->setObjectName(QString::fromLatin1(name));
  button->setBgColor(kButtonBg);
  button->setOverColor(kButtonOver);
  button->setDownColor(pressedColour ? kButtonDown : kButtonBg);
  button->setBorderColor(kButtonBorder);
  button->setDownBorderColor(kButtonBorder);
  button->setCaptionForeColor(0);
  button->setCaption(caption);
  button->setIcon(LumoraIcons::Pixmap(icon, 16));
  button->setIconDisabled(LumoraIcons::DisabledPixmap(icon, 16));
  button->setBtnType(caption.isEmpty() ? vbkFlat::kIconOnly : vbkFlat::kIconAndCaption);
  button->setGeometry(where);
  return button;
}

void frmMain::BuildCommandArea() {
  RibbonContainer1 = new RibbonContainer(this);
  RibbonContainer1->setObjectName(QStringLiteral("RibbonContainer1"));
  RibbonContainer1->setGeometry(4, 3, kDesignedClientSize.width() - 8, 91);
  auto panel = [&](const char* name, const QString& caption, int left, int width) {
    auto* p = new RibbonPanel(RibbonContainer1);
    p->setObjectName(QString::fromLatin1(name));
    p->setCaption(caption);
    p->setGeometry(left, 3, width, 86);
    return p;
  };
  auto row = [](int left, int r, int width) { return QRect(left, kRows[r], width, kRowHeight); };

  RibbonPanel1 = panel("RibbonPanel1", QStringLiteral("Project"), 4, 176);
  cmdNew = makeButton(RibbonPanel1, "cmdNew", QStringLiteral("New"), QStringLiteral("new"), row(4, 0, 78));
  cmdOpen = makeButton(RibbonPanel1, "cmdOpen", QStringLiteral("Open"), QStringLiteral("open"), row(4, 1, 78));
  cmdSave = makeButton(RibbonPanel1, "cmdSave", QStringLiteral("Save"), QStringLiteral("save"), row(4, 2, 78));
  cmdSaveAs = makeButton(RibbonPanel1, "cmdSaveAs", QStringLiteral("Save As"), QStringLiteral("saveas"), row(84, 0, 88));
  cmdSaveImage = makeButton(RibbonPanel1, "cmdSaveImage", QStringLiteral("Save Image"), QStringLiteral("saveimage"),
                            row(84, 1, 88));
  vbkFlat1 = makeButton(RibbonPanel1, "vbkFlat1", QStringLiteral("Exit"), QStringLiteral("exit"), row(84, 2, 88));

  RibbonPanel2 = panel("RibbonPanel2", QStringLiteral("ZEB"), 182, 100);
  vbkFlat2 = makeButton(RibbonPanel2, "vbkFlat2", QStringLiteral(" ZEB Website"), QStringLiteral("website"), row(4, 0, 92));
  vbkFlat3 = makeButton(RibbonPanel2, "vbkFlat3", QStringLiteral("About ZEB "), QStringLiteral("about"), row(4, 1, 92));

  RibbonPanelText = panel("RibbonPanelText", QStringLiteral("Text"), 284, 128);
  cmdAdd = makeButton(RibbonPanelText, "cmdAdd", QStringLiteral(" Insert Text"), QStringLiteral("inserttext"), row(4, 0, 90));
  cmdSymbol = makeButton(RibbonPanelText, "cmdSymbol", QStringLiteral("Symbol"), QStringLiteral("symbol"), row(4, 1, 90), false);
  cmdDelete = makeButton(RibbonPanelText, "cmdDelete", QStringLiteral("Delete"), QStringLiteral("delete"), row(4, 2, 90));
  cmdBringToFront = makeButton(RibbonPanelText, "cmdBringToFront", {}, QStringLiteral("bringtofront"), row(98, 0, 26), false);
  cmdSendToBack = makeButton(RibbonPanelText, "cmdSendToBack", {}, QStringLiteral("sendtoback"), row(98, 1, 26), false);

  RibbonPanelFont = panel("RibbonPanelFont", QStringLiteral("Font"), 414, 182);
  frameFontCombo = new QFrame(RibbonPanelFont);
  frameFontCombo->setObjectName(QStringLiteral("frameFontCombo"));
  // The owner-draw switch recognises the font list by its frame's caption.
  frameFontCombo->setWindowTitle(QString::fromLatin1(AppSubClass::kMarkCaption));
  frameFontCombo->setGeometry(4, 4, 120, kRowHeight);
  cboFont = new QComboBox(frameFontCombo);
  cboFont->setObjectName(QStringLiteral("cboFont"));
  cboFont->setGeometry(0, 0, 120, kRowHeight);
  cboSize = new QComboBox(RibbonPanelFont);
  cboSize->setObjectName(QStringLiteral("cboSize"));
  cboSize->setGeometry(128, 4, 50, kRowHeight);
  const std::pair<vbkFlat**, const char*> styles[] = {
      {&vkBold, "bold"}, {&vkItalic, "italic"}, {&vkUnderline, "underline"}, {&vkStrikeout, "strikeout"}};
  int x = 4;
  for (auto [button, icon] : styles) {
    *button = makeButton(RibbonPanelFont, "", {}, QString::fromLatin1(icon), row(x, 1, 26));
    x += 28;
  }
  vkBold->setObjectName(QStringLiteral("vkBold"));
  vkItalic->setObjectName(QStringLiteral("vkItalic"));
  vkUnderline->setObjectName(QStringLiteral("vkUnderline"));
  vkStrikeout->setObjectName(QStringLiteral("vkStrikeout"));
  vkLeft = makeButton(RibbonPanelFont, "vkLeft", {}, QStringLiteral("alignleft"), row(4, 2, 26));
  vkCenter = makeButton(RibbonPanelFont, "vkCenter", {}, QStringLiteral("aligncenter"), row(32, 2, 26));
  vkRight = makeButton(RibbonPanelFont, "vkRight", {}, QStringLiteral("alignright"), row(60, 2, 26));

  RibbonPanelEffects = panel("RibbonPanelEffects", QStringLiteral("Effects"), 598, 326);
  vkFontColor = makeButton(RibbonPanelEffects, "vkFontColor", QStringLiteral("Colour"), QStringLiteral("fontcolor"), row(4, 0, 100));
  vkShadow = makeButton(RibbonPanelEffects, "vkShadow", QStringLiteral("Shadow"), QStringLiteral("shadow"), row(4, 1, 100));
  vkShadowColor = makeButton(RibbonPanelEffects, "vkShadowColor", QStringLiteral("Shadow colour"),
                             QStringLiteral("shadowcolor"), row(4, 2, 100));
  vkOutline = makeButton(RibbonPanelEffects, "vkOutline", QStringLiteral("Outline"), QStringLiteral("outline"),
                         row(130, 0, 70));
  auto swatch = [&](const char* name, int left, int r, Colour colour) {
    auto* s = new QLabel(RibbonPanelEffects);
    s->setObjectName(QString::fromLatin1(name));
    s->setGeometry(left, kRows[r] + 3, 16, 16);
    s->setFrameShape(QFrame::Box);
    s->setAutoFillBackground(true);
    QPalette p = s->palette();
    p.setColor(QPalette::Window, ToQColor(colour));
    s->setPalette(p);
    s->installEventFilter(this);
    return s;
  };
  picForeColor = swatch("picForeColor", 108, 0, 0);
  picShadowColor = swatch("picShadowColor", 108, 2, static_cast<Colour>(0x80000005));
  picOutlineColor = swatch("picOutlineColor", 204, 0, 0);
  // Pixels of outline, shadow softness and box, degrees of arc; typed values count once, when the box is left.
  auto pixels = [&](const char* name, int left, int r, const QString& prefix, int low, int high, const QString& tip) {
    auto* box = new QSpinBox(RibbonPanelEffects);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(row(left, r, 90));
    box->setRange(low, high);
    box->setPrefix(prefix);
    box->setSuffix(QStringLiteral(" px"));
    box->setKeyboardTracking(false);
    box->setToolTip(tip);
    return box;
  };
  spnOutlineWidth = pixels("spnOutlineWidth", 130, 1, QStringLiteral("Width "), TextItem::kMinOutlineWidth,
                           TextItem::kMaxOutlineWidth, QStringLiteral("Outline width"));
  spnShadowBlur = pixels("spnShadowBlur", 130, 2, QStringLiteral("Soft "), 0, TextItem::kMaxShadowBlur,
                         QStringLiteral("Shadow softness (0: a hard shadow)"));
  spnOutlineWidth->setValue(TextItem().OutlineWidth);
  vkFit = makeButton(RibbonPanelEffects, "vkFit", QStringLiteral("Fit to box"), QStringLiteral("fit"), row(230, 0, 92));
  spnBoxWidth = pixels("spnBoxWidth", 230, 1, QStringLiteral("Box "), 0, TextItem::kMaxBox / kTwipsPerPixel,
                       QStringLiteral("The width the text wraps in (none: one line per line break)"));
  spnBoxWidth->setSpecialValueText(QStringLiteral("No box"));
  spnArc = pixels("spnArc", 230, 2, QStringLiteral("Arc "), -TextItem::kMaxArc, TextItem::kMaxArc,
                  QStringLiteral("The angle the text bends through (0: straight; below 0 it bends down)"));
  spnArc->setSuffix(QStringLiteral("\u00B0"));

  RibbonPanelSize = panel("RibbonPanelSize", QStringLiteral("Size"), 926, 66);
  vkGrow = makeButton(RibbonPanelSize, "vkGrow", QStringLiteral("Grow"), QStringLiteral("grow"), row(4, 0, 58));
  vkShrink = makeButton(RibbonPanelSize, "vkShrink", QStringLiteral("Shrink"), QStringLiteral("shrink"), row(4, 1, 58));
  cmdUndo = makeButton(RibbonPanelSize, "cmdUndo", {}, QStringLiteral("undo"), row(4, 2, 28), false);
  cmdRedo = makeButton(RibbonPanelSize, "cmdRedo", {}, QStringLiteral("redo"), row(34, 2, 28), false);
  // Icon-only commands say what they are and which keys reach them.
  const std::pair<vbkFlat*, const char*> tips[] = {{cmdBringToFront, "Bring to Front"},
                                                   {cmdSendToBack, "Send to Back"},
                                                   {cmdUndo, "Undo (Ctrl+Z)"},
                                                   {cmdRedo, "Redo (Ctrl+Y)"}};
  for (auto [button, tip] : tips) button->setToolTip(QString::fromLatin1(tip));

  connect(cmdNew, &vbkFlat::OnClick, this, [this] { Guarded([&] { NewDocument(); }); });
  connect(cmdOpen, &vbkFlat::OnClick, this, [this] { Guarded([&] { OpenDocument(); }); });
  connect(cmdSave, &vbkFlat::OnClick, this, [this] { Guarded([&] { Save(); }); });
  connect(cmdSaveAs, &vbkFlat::OnClick, this, [this] { Guarded([&] { SaveAs(); }); });
  connect(vbkFlat1, &vbkFlat::OnClick, this, [this] { Guarded([&] { close(); }); });
  connect(vbkFlat2, &vbkFlat::OnClick, this, [this] { Guarded([&] { VisitWebSite(); }); });
  connect(vbkFlat3, &vbkFlat::OnClick, this, [this] { Guarded([&] { ShowAbout(); }); });
  connect(cboFont, &QComboBox::currentIndexChanged, this, [this](int row) { Guarded([&] { FontChosen(row); }); });
  connect(cboSize, &QComboBox::currentIndexChanged, this, [this](int row) { Guarded([&] { SizeChosen(row); }); });
}

void frmMain::BuildWorkspace() {
  Shape2 = new QFrame(this);
  Shape2->setObjectName(QStringLiteral("Shape2"));
  Shape2->setStyleSheet(QStringLiteral("QFrame#Shape2 { border: 1px solid #6f8db5; background: transparent; }"));
  Shape2->setAttribute(Qt::WA_TransparentForMouseEvents);
  picWorkspace = new QWidget(this);
  picWorkspace->setObjectName(QStringLiteral("picWorkspace"));
  picWorkspace->setAutoFillBackground(true);
  QPalette p = picWorkspace->palette();
  p.setColor(QPalette::Window, QColor(0x9A, 0xA6, 0xB8));
  picWorkspace->setPalette(p);
  picWorkspace->setGeometry(kMargin, kWorkspaceTop, 800, 362);
  picWorkspace->installEventFilter(this);
  shpOutline = new QFrame(picWorkspace);
  shpOutline->setObjectName(QStringLiteral("shpOutline"));
  shpOutline->setStyleSheet(QStringLiteral("QFrame#shpOutline { border: 1px solid #000000; background: transparent; }"));
  shpOutline->setAttribute(Qt::WA_TransparentForMouseEvents);
  shpOutline->hide();
  hsbWorkspace = new QScrollBar(Qt::Horizontal, picWorkspace);
  vsbWorkspace = new QScrollBar(Qt::Vertical, picWorkspace);
  hsbWorkspace->setObjectName(QStringLiteral("hsbWorkspace"));
  vsbWorkspace->setObjectName(QStringLiteral("vsbWorkspace"));
  hsbWorkspace->hide();
  vsbWorkspace->hide();
  for (QScrollBar* bar : {hsbWorkspace, vsbWorkspace})
    connect(bar, &QScrollBar::valueChanged, this, [this] { Guarded([&] { CentrePicture(); }); });
  picPicture = new WorkspacePicture(m_document, picWorkspace);
  picPicture->setObjectName(QStringLiteral("picPicture"));
  picPicture->setFocusPolicy(Qt::ClickFocus);  // so arrow keys reach the window when the caption box is off
  picPicture->resize(0, 0);

  Image1 = new QFrame(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFrameShape(QFrame::HLine);
  Image1->setFrameShadow(QFrame::Sunken);
  Image1->setGeometry(kMargin, 500, 800, 2);
  lblCaption = new QLabel(QStringLiteral("&Caption:"), this);
  lblCaption->setObjectName(QStringLiteral("lblCaption"));
  lblCaption->setGeometry(kMargin, 510, 60, kInfoHeight);
  lblInfo = new QLabel(this);
  lblInfo->setObjectName(QStringLiteral("lblInfo"));
  lblInfo->setGeometry(70, 510, 735, kInfoHeight);
  txtCaption = new QPlainTextEdit(this);
  txtCaption->setObjectName(QStringLiteral("txtCaption"));
  txtCaption->setFont(pixelFont(QStringLiteral("Tahoma"), 12));  // 9 points at 96 dots per inch
  txtCaption->setGeometry(kMargin, 545, 800, kCaptionBoxHeight);
  // The editor's own undo covers caption edits too; the box must not keep a history of its own.
  txtCaption->setUndoRedoEnabled(false);
  txtCaption->installEventFilter(this);
  lblCaption->setBuddy(txtCaption);
}

void frmMain::BuildWelcomePanel() {
  picWelcome = new QWidget(picWorkspace);
  picWelcome->setObjectName(QStringLiteral("picWelcome"));
  picWelcome->setAutoFillBackground(true);
  QPalette p = picWelcome->palette();
  p.setColor(QPalette::Window, Qt::white);
  picWelcome->setPalette(p);
  picWelcome->resize(kWelcomeSize);
  Label4 = new QLabel(QStringLiteral("Welcome to ZEB Lumora"), picWelcome);
  Label4->setObjectName(QStringLiteral("Label4"));
  Label4->setFont(pixelFont(QStringLiteral("Tahoma"), 20, true));
  Label4->setStyleSheet(QStringLiteral("color: #1f3c70;"));
  Label4->setGeometry(20, 14, 420, 30);
  struct Entry {
    int index;
    const char* icon;
    const char* title;
    const char* explanation;
  };
  const Entry entries[] = {
      {0, "new", "Create a new image project", "Choose this option to browse the image template library."},
      {1, "open", "Open an existing image project",
       "Choose this option to load an image project that you have previously created."},
      {3, "website", "Visit the Folioworks website", "Choose this option to find our what's new at Folioworks"}};
  int top = 60;
  for (const Entry& e : entries) {
    auto* entry = new QWidget(picWelcome);
    entry->setObjectName(QStringLiteral("picStartup%1").arg(e.index));
    entry->setGeometry(20, top, 420, 56);
    entry->setCursor(Qt::PointingHandCursor);
    auto* image = new QLabel(entry);
    image->setPixmap(LumoraIcons::Pixmap(QString::fromLatin1(e.icon), 32));
    image->setGeometry(4, 8, 32, 32);
    auto* title = new QLabel(QString::fromUtf8(e.title), entry);
    title->setFont(pixelFont(QStringLiteral("Tahoma"), 13, true));
    title->setStyleSheet(QStringLiteral("color: #1f3c70;"));
    title->setGeometry(48, 6, 370, 18);
    auto* explanation = new QLabel(QString::fromUtf8(e.explanation), entry);
    explanation->setFont(pixelFont(QStringLiteral("Tahoma"), 11));
    explanation->setWordWrap(true);
    explanation->setGeometry(48, 24, 370, 30);
    for (QWidget* part : {static_cast<QWidget*>(entry), static_cast<QWidget*>(image), static_cast<QWidget*>(title),
                          static_cast<QWidget*>(explanation)})
      part->installEventFilter(this);
    picStartup[e.index] = entry;
    imgStartup[e.index] = image;
    lblStartup[e.index] = title;
    lblStartup2[e.index] = explanation;
    top += 60;
  }
}

void frmMain::BuildContextMenu() {
  mnuContext = new QMenu(this);
  mnuContext->setObjectName(QStringLiteral("mnuContext"));
  mnuInsertText = mnuContext->addAction(QStringLiteral("Insert &Text"));
  mnuInsertSymbol = mnuContext->addAction(QStringLiteral("Insert &Symbol"));
  mnuContext->addSeparator();
  mnuBringToFront = mnuContext->addAction(QStringLiteral("Bring to &Front"));
  mnuSendToBack = mnuContext->addAction(QStringLiteral("Send to &Back"));
  mnuContext->addSeparator();
  mnuDelete = mnuContext->addAction(QStringLiteral("&Delete"));
}

void frmMain::Form_Load() {
  modicon::SetIcon(*this, QStringLiteral("AAA"), true);
  // The document space is 96 dots per inch on every screen; Qt's scaling serves other screens.
  TwipsPerPixelX = kTwipsPerPixel;
  TwipsPerPixelY = kTwipsPerPixel;
  const QSize screen = this->screen() ? this->screen()->availableGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  modStopResize::SetLimits(kDesignedClientSize, screen.expandedTo(kDesignedClientSize));
  modStopResize::Start(*this);
  m_document.UnloadAllTextLabels();
  // Filling an empty list selects its first entry, which runs the font choice as the load asks.
  cboFont->addItems(mdlFonts::InstalledFamilies());
  ShowFontNamesInTheirFaces();
  modComboBoxWidth::SetDropDownWidth(*cboFont, 190);
  cboSize->addItems({QStringLiteral("4"), QStringLiteral("6"), QStringLiteral("8"), QStringLiteral("9"),
                     QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("14"),
                     QStringLiteral("18"), QStringLiteral("24"), QStringLiteral("30"), QStringLiteral("36"),
                     QStringLiteral("48"), QStringLiteral("60"), QStringLiteral("72")});
  cboSize->setCurrentIndex(3);
  UpdateControls();
  RefreshUndoButtons();
  Form_Resize();
  m_loaded = true;
}

void frmMain::Form_Resize() {
  if (isMinimized()) return;
  const int w = width(), h = height();
  RibbonContainer1->resize(w - 2 * RibbonContainer1->x(), RibbonContainer1->height());
  Image2->resize(w - 2 * Image2->x(), h - Image2->y());
  txtCaption->setGeometry(txtCaption->x(), h - txtCaption->height() - 6, w - 2 * txtCaption->x(), txtCaption->height());
  lblInfo->move(lblInfo->x(), txtCaption->y() - lblInfo->height() - 8);
  lblZoom->setGeometry(w - kMargin - lblZoom->width(), lblInfo->y(), lblZoom->width(), lblInfo->height());
  lblInfo->resize(lblZoom->x() - lblInfo->x() - kMargin, lblInfo->height());
  lblCaption->move(lblCaption->x(), lblInfo->y());
  Image1->setGeometry(Image1->x(), lblInfo->y() - 10, w - 2 * Image1->x(), Image1->height());
  picWorkspace->resize(w - 2 * picWorkspace->x(), std::max(0, Image1->y() - picWorkspace->y() - 8));
  Shape2->setGeometry(picWorkspace->x() - 1, picWorkspace->y() - 1, picWorkspace->width() + 2, picWorkspace->height() + 2);
  CentrePicture();
}

void frmMain::CentrePicture() {
  const QSize shown = picPicture->shownSize();
  const CentreLayout layout =
      lumora::CentrePicture({double(picWorkspace->width()), double(picWorkspace->height())},
                            {double(shown.width()), double(shown.height())},
                            {double(picWelcome->width()), double(picWelcome->height())}, m_document.DocumentOpen());
  auto floorRect = [](const RectF& r) {
    return QRect(int(std::floor(r.left)), int(std::floor(r.top)), int(r.width), int(r.height));
  };
  QRect picture = floorRect(layout.picture);
  // A picture that fits stays centred; a larger one scrolls, from its top-left corner.
  const QSize area = picWorkspace->size();
  const bool wide = picture.width() > area.width(), tall = picture.height() > area.height();
  const int barW = vsbWorkspace->sizeHint().width(), barH = hsbWorkspace->sizeHint().height();
  const int viewW = area.width() - (tall ? barW : 0), viewH = area.height() - (wide ? barH : 0);
  hsbWorkspace->setVisible(wide);
  vsbWorkspace->setVisible(tall);
  if (wide) {
    hsbWorkspace->setGeometry(0, area.height() - barH, viewW, barH);
    hsbWorkspace->setRange(0, picture.width() - viewW + 2);
    hsbWorkspace->setPageStep(viewW);
    picture.moveLeft(1 - hsbWorkspace->value());
  }
  if (tall) {
    vsbWorkspace->setGeometry(area.width() - barW, 0, barW, viewH);
    vsbWorkspace->setRange(0, picture.height() - viewH + 2);
    vsbWorkspace->setPageStep(viewH);
    picture.moveTop(1 - vsbWorkspace->value());
  }
  picPicture->setGeometry(picture);
  picWelcome->move(floorRect(layout.welcome).topLeft());
  shpOutline->setGeometry(picture.adjusted(-1, -1, 1, 1));
  shpOutline->setVisible(layout.outlineVisible);
  shpOutline->lower();
  hsbWorkspace->raise();
  vsbWorkspace->raise();
}

void frmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (m_loaded) Guarded([&] { Form_Resize(); });
}

void frmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_activated) return;
  m_activated = true;
  QTimer::singleShot(0, this, [this] { Guarded([&] { Form_Activate(); }); });
}

void frmMain::Form_Activate() {
  QElapsedTimer waited;
  waited.start();
  while (!isActiveWindow() && waited.elapsed() < kActivationWaitMs && isVisible())
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  if (mMain::PendingProjectPath.isEmpty()) return;
  const QString path = mMain::PendingProjectPath;
  mMain::PendingProjectPath.clear();
  OpenFile(path, false);
  QApplication::processEvents();
  m_document.SetChanged(false);
}

void frmMain::closeEvent(QCloseEvent* event) {
  bool stay = false;
  Guarded([&] { stay = m_document.Changed() && QueryClose() == 2; });
  if (stay) {
    event->ignore();
    return;
  }
  event->accept();
}

void frmMain::ShowFontNamesInTheirFaces() {
  m_fontListLook.setSType(cDeluxeComboBox::kFontNames);
  m_fontListLook.setSStyle(1);
  m_fontListLook.setCFullRow(true);
  m_fontListLook.setCGDir(0);
  m_fontListLook.setCGrad1(0x808080);
  m_fontListLook.setCGrad2(0xFF0000);
  m_fontListLook.setCTPos(0);
  m_fontListLook.setCTNCol(static_cast<Colour>(0x80000000u + SystemColors::kWindowText));
  m_fontListLook.setCTHCol(static_cast<Colour>(0x80000000u + SystemColors::kHighlightText));
  m_fontListLook.setCColor(0x3E80FE);
  m_fontListLook.setCFrame(0x800000);
  m_fontListLook.setPlainFace(&mdlFonts::IsSymbolFont);
  m_fontListLook.Attach(cboFont);
}

void frmMain::Form_Unload() {
  modStopResize::Stop(*this);
  m_fontListLook.Detach();
  AppSubClass::Stop();
}

void frmMain::changeEvent(QEvent* event) {
  // A drag ends when the window loses the pointer to another window.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) PictureReleased();
  QWidget::changeEvent(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Save Image is the editor's in every text box; undo and redo too in the caption box.
    auto* key = static_cast<QKeyEvent*>(event);
    const bool editorKey = key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_E) ||
                           (watched == txtCaption && (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)));
    if (editorKey) {
      event->ignore();
      return true;
    }
  }
  if (watched == txtCaption) {
    if (event->type() == QEvent::FocusIn) txtCaption->selectAll();
    return QWidget::eventFilter(watched, event);
  }
  if (watched == picWorkspace && event->type() == QEvent::Wheel && vsbWorkspace->isVisible()) {
    QApplication::sendEvent(vsbWorkspace, event);
    return true;
  }
  if (event->type() != QEvent::MouseButtonPress) return QWidget::eventFilter(watched, event);
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (watched == picWorkspace) {
    if (mouse->button() == Qt::LeftButton) Guarded([&] { ClearSelection(); });
    return false;
  }
  for (int i = 0; i < kWelcomeEntries; ++i) {
    if (!picStartup[i]) continue;
    if (watched == picStartup[i] || watched == imgStartup[i] || watched == lblStartup[i] || watched == lblStartup2[i]) {
      if (mouse->button() == Qt::LeftButton) Guarded([&] { WelcomeClick(i); });
      return true;
    }
  }
  if (watched == picForeColor) {
    Guarded([&] { ChooseTextColour(); });
    return true;
  }
  if (watched == picShadowColor) {
    Guarded([&] { ChooseShadowColour(); });
    return true;
  }
  if (watched == picOutlineColor) {
    Guarded([&] { ChooseOutlineColour(); });
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void frmMain::WelcomeClick(int index) {
  switch (index) {
    case 0: NewDocument(); break;
    case 1: OpenDocument(); break;
    case 3: VisitWebSite(); break;
    default: break;
  }
}

}  // namespace lumora
