// The flat button driven through real mouse events: its look in each state, hover by grab, the
// order of its events, and silence while disabled.
#include "controls/vbkFlat.h"

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "controls/QtColour.h"
#include "controls/RibbonArt.h"
#include "controls/RibbonBand.h"

namespace lumora {
namespace {

using Events = std::vector<std::string>;

class FlatButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<QWidget>();
    host->resize(300, 120);
    button = new vbkFlat(host.get());
    button->setGeometry(10, 10, 100, 30);
    const std::pair<void (vbkFlat::*)(), const char*> sources[] = {
        {&vbkFlat::OnClick, "Click"},    {&vbkFlat::OnMouseEnter, "Enter"}, {&vbkFlat::OnMouseLeave, "Leave"},
        {&vbkFlat::OnMouseDown, "Down"}, {&vbkFlat::OnMouseMove, "Move"},   {&vbkFlat::OnMouseUp, "Up"}};
    for (auto [signal, name] : sources) QObject::connect(button, signal, [this, name] { events.emplace_back(name); });
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    // Qt drops a move to where the pointer already is: every test starts away from the button.
    QTest::mouseMove(host.get(), {290, 110});
    events.clear();
  }
  void TearDown() override {
    if (QWidget::mouseGrabber()) QWidget::mouseGrabber()->releaseMouse();
  }
  // Background and frame as drawn now, and as expected.
  std::pair<QColor, std::optional<QColor>> look() const {
    return {button->currentBackground(), button->currentFrame()};
  }
  static std::pair<QColor, std::optional<QColor>> look(Colour background, std::optional<QColor> frame = {}) {
    return {ToQColor(background), frame};
  }

  std::unique_ptr<QWidget> host;
  vbkFlat* button = nullptr;
  Events events;
};

TEST_F(FlatButtonTest, HoverGrabsTheMouseAndAClickRaisesDownUpClickWithThePointerFreeUnlessReleasedAway) {
  QTest::mouseMove(button, {50, 15});
  EXPECT_EQ(QWidget::mouseGrabber(), button);
  EXPECT_EQ(look(), look(button->OverColor(), ToQColor(button->BorderColor())));
  QTest::mouseMove(button, {52, 15});
  QTest::mousePress(button, Qt::RightButton, {}, {52, 15});  // any button presses
  EXPECT_EQ(look(), look(button->DownColor(), ToQColor(button->DownBorderColor())));
  // A click handler may open a modal window: it must not find the pointer grabbed.
  QWidget* grabberDuringClick = button;
  QObject::connect(button, &vbkFlat::OnClick, [&] { grabberDuringClick = QWidget::mouseGrabber(); });
  QTest::mouseRelease(button, Qt::RightButton, {}, {52, 15});
  EXPECT_TRUE(grabberDuringClick == nullptr && QWidget::mouseGrabber() == button);
  EXPECT_EQ(look(), look(button->OverColor(), ToQColor(button->BorderColor())));
  QTest::mousePress(button, Qt::LeftButton, {}, {50, 15});
  QTest::mouseRelease(button, Qt::LeftButton, {}, {200, 15});
  EXPECT_EQ(events, (Events{"Enter", "Move", "Down", "Up", "Click", "Down", "Up", "Leave"}));
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(look(), look(button->bgColor()));
}

TEST_F(FlatButtonTest, ADisabledButtonIsGreyAndSilentAndLetsGoOfThePointer) {
  QTest::mouseMove(button, {50, 15});
  ASSERT_EQ(QWidget::mouseGrabber(), button);
  button->setDisabled(true);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);  // Tab passes it by
  EXPECT_EQ(button->currentCaptionColour(), QColor(0x80, 0x80, 0x80));
  events.clear();
  QTest::mouseMove(button, {55, 15});
  QTest::mouseClick(button, Qt::LeftButton, {}, {55, 15});
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(button->grab().toImage().pixelColor(50, 2), ToQColor(button->bgColor()));
  button->setDisabled(false);
  EXPECT_EQ(button->currentCaptionColour(), ToQColor(button->CaptionForeColor()));
}

TEST_F(FlatButtonTest, SpaceClicksAndStoredPropertiesComeBackAsTheyWereWritten) {
  button->setFocus();
  QTest::keyPress(button, Qt::Key_Space);
  EXPECT_EQ(look(), look(button->DownColor(), QColor(Qt::black)));
  QTest::keyRelease(button, Qt::Key_Space);
  EXPECT_EQ(look(), look(button->bgColor()));  // the pointer is elsewhere
  QPixmap icon(8, 8);
  icon.fill(Qt::red);
  const QVariantMap stored{{"bgColor", 1},         {"OverColor", 2}, {"DownColor", 3},     {"DownBorderColor", 4},
                           {"BorderColor", 5},     {"CaptionForeColor", 6}, {"Caption", "Go"}, {"Disabled", true},
                           {"Icon", icon},         {"IconDisabled", icon},  {"btnType", 1},    {"Checked", true},
                           {"ToolTipText", "tip"}};
  button->ReadProperties(stored);
  QVariantMap written = button->WriteProperties();
  for (const char* name : {"Icon", "IconDisabled"})
    EXPECT_EQ(written.take(name).value<QPixmap>().toImage(), icon.toImage()) << name;
  EXPECT_EQ(written.size(), stored.size() - 2);
  for (auto it = written.cbegin(); it != written.cend(); ++it)
    EXPECT_EQ(it.value().toString(), stored.value(it.key()).toString()) << it.key().toStdString();
  EXPECT_TRUE(!button->iconShown() && button->disabledIconShown() && !button->captionShown());
  EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
  // Each layout shows its parts; a value outside them leaves them as they are.
  const std::tuple<int, bool, bool> layouts[] = {{2, false, true}, {0, true, true}, {7, true, true}, {1, true, false}};
  for (const auto& [type, iconShown, captionShown] : layouts) {
    button->ReadProperties({{"btnType", type}});
    EXPECT_EQ(std::pair(button->iconShown(), button->captionShown()), std::pair(iconShown, captionShown)) << type;
  }
  EXPECT_EQ(button->Caption(), QString::fromUtf8("ÇáãÏÑÓÉ"));  // a new button's own caption
  EXPECT_EQ(button->bgColor(), vbkFlat().bgColor());
}

// The ribbon's band keeps its stored properties the same way; absent ones take their defaults.
TEST(RibbonBandProperties, ComeBackAsTheyWereWritten) {
  QWidget host;
  RibbonBand band(RibbonArt::Panel(), &host);
  QFont font(QStringLiteral("DejaVu Serif"), 13);
  const QVariantMap stored{{"BackColor", 12}, {"ForeColor", 34}, {"Enabled", true},
                           {"Font", font},    {"BackStyle", 1},   {"BorderStyle", 2}};
  band.ReadProperties(stored);
  const QVariantMap written = band.WriteProperties();
  EXPECT_EQ(written.keys(), stored.keys());
  for (const char* name : {"BackColor", "ForeColor", "Enabled", "BackStyle", "BorderStyle"})
    EXPECT_EQ(written[name].toLongLong(), stored[name].toLongLong()) << name;
  EXPECT_EQ(written["Font"].value<QFont>(), font);
  band.ReadProperties({});
  EXPECT_EQ(band.WriteProperties()["Font"].value<QFont>(), host.font());
  EXPECT_FALSE(band.EnabledValue());
}

}  // namespace
}  // namespace lumora
