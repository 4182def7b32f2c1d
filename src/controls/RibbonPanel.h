// RibbonPanel: one captioned group of the command area, its caption centred along the bottom.
#pragma once

#include <QLabel>

#include "controls/RibbonBand.h"

namespace lumora {

class RibbonPanel : public RibbonBand {
  Q_OBJECT

 public:
  explicit RibbonPanel(QWidget* parent = nullptr);

  QString Caption() const { return m_lblCaption->text(); }
  void setCaption(const QString& text);

  void ReadProperties(const QVariantMap& bag) override;
  QVariantMap WriteProperties() const override;

  const QLabel* captionLabel() const { return m_lblCaption; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* m_lblCaption;
};

}  // namespace lumora
