// The common part of RibbonPanel and RibbonContainer: a background of a left cap, a middle strip
// stretched sideways and a right cap, re-laid on every resize, plus the stored properties that
// both controls keep for persistence without letting them change the drawing.
#pragma once

#include <QFont>
#include <QRect>
#include <QVariantMap>
#include <QWidget>

#include "base/Colour.h"
#include "controls/RibbonArt.h"

namespace lumora {

class RibbonBand : public QWidget {
  Q_OBJECT

 public:
  RibbonBand(const RibbonArt::Pictures& pictures, QWidget* parent);

  Colour BackColor() const { return m_backColor; }
  void setBackColor(Colour c) { m_backColor = c; recordChange(); }
  Colour ForeColor() const { return m_foreColor; }
  void setForeColor(Colour c) { m_foreColor = c; recordChange(); }
  // The stored "Enabled" property; it is kept, not applied, so the band never greys its buttons.
  bool EnabledValue() const { return m_enabledValue; }
  void setEnabledValue(bool e) { m_enabledValue = e; recordChange(); }
  QFont FontValue() const { return m_fontValue; }
  void setFontValue(const QFont& f) { m_fontValue = f; recordChange(); }
  int16_t BackStyle() const { return m_backStyle; }
  void setBackStyle(int16_t s) { m_backStyle = s; recordChange(); }
  int16_t BorderStyle() const { return m_borderStyle; }
  void setBorderStyle(int16_t s) { m_borderStyle = s; recordChange(); }
  bool PropertiesChanged() const { return m_propertiesChanged; }

  void Refresh() {}

  virtual void ReadProperties(const QVariantMap& bag);
  virtual QVariantMap WriteProperties() const;

  // Where the three pictures go for the current width.
  QRect leftCapRect() const;
  QRect middleRect() const;
  QRect rightCapRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void recordChange() { m_propertiesChanged = true; }

 private:
  const RibbonArt::Pictures& m_pictures;
  Colour m_backColor = 0;
  Colour m_foreColor = 0;
  bool m_enabledValue = false;
  QFont m_fontValue;
  int16_t m_backStyle = 0;
  int16_t m_borderStyle = 0;
  bool m_propertiesChanged = false;
};

}  // namespace lumora
