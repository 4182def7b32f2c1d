// The subclassing framework: subscribers called newest first, the oldest one deciding how the
// object's own handler is chained, the errors, and the object's own behaviour back after the last
// detach or when a party goes away.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <functional>
#include <memory>

#include "base/LumoraError.h"
#include "controls/GSubclass.h"

namespace lumora {
namespace {

constexpr int kMessage = QEvent::User + 7, kOther = QEvent::User + 8;
using Log = std::vector<std::string>;

struct Target : QObject {
  explicit Target(Log& log) : log(log) {}
  bool event(QEvent* e) override {
    if (e->type() >= QEvent::User) log.push_back("target");
    return QObject::event(e);
  }
  Log& log;
};

// Logs its name, with "?" when the message being dispatched is not kMessage.
struct Recorder : ISubclass {
  Recorder(Log& log, std::string name, int response = 1) : log(log), name(std::move(name)), response(response) {}
  int MsgResponse() override { return response; }
  long WindowProc(QObject*, int, QEvent*) override {
    log.push_back(name + (GSubclass::CurrentMessage() == kMessage ? "" : "?"));
    if (onCall) onCall();
    return 0;
  }
  Log& log;
  std::string name;
  int response;
  std::function<void()> onCall;
};

void send(QObject& target, int message) {
  QEvent event(static_cast<QEvent::Type>(message));
  QCoreApplication::sendEvent(&target, &event);
}

TEST(GSubclass, OnlyTheOldestSubscriberDecidesHowTheObjectIsChained) {
  const std::pair<std::pair<int, int>, Log> cases[] = {
      {{0, 1}, {"newer", "oldest"}},            // 0 swallows
      {{0, 2}, {"newer", "oldest"}},            // the newer one has no say
      {{1, 0}, {"newer", "oldest", "target"}},  // subscribers, then the object
      {{2, 0}, {"newer", "target", "oldest"}},  // the object just before the oldest
  };
  for (const auto& [responses, expected] : cases) {
    Log log;
    Target target(log);
    Recorder oldest(log, "oldest", responses.first), newer(log, "newer", responses.second);
    GSubclass::AttachMessage(oldest, &target, kMessage);
    GSubclass::AttachMessage(newer, &target, kMessage);
    send(target, kMessage);
    EXPECT_EQ(log, expected) << responses.first << responses.second;
  }
}

TEST(GSubclass, AttachRaisesForATwiceSubscribedMessageNoObjectOrAnotherThreadsObject) {
  Log log;
  Target target(log);
  QThread other;
  QObject foreign;
  foreign.moveToThread(&other);
  Recorder a(log, "a");
  GSubclass::AttachMessage(a, &target, kMessage);
  for (const auto& [object, number] : {std::pair<QObject*, int>{&target, 13082}, {nullptr, 13083}, {&foreign, 13084}}) {
    try {
      GSubclass::AttachMessage(a, object, kMessage);
      ADD_FAILURE() << "no error " << number;
    } catch (const LumoraError& e) {
      EXPECT_EQ(e.number(), SubclassError::kObjectErrorBase + number);
    }
  }
  send(target, kMessage);
  EXPECT_EQ(log, (Log{"a", "target"}));  // the failed attach changed nothing
}

TEST(GSubclass, TheObjectIsItselfAgainAfterTheLastDetachOrWhenASubscriberGoesAwayOrDetachesWhileCalled) {
  Log log;
  auto target = std::make_unique<Target>(log);
  auto gone = std::make_unique<Recorder>(log, "gone");
  Recorder stays(log, "stays"), self(log, "self"), other(log, "other", 0), stranger(log, "stranger");
  for (ISubclass* s : std::initializer_list<ISubclass*>{&stays, gone.get(), &self})
    GSubclass::AttachMessage(*s, target.get(), kMessage);
  GSubclass::AttachMessage(other, target.get(), kOther);
  GSubclass::DetachMessage(stranger, target.get(), kMessage);  // unknown: nothing
  self.onCall = [&] { GSubclass::DetachMessage(self, target.get(), kMessage); };
  gone.reset();
  send(*target, kMessage);
  send(*target, kMessage);
  GSubclass::DetachMessage(stays, target.get(), kMessage);
  send(*target, kMessage);
  send(*target, kOther);  // still subclassed for the other message
  GSubclass::DetachMessage(other, target.get(), kOther);
  EXPECT_TRUE(target->dynamicPropertyNames().isEmpty());
  send(*target, kOther);
  EXPECT_EQ(log, (Log{"self", "stays", "target", "stays", "target", "target", "other?", "target"}));
  // An object that goes away takes its registry along: a new one, perhaps at the same address, starts unsubclassed.
  GSubclass::AttachMessage(other, target.get(), kOther);
  target = std::make_unique<Target>(log);
  EXPECT_TRUE(target->dynamicPropertyNames().isEmpty());
}

}  // namespace
}  // namespace lumora
