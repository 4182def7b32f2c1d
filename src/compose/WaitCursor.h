// The wait cursor for as long as the object lives, when there is a screen to show it on.
#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace lumora {

class WaitCursor {
 public:
  WaitCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (m_shown) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  }
  ~WaitCursor() {
    if (m_shown) QGuiApplication::restoreOverrideCursor();
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool m_shown;
};

}  // namespace lumora
