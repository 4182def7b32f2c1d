#include "controls/modicon.h"

#include <QWidget>

#include "controls/LumoraIcons.h"

namespace lumora::modicon {

QIcon LoadIcon(const QString& name) {
  if (name != QLatin1String("AAA") && name != QLatin1String("DOC")) return {};
  return LumoraIcons::Icon(name);
}

void SetIcon(QWidget& window, const QString& name, bool toTopOwner) {
  const QIcon icon = LoadIcon(name);
  if (toTopOwner) {
    QWidget* top = &window;
    while (top->parentWidget()) top = top->parentWidget();
    top->window()->setWindowIcon(icon);
  }
  window.setWindowIcon(icon);
}

}  // namespace lumora::modicon
