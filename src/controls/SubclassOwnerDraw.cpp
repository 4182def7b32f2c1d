#include "controls/SubclassOwnerDraw.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <memory>

#include "controls/SubclassMessages.h"

namespace lumora::AppSubClass {
namespace {

constexpr const char* kOwnerDrawnProperty = "lumoraOwnerDrawn";

// The owner-drawn list: each item it paints is a drawing request to the combo box.
class OwnerDrawDelegate final : public QStyledItemDelegate {
 public:
  explicit OwnerDrawDelegate(QComboBox& combo) : QStyledItemDelegate(&combo), m_combo(combo) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    DrawItemEvent request(*painter, option.rect, index.row(), option.state & QStyle::State_Selected,
                          m_combo.view()->viewport());
    QCoreApplication::sendEvent(&m_combo, &request);
    painter->restore();
    if (!request.isAccepted()) QStyledItemDelegate::paint(painter, option, index);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), m_combo.property(kItemHeightProperty).toInt()));
    return size;
  }

 private:
  QComboBox& m_combo;
};

bool insideMarkedFrame(const QComboBox& combo) {
  const QWidget* frame = combo.parentWidget();
  if (!frame) return false;
  const auto* group = qobject_cast<const QGroupBox*>(frame);
  const QString caption = group ? group->title() : frame->windowTitle();
  return caption == QLatin1String(kMarkCaption);
}

void sendCommand(QComboBox* combo) {
  QEvent command(static_cast<QEvent::Type>(SubclassMessage::kCommand));
  QCoreApplication::sendEvent(combo, &command);
}

void makeOwnerDrawn(QComboBox& combo) {
  combo.setProperty(kOwnerDrawnProperty, true);
  combo.setItemDelegate(new OwnerDrawDelegate(combo));
  // A drop-down list under the box, of the box's visible-item count, as the platform's lists are
  // (some styles would open a screen-tall list centred on the current item instead).
  combo.setStyleSheet(combo.styleSheet() + QStringLiteral("\nQComboBox { combobox-popup: 0; }"));
  // Item heights are the list's own; uniform heights let the list lay out without measuring rows.
  if (auto* list = qobject_cast<QListView*>(combo.view())) list->setUniformItemSizes(true);
  QObject::connect(&combo, &QComboBox::highlighted, &combo, [c = &combo] { sendCommand(c); });
  QObject::connect(&combo, &QComboBox::currentIndexChanged, &combo, [c = &combo] { sendCommand(c); });
}

class OwnerDrawSwitch final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Polish) {
      auto* combo = qobject_cast<QComboBox*>(watched);
      if (combo && !IsOwnerDrawn(*combo) && insideMarkedFrame(*combo)) makeOwnerDrawn(*combo);
    } else if (event->type() == QEvent::Show) {
      // The list opening is a command to its combo box too.
      auto* container = qobject_cast<QWidget*>(watched);
      auto* combo = container ? qobject_cast<QComboBox*>(container->parentWidget()) : nullptr;
      if (combo && IsOwnerDrawn(*combo) && combo->view()->window() == container) sendCommand(combo);
    }
    return false;
  }
};

std::unique_ptr<OwnerDrawSwitch>& theSwitch() {
  static std::unique_ptr<OwnerDrawSwitch> instance;
  return instance;
}

}  // namespace

void Start() {
  if (theSwitch() || !QCoreApplication::instance()) return;
  theSwitch() = std::make_unique<OwnerDrawSwitch>();
  QCoreApplication::instance()->installEventFilter(theSwitch().get());
}

void Stop() {
  if (!theSwitch()) return;
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(theSwitch().get());
  theSwitch().reset();
}

bool Started() { return theSwitch() != nullptr; }

bool IsOwnerDrawn(const QComboBox& combo) { return combo.property(kOwnerDrawnProperty).toBool(); }

}  // namespace lumora::AppSubClass
