// The subclassing registry, kept in dynamic properties of the subclassed object itself:
//   "<handle>"            the object's previous handler
//   "C<handle>"           subscriptions on the object, over all messages
//   "<handle>#<msg>C"     subscribers of one message
//   "<handle>#<msg>#<i>"  the subscriber with 1-based index i, as a plain address
// The handle is the object's address in decimal. A value of 0 is stored by removing the property.
#pragma once

#include <QByteArray>
#include <cstdint>

class QObject;

namespace lumora::SubclassRegistry {

QByteArray Handle(const QObject* object);
QByteArray ProcedureName(const QObject* object);
QByteArray TotalCountName(const QObject* object);
QByteArray MessageCountName(const QObject* object, int message);
QByteArray SubscriberName(const QObject* object, int message, int index);

uint64_t Get(const QObject* object, const QByteArray& name);
// False when the value could not be stored.
bool Set(QObject* object, const QByteArray& name, uint64_t value);

}  // namespace lumora::SubclassRegistry
