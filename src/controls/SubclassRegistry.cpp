#include "controls/SubclassRegistry.h"

#include <QObject>
#include <QVariant>

namespace lumora::SubclassRegistry {

QByteArray Handle(const QObject* object) { return QByteArray::number(reinterpret_cast<quintptr>(object)); }

QByteArray ProcedureName(const QObject* object) { return Handle(object); }

QByteArray TotalCountName(const QObject* object) { return "C" + Handle(object); }

QByteArray MessageCountName(const QObject* object, int message) {
  return Handle(object) + '#' + QByteArray::number(message) + 'C';
}

QByteArray SubscriberName(const QObject* object, int message, int index) {
  return Handle(object) + '#' + QByteArray::number(message) + '#' + QByteArray::number(index);
}

uint64_t Get(const QObject* object, const QByteArray& name) {
  const QVariant value = object->property(name.constData());
  return value.isValid() ? value.toULongLong() : 0;
}

bool Set(QObject* object, const QByteArray& name, uint64_t value) {
  object->setProperty(name.constData(), value == 0 ? QVariant() : QVariant(static_cast<qulonglong>(value)));
  return Get(object, name) == value;
}

}  // namespace lumora::SubclassRegistry
