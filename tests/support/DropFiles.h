// Drops files on a widget as a file manager does: only on a widget that accepts drops, the drag
// enters, then the drop. Returns whether the widget took the drag.
#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace lumora::test {

inline bool DropFiles(QWidget& target, const QStringList& files) {
  if (!target.acceptDrops()) return false;
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& file : files) urls << QUrl::fromLocalFile(file);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&target, &drop);
  return enter.isAccepted();
}

}  // namespace lumora::test
