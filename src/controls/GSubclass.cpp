#include "controls/GSubclass.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QObject>
#include <QThread>
#include <algorithm>
#include <memory>

#include "base/LumoraError.h"
#include "controls/SubclassRegistry.h"

namespace lumora {
namespace {

namespace Reg = SubclassRegistry;

int g_currentMessage = 0;

// The object's own handler, QObject::event, reached through a derived class.
struct EventAccess : QObject {
  static bool call(QObject* object, QEvent* event) { return (object->*(&EventAccess::event))(event); }
};
using Procedure = bool (*)(QObject*, QEvent*);

uint64_t procedureValue() { return reinterpret_cast<uintptr_t>(static_cast<Procedure>(&EventAccess::call)); }

[[noreturn]] void raise(int code) {
  const char* text = "Invalid procedure call or argument";
  switch (code) {
    case SubclassError::kCantSubclass: text = "Can't subclass window"; break;
    case SubclassError::kAlreadyHandled: text = "Message already handled by another class"; break;
    case SubclassError::kInvalidWindow: text = "Invalid window"; break;
    case SubclassError::kExternalWindow: text = "Can't modify external window"; break;
    default: break;
  }
  const int number = code > 1000 ? SubclassError::kObjectErrorBase + code : code;
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  throw LumoraError(number, text, (program + QStringLiteral(".WindowProc")).toStdString());
}

ISubclass* subscriberAt(const QObject* object, int message, int index) {
  return reinterpret_cast<ISubclass*>(static_cast<uintptr_t>(Reg::Get(object, Reg::SubscriberName(object, message, index))));
}

// Stands in front of every subclassed object's own handler.
class Dispatcher final : public QObject {
 public:
  bool eventFilter(QObject* object, QEvent* event) override {
    const int message = event->type();
    if (message == QEvent::DynamicPropertyChange) return false;  // our own registry writes
    if (Reg::Get(object, Reg::ProcedureName(object)) == 0) return false;
    const int count = static_cast<int>(Reg::Get(object, Reg::MessageCountName(object, message)));
    if (count == 0) return false;
    int firstResponse = 0;
    bool firstPresent = false, previousCalled = false;
    for (int index = count; index >= 1; --index) {
      ISubclass* subscriber = subscriberAt(object, message, index);
      if (!subscriber) continue;
      g_currentMessage = message;
      if (index == 1) {
        firstPresent = true;
        firstResponse = subscriber->MsgResponse();
        if (firstResponse == 2 && !previousCalled) {
          EventAccess::call(object, event);
          previousCalled = true;
        }
      }
      subscriber->WindowProc(object, message, event);
    }
    // Response 1: the object's own handler runs now, as Qt delivers the event on.
    return !(firstPresent && firstResponse == 1);
  }
};

Dispatcher& dispatcher() {
  static Dispatcher instance;
  return instance;
}

}  // namespace

void GSubclass::AttachMessage(ISubclass& iwp, QObject* hWnd, int iMsg) {
  if (!hWnd) raise(SubclassError::kInvalidWindow);
  if (hWnd->thread() != QThread::currentThread()) raise(SubclassError::kExternalWindow);
  const QByteArray countName = Reg::MessageCountName(hWnd, iMsg);
  const int count = static_cast<int>(Reg::Get(hWnd, countName));
  for (int index = 1; index <= count; ++index)
    if (subscriberAt(hWnd, iMsg, index) == &iwp) raise(SubclassError::kAlreadyHandled);

  const int newCount = count + 1;
  const QByteArray slotName = Reg::SubscriberName(hWnd, iMsg, newCount);
  if (!Reg::Set(hWnd, countName, static_cast<uint64_t>(newCount))) raise(SubclassError::kInvalidCall);
  if (!Reg::Set(hWnd, slotName, reinterpret_cast<uintptr_t>(&iwp))) {
    Reg::Set(hWnd, countName, static_cast<uint64_t>(count));
    raise(SubclassError::kInvalidCall);
  }
  auto undoSlot = [&] {
    Reg::Set(hWnd, slotName, 0);
    Reg::Set(hWnd, countName, static_cast<uint64_t>(count));
  };

  const QByteArray totalName = Reg::TotalCountName(hWnd);
  const uint64_t total = Reg::Get(hWnd, totalName);
  if (total == 0) {
    hWnd->installEventFilter(&dispatcher());
    if (!Reg::Set(hWnd, Reg::ProcedureName(hWnd), procedureValue())) {
      hWnd->removeEventFilter(&dispatcher());
      undoSlot();
      raise(SubclassError::kInvalidCall);
    }
  }
  if (!Reg::Set(hWnd, totalName, total + 1)) {
    undoSlot();
    if (total == 0) {
      hWnd->removeEventFilter(&dispatcher());
      Reg::Set(hWnd, Reg::ProcedureName(hWnd), 0);
    }
    raise(SubclassError::kInvalidCall);
  }
  iwp.m_subscriptions.emplace_back(hWnd, iMsg);
}

void GSubclass::DetachMessage(ISubclass& iwp, QObject* hWnd, int iMsg) {
  if (!hWnd || hWnd->thread() != QThread::currentThread()) return;
  const QByteArray countName = Reg::MessageCountName(hWnd, iMsg);
  const int count = static_cast<int>(Reg::Get(hWnd, countName));
  int found = 0;
  for (int index = 1; index <= count && found == 0; ++index)
    if (subscriberAt(hWnd, iMsg, index) == &iwp) found = index;
  if (found == 0) return;
  for (int index = found; index < count; ++index)
    Reg::Set(hWnd, Reg::SubscriberName(hWnd, iMsg, index), Reg::Get(hWnd, Reg::SubscriberName(hWnd, iMsg, index + 1)));
  Reg::Set(hWnd, Reg::SubscriberName(hWnd, iMsg, count), 0);
  Reg::Set(hWnd, countName, static_cast<uint64_t>(count - 1));
  auto& list = iwp.m_subscriptions;
  const auto entry = std::find_if(list.begin(), list.end(),
                                  [&](const auto& e) { return e.first == hWnd && e.second == iMsg; });
  if (entry != list.end()) list.erase(entry);

  const QByteArray totalName = Reg::TotalCountName(hWnd);
  const uint64_t total = Reg::Get(hWnd, totalName);
  if (total == 1) {
    hWnd->removeEventFilter(&dispatcher());
    Reg::Set(hWnd, Reg::ProcedureName(hWnd), 0);
  }
  Reg::Set(hWnd, totalName, total > 0 ? total - 1 : 0);
}

int GSubclass::CurrentMessage() { return g_currentMessage; }

long GSubclass::CallOldWindowProc(QObject* hWnd, QEvent* event) {
  if (!hWnd || !event || Reg::Get(hWnd, Reg::ProcedureName(hWnd)) == 0) return 0;
  return EventAccess::call(hWnd, event) ? 1 : 0;
}

namespace SubclassDetail {

void DetachEverywhere(ISubclass& subscriber) noexcept {
  // Detaching edits the list, so work from a copy; objects already gone took their registry along.
  const auto subscriptions = subscriber.m_subscriptions;
  for (const auto& [window, message] : subscriptions)
    if (window) GSubclass::DetachMessage(subscriber, window.data(), message);
  subscriber.m_subscriptions.clear();
}

}  // namespace SubclassDetail
}  // namespace lumora
