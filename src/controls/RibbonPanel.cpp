#include "controls/RibbonPanel.h"

#include "controls/QtColour.h"

namespace lumora {
namespace {
constexpr int kCaptionTop = 70;     // 1050 twips
constexpr int kCaptionHeight = 13;  // 195 twips
}  // namespace

RibbonPanel::RibbonPanel(QWidget* parent)
    : RibbonBand(RibbonArt::Panel(), parent), m_lblCaption(new QLabel(QStringLiteral("Label1"), this)) {
  m_lblCaption->setObjectName(QStringLiteral("lblCaption"));
  m_lblCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_lblCaption->setAttribute(Qt::WA_TranslucentBackground);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);  // 8.25 points at 96 dots per inch
  m_lblCaption->setFont(font);
  QPalette palette = m_lblCaption->palette();
  palette.setColor(QPalette::WindowText, ToQColor(0x800000));
  m_lblCaption->setPalette(palette);
  m_lblCaption->setGeometry(0, kCaptionTop, 116, kCaptionHeight);
  resize(114, 86);  // 1710 x 1290 twips as designed
}

void RibbonPanel::setCaption(const QString& text) {
  m_lblCaption->setText(text);
  recordChange();
}

void RibbonPanel::ReadProperties(const QVariantMap& bag) {
  RibbonBand::ReadProperties(bag);
  m_lblCaption->setText(bag.value(QStringLiteral("Caption"), QStringLiteral("Label1")).toString());
}

QVariantMap RibbonPanel::WriteProperties() const {
  QVariantMap bag = RibbonBand::WriteProperties();
  bag.insert(QStringLiteral("Caption"), m_lblCaption->text());
  return bag;
}

void RibbonPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_lblCaption->setGeometry(0, kCaptionTop, width(), kCaptionHeight);
}

}  // namespace lumora
