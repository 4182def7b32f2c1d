// What an object implements to receive chosen events of another object through GSubclass.
// The event is the message: its type is the message number, the event itself carries what the
// platform's two message parameters carried.
#pragma once

#include <QPointer>
#include <utility>
#include <vector>

class QEvent;
class QObject;

namespace lumora {

class ISubclass;
namespace SubclassDetail {
void DetachEverywhere(ISubclass& subscriber) noexcept;
}

class ISubclass {
 public:
  // How the dispatcher combines this subscriber with the object's own handling of the current
  // message (GSubclass::CurrentMessage): 0 swallows the message, 1 runs this subscriber first and
  // then the object's handler, whose result counts, 2 runs the object's handler first.
  virtual int MsgResponse() = 0;
  virtual void setMsgResponse(int) {}
  virtual long WindowProc(QObject* hWnd, int iMsg, QEvent* event) = 0;

  ISubclass(const ISubclass&) = delete;
  ISubclass& operator=(const ISubclass&) = delete;

 protected:
  ISubclass() = default;
  // A subscriber that goes away takes its subscriptions with it, so the registry never calls it.
  virtual ~ISubclass() { SubclassDetail::DetachEverywhere(*this); }

 private:
  friend class GSubclass;
  friend void SubclassDetail::DetachEverywhere(ISubclass&) noexcept;
  std::vector<std::pair<QPointer<QObject>, int>> m_subscriptions;
};

}  // namespace lumora
