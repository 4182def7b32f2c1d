// The subclassing framework: subscribers called newest first, the oldest one deciding how the
// object's own handler is chained, and the errors.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include "RaisedError.h"
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
    return 0;
  }
  Log& log;
  std::string name;
  int response;
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
  for (const auto& [object, number] : {std::pair<QObject*, int>{&target, 13082}, {nullptr, 13083}, {&foreign, 13084}})
    EXPECT_EQ(test::RaisedBy([&] { GSubclass::AttachMessage(a, object, kMessage); }).number,
              SubclassError::kObjectErrorBase + number);
  send(target, kMessage);
  EXPECT_EQ(log, (Log{"a", "target"}));  // the failed attach changed nothing
}

}  // namespace
}  // namespace lumora
