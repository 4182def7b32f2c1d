// The subclassing framework: subscribers called newest first, the first subscriber deciding how
// the object's own handler is chained, the registry in the object's properties, the errors, and
// the object's own behaviour back after the last detach or when a party goes away.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <memory>
#include <string>
#include <vector>

#include "SubclassTestApplication.h"
#include "base/LumoraError.h"
#include "controls/GSubclass.h"
#include "controls/SubclassRegistry.h"

namespace lumora {
namespace {

constexpr int kMessage = QEvent::User + 7;
constexpr int kOther = QEvent::User + 8;
using Log = std::vector<std::string>;

class Target : public QObject {
 public:
  explicit Target(Log& log) : m_log(log) {}
  bool event(QEvent* e) override {
    if (e->type() >= QEvent::User) m_log.push_back("target");
    return QObject::event(e);
  }

 private:
  Log& m_log;
};

class Recorder : public ISubclass {
 public:
  Recorder(Log& log, std::string name, int response) : m_log(log), m_name(std::move(name)), m_response(response) {}
  int MsgResponse() override { return m_response; }
  long WindowProc(QObject*, int, QEvent*) override {
    m_log.push_back(m_name);
    seenMessage = GSubclass::CurrentMessage();
    if (onCall) onCall();
    return 0;
  }
  int seenMessage = 0;
  std::function<void()> onCall;

