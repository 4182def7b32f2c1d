#include "colour/frmColorPicker.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "colour/DesignUnits.h"
#include "controls/DialogFont.h"
#include "controls/ErrorGuard.h"
#include "controls/ModalSeam.h"
#include "controls/QtColour.h"

namespace lumora {
namespace {

constexpr int kLevels[] = {0, 51, 102, 153, 204, 255};

QRect designedBoxRect(int index) {
  return PxRect(120 + (index % frmColorPicker::kColumns) * 312, 180 + (index / frmColorPicker::kColumns) * 360, 255,
                285);
}

void paintFrame(QFrame* frame, const QColor& colour) {
  QPalette palette = frame->palette();
  palette.setColor(QPalette::Window, colour);
  frame->setPalette(palette);
  frame->setAutoFillBackground(true);
}

// A rectangle shape: only its outline is drawn, in the given colour and width.
QFrame* makeMarker(QWidget* parent, const QColor& colour, int lineWidth) {
  auto* marker = new QFrame(parent);
  marker->setFrameShape(QFrame::Box);
  marker->setFrameShadow(QFrame::Plain);
  marker->setLineWidth(lineWidth);
  QPalette palette = marker->palette();
  palette.setColor(QPalette::WindowText, colour);
  marker->setPalette(palette);
  marker->hide();
  return marker;
}

}  // namespace

QString HexTag(Colour colour) {
  const auto rgb = static_cast<uint32_t>(colour);
  return QStringLiteral("#%1%2%3")
      .arg(RedOf(rgb), 2, 16, QLatin1Char('0'))
      .arg(GreenOf(rgb), 2, 16, QLatin1Char('0'))
      .arg(BlueOf(rgb), 2, 16, QLatin1Char('0'))
      .toUpper();
}

frmColorPicker::frmColorPicker(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Choose Color"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(Px(5775), Px(5895));
  setFont(DialogFont());

  m_ok = new QPushButton(QStringLiteral("OK"), this);
  m_ok->setGeometry(PxRect(3420, 5430, 1035, 345));
  m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
  m_cancel->setGeometry(PxRect(4620, 5430, 1035, 345));

  // The markers lie beneath the boxes, so only their edges show around the selected one.
  m_outerMarker = makeMarker(this, Qt::black, 2);
  m_innerMarker = makeMarker(this, Qt::white, 1);
  buildGrid();

  auto* frame = new QGroupBox(QStringLiteral("Color"), this);
  frame->setGeometry(PxRect(120, 4650, 5535, 615));
  m_hexText = new QLabel(frame);
  m_swatch = new QFrame(frame);
  m_swatch->setFrameShape(QFrame::Box);
  m_custom = new QPushButton(QStringLiteral("&Custom..."), frame);
  // The designed columns, in the band the frame leaves below its title.
  const QRect inside = frame->contentsRect();
  const auto band = [&](int left, int width, int height) {
    height = std::min(height, inside.height());
    return QRect(Px(left), inside.top() + (inside.height() - height) / 2, Px(width), height);
  };
  m_hexText->setGeometry(band(135, 900, Px(285)));
  m_swatch->setGeometry(band(1230, 795, Px(345)));
  m_custom->setGeometry(band(4395, 1035, Px(345)));

  setTabOrder(m_ok, m_cancel);
  setTabOrder(m_cancel, m_custom);
  m_ok->setFocus();

  connect(m_ok, &QPushButton::clicked, this, [this] {
    Guarded([&] {
      ResultColor = m_swatchColour;
      accept();
    });
  });
  connect(m_cancel, &QPushButton::clicked, this, [this] { Guarded([&] { reject(); }); });
  connect(m_custom, &QPushButton::clicked, this, [this] { Guarded([&] { chooseCustom(); }); });

  selectBox(0);
}

void frmColorPicker::buildGrid() {
  m_boxes.reserve(kBoxCount);
  m_colours.reserve(kBoxCount);
  for (int red : kLevels)
    for (int green : kLevels)
      for (int blue : kLevels) {
        const int index = static_cast<int>(m_boxes.size());
        auto* box = new QFrame(this);
        box->setFrameShape(QFrame::Box);
        box->setFrameShadow(QFrame::Plain);
        box->setGeometry(designedBoxRect(index));
        box->setFocusPolicy(Qt::NoFocus);
        box->setCursor(Qt::PointingHandCursor);
        const Colour colour = RGBColour(red, green, blue);
        paintFrame(box, ToQColor(colour));
        box->setToolTip(HexTag(colour));
        box->installEventFilter(this);
        m_boxes.push_back(box);
        m_colours.push_back(colour);
      }
}

Colour frmColorPicker::boxColour(int index) const { return m_colours.at(static_cast<size_t>(index)); }

QString frmColorPicker::boxTag(int index) const { return HexTag(boxColour(index)); }

QString frmColorPicker::hexText() const { return m_hexText->text(); }

void frmColorPicker::selectBox(int index) {
  if (index < 0 || index >= kBoxCount) return;
  const QRect cell = designedBoxRect(index);
  if (m_selected >= 0) {
    QFrame* previous = box(m_selected);
    previous->setFrameShape(QFrame::Box);
    previous->setGeometry(designedBoxRect(m_selected));
  }
  QFrame* chosen = box(index);
  const QRect shrunk = cell.adjusted(1, 1, -1, -1);
  chosen->setGeometry(shrunk);
  chosen->setFrameShape(QFrame::NoFrame);
  m_innerMarker->setGeometry(shrunk.x() - 1, shrunk.y() - 1, shrunk.width() + 2, shrunk.height() + 2);
  m_outerMarker->setGeometry(shrunk.x() - 2, shrunk.y() - 2, shrunk.width() + 5, shrunk.height() + 5);
  m_innerMarker->show();
  m_outerMarker->show();
  setSwatch(m_colours[static_cast<size_t>(index)]);
  m_hexText->setText(HexTag(m_colours[static_cast<size_t>(index)]));
  m_selected = index;
}

void frmColorPicker::setSwatch(Colour colour) {
  m_swatchColour = colour;
  paintFrame(m_swatch, ToQColor(colour));
}

void frmColorPicker::chooseCustom() {
  const int chosen = Modal().colorDialog(this, -1, true);
  if (chosen != kNoColour) setSwatch(chosen);
}

void frmColorPicker::reject() {
  ResultColor = kNoColour;
  QDialog::reject();
}

bool frmColorPicker::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    for (int i = 0; i < kBoxCount; ++i)
      if (m_boxes[static_cast<size_t>(i)] == watched) {
        Guarded([&] { selectBox(i); });
        return true;
      }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace lumora
