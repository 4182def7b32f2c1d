// Lets objects intercept chosen events of another object without owning its event handling: the
// Qt counterpart of window subclassing. The first subscription puts a dispatcher in front of the
// object's own handler (an event filter); the last detach, or the object's end, takes it away.
#pragma once

#include "controls/ISubclass.h"

class QEvent;
class QObject;

namespace lumora {

namespace SubclassError {
inline constexpr int kObjectErrorBase = static_cast<int>(0x80040000u);  // codes above 1000 sit on it
inline constexpr int kCantSubclass = 13081;        // "Can't subclass window"
inline constexpr int kAlreadyHandled = 13082;      // "Message already handled by another class"
inline constexpr int kInvalidWindow = 13083;       // "Invalid window"
inline constexpr int kExternalWindow = 13084;      // "Can't modify external window"
inline constexpr int kInvalidCall = 5;             // a registry value could not be stored
}  // namespace SubclassError

class GSubclass {
 public:
  // Subscribes iwp to message iMsg (an event type) of hWnd. Raises 13083 for no object, 13084 for
  // an object of another thread, 13082 when iwp already has this message, 13081 or 5 when the
  // dispatcher or the registry cannot be set up (the partial change is undone first).
  static void AttachMessage(ISubclass& iwp, QObject* hWnd, int iMsg);
  // Removes the subscription; silently does nothing when there is none.
  static void DetachMessage(ISubclass& iwp, QObject* hWnd, int iMsg);
  // The message being dispatched (a nested dispatch overwrites it).
  static int CurrentMessage();
  // Runs the object's own handler for the event; 0 when the object is not subclassed.
  static long CallOldWindowProc(QObject* hWnd, QEvent* event);
};

}  // namespace lumora