 private:
  Log& m_log;
  std::string m_name;
  int m_response;
};

void send(QObject& target, int message) {
  test::EnsureApplication();
  QEvent event(static_cast<QEvent::Type>(message));
  QCoreApplication::sendEvent(&target, &event);
}

QList<QByteArray> registry(const QObject& object) { return object.dynamicPropertyNames(); }

LumoraError attachError(ISubclass& s, QObject* window, int message) {
  try {
    GSubclass::AttachMessage(s, window, message);
  } catch (const LumoraError& e) {
    return e;
  }
  ADD_FAILURE() << "no error raised";
  return {0, ""};
}

TEST(GSubclass, SubscribersAreCalledNewestFirstThenTheObject) {
  Log log;
  Target target(log);
  Recorder a(log, "a", 1), b(log, "b", 1), c(log, "c", 1);
  GSubclass::AttachMessage(a, &target, kMessage);
  GSubclass::AttachMessage(b, &target, kMessage);
  GSubclass::AttachMessage(c, &target, kMessage);
  send(target, kMessage);
  EXPECT_EQ(log, (Log{"c", "b", "a", "target"}));
  EXPECT_EQ(a.seenMessage, kMessage);
}

struct ResponseCase {
  int first;   // MsgResponse of the oldest subscriber
  int second;  // of the newer one
  Log expected;
};

class Responses : public ::testing::TestWithParam<ResponseCase> {};

TEST_P(Responses, OnlyTheOldestSubscriberDecidesTheChaining) {
  Log log;
  Target target(log);
  Recorder first(log, "first", GetParam().first), second(log, "second", GetParam().second);
  GSubclass::AttachMessage(first, &target, kMessage);
  GSubclass::AttachMessage(second, &target, kMessage);
  send(target, kMessage);
  EXPECT_EQ(log, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Chaining, Responses,
    ::testing::Values(ResponseCase{0, 1, {"second", "first"}},            // 0 swallows
                      ResponseCase{0, 2, {"second", "first"}},            // the newer one has no say
                      ResponseCase{1, 0, {"second", "first", "target"}},  // subscribers, then the object
                      ResponseCase{2, 0, {"second", "target", "first"}},  // the object just before the oldest
                      ResponseCase{2, 2, {"second", "target", "first"}}));

TEST(GSubclass, SwallowedMessageNeverReachesTheObject) {
  Log log;
  Target target(log);
  Recorder only(log, "only", 0);
  GSubclass::AttachMessage(only, &target, kMessage);
  send(target, kMessage);
  send(target, kOther);  // not subscribed: the object's own
  EXPECT_EQ(log, (Log{"only", "target"}));
}

TEST(GSubclass, RegistryLivesInTheObjectsPropertiesUnderTheTableNames) {
  Log log;
  Target target(log);
  Recorder a(log, "a", 1), b(log, "b", 1);
  GSubclass::AttachMessage(a, &target, kMessage);
  GSubclass::AttachMessage(b, &target, kMessage);
  GSubclass::AttachMessage(b, &target, kOther);
  const QByteArray h = QByteArray::number(reinterpret_cast<quintptr>(&target));
  const QByteArray m = QByteArray::number(kMessage);
  EXPECT_NE(SubclassRegistry::Get(&target, h), 0u);
  EXPECT_EQ(SubclassRegistry::Get(&target, "C" + h), 3u);
  EXPECT_EQ(SubclassRegistry::Get(&target, h + "#" + m + "C"), 2u);
  EXPECT_EQ(SubclassRegistry::Get(&target, h + "#" + m + "#1"), reinterpret_cast<quintptr>(static_cast<ISubclass*>(&a)));
  EXPECT_EQ(SubclassRegistry::Get(&target, h + "#" + m + "#2"), reinterpret_cast<quintptr>(static_cast<ISubclass*>(&b)));
  GSubclass::DetachMessage(a, &target, kMessage);
  // Later subscribers move down; the emptied slot is removed, not stored as 0.
  EXPECT_EQ(SubclassRegistry::Get(&target, h + "#" + m + "#1"), reinterpret_cast<quintptr>(static_cast<ISubclass*>(&b)));
  EXPECT_FALSE(registry(target).contains(h + "#" + m + "#2"));
  EXPECT_EQ(SubclassRegistry::Get(&target, h + "#" + m + "C"), 1u);
  EXPECT_EQ(SubclassRegistry::Get(&target, "C" + h), 2u);
}

TEST(GSubclass, AttachingTwiceRaises13082AndChangesNothing) {
  Log log;
  Target target(log);
  Recorder a(log, "a", 1);
  GSubclass::AttachMessage(a, &target, kMessage);
  const auto before = registry(target);
  const LumoraError e = attachError(a, &target, kMessage);
  EXPECT_EQ(e.number(), SubclassError::kObjectErrorBase + 13082);
  EXPECT_EQ(e.description(), "Message already handled by another class");
  EXPECT_TRUE(QString::fromStdString(e.source()).endsWith(".WindowProc"));
  EXPECT_EQ(registry(target), before);
  send(target, kMessage);
  EXPECT_EQ(log, (Log{"a", "target"}));
}

TEST(GSubclass, NoObjectRaises13083AndAnotherThreadsObject13084) {
  Log log;
  Recorder a(log, "a", 1);
  LumoraError invalid = attachError(a, nullptr, kMessage);
  EXPECT_EQ(invalid.number(), SubclassError::kObjectErrorBase + 13083);
  EXPECT_EQ(invalid.description(), "Invalid window");
  QThread other;
  QObject foreign;
  foreign.moveToThread(&other);
  LumoraError external = attachError(a, &foreign, kMessage);
  EXPECT_EQ(external.number(), SubclassError::kObjectErrorBase + 13084);
  EXPECT_EQ(external.description(), "Can't modify external window");
  EXPECT_TRUE(registry(foreign).isEmpty());
  GSubclass::DetachMessage(a, &foreign, kMessage);  // silently nothing
  GSubclass::DetachMessage(a, nullptr, kMessage);
}

TEST(GSubclass, DetachingAnUnknownSubscriberDoesNothing) {
  Log log;
  Target target(log);
  Recorder a(log, "a", 1), stranger(log, "stranger", 1);
  GSubclass::AttachMessage(a, &target, kMessage);
  const auto before = registry(target);
  GSubclass::DetachMessage(stranger, &target, kMessage);
  GSubclass::DetachMessage(a, &target, kOther);
  EXPECT_EQ(registry(target), before);
  send(target, kMessage);
  EXPECT_EQ(log, (Log{"a", "target"}));
}

TEST(GSubclass, ObjectsOwnBehaviourIsBackAfterTheLastDetach) {
  Log log;
  Target target(log);
  Recorder a(log, "a", 0), b(log, "b", 0);
  GSubclass::AttachMessage(a, &target, kMessage);
  GSubclass::AttachMessage(b, &target, kOther);
  GSubclass::DetachMessage(a, &target, kMessage);
  send(target, kOther);
  EXPECT_EQ(log, (Log{"b"}));  // still subclassed for the other message
  GSubclass::DetachMessage(b, &target, kOther);
  EXPECT_TRUE(registry(target).isEmpty());
  log.clear();
  send(target, kMessage);
  send(target, kOther);
  EXPECT_EQ(log, (Log{"target", "target"}));
  EXPECT_EQ(GSubclass::CallOldWindowProc(&target, nullptr), 0);
}

TEST(GSubclass, CallOldWindowProcRunsTheObjectsOwnHandlerOnlyWhileSubclassed) {
  Log log;
  Target target(log);
  QEvent event(static_cast<QEvent::Type>(kMessage));
  EXPECT_EQ(GSubclass::CallOldWindowProc(&target, &event), 0);
  EXPECT_TRUE(log.empty());
  Recorder a(log, "a", 0);
  GSubclass::AttachMessage(a, &target, kMessage);
  GSubclass::CallOldWindowProc(&target, &event);
  EXPECT_EQ(log, (Log{"target"}));
}

TEST(GSubclass, ASubscriberThatGoesAwayIsNeverCalledAgain) {
  Log log;
  Target target(log);
  auto gone = std::make_unique<Recorder>(log, "gone", 0);
  Recorder stays(log, "stays", 1);
  GSubclass::AttachMessage(stays, &target, kMessage);
  GSubclass::AttachMessage(*gone, &target, kMessage);
  gone.reset();
  send(target, kMessage);
  EXPECT_EQ(log, (Log{"stays", "target"}));
}

TEST(GSubclass, AnObjectThatGoesAwayTakesItsRegistryAlong) {
  Log log;
  Recorder a(log, "a", 1);
  {
    Target target(log);
    GSubclass::AttachMessage(a, &target, kMessage);
  }
  // A new object, perhaps at the same address, starts unsubclassed.
  Target fresh(log);
  EXPECT_TRUE(registry(fresh).isEmpty());
  send(fresh, kMessage);
  EXPECT_EQ(log, (Log{"target"}));
  GSubclass::DetachMessage(a, &fresh, kMessage);  // nothing to detach
}

TEST(GSubclass, ASubscriberMayDetachItselfWhileBeingCalled) {
  Log log;
  Target target(log);
  Recorder a(log, "a", 1), b(log, "b", 1);
  GSubclass::AttachMessage(a, &target, kMessage);
  GSubclass::AttachMessage(b, &target, kMessage);
  b.onCall = [&] { GSubclass::DetachMessage(b, &target, kMessage); };
  send(target, kMessage);
  send(target, kMessage);
  EXPECT_EQ(log, (Log{"b", "a", "target", "a", "target"}));
}

}  // namespace
}  // namespace lumora
