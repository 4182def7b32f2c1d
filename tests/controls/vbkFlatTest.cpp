// The flat button driven through real mouse and key events: looks, hover by grab, the six events.
#include "controls/vbkFlat.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "controls/LumoraIcons.h"
#include "controls/QtColour.h"

namespace lumora {
namespace {

class FlatButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_host = std::make_unique<QWidget>();
    m_host->resize(300, 120);
    button = new vbkFlat(m_host.get());
    button->setGeometry(10, 10, 100, 30);
    for (auto [signal, name] : std::initializer_list<std::pair<void (vbkFlat::*)(), const char*>>{
             {&vbkFlat::OnClick, "Click"},
             {&vbkFlat::OnMouseEnter, "Enter"},
             {&vbkFlat::OnMouseLeave, "Leave"},
             {&vbkFlat::OnMouseDown, "Down"},
             {&vbkFlat::OnMouseMove, "Move"},
             {&vbkFlat::OnMouseUp, "Up"}}) {
      QObject::connect(button, signal, [this, name] { events.emplace_back(name); });
    }
    m_host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_host.get()));
    // Qt drops a move to where the pointer already is: every test starts away from the button.
    QTest::mouseMove(m_host.get(), {290, 110});
    events.clear();
  }
  void TearDown() override {
    if (QWidget::mouseGrabber()) QWidget::mouseGrabber()->releaseMouse();
  }

  QColor pixel(int x, int y) const { return button->grab().toImage().pixelColor(x, y); }

  vbkFlat* button = nullptr;
  std::vector<std::string> events;

 private:
  std::unique_ptr<QWidget> m_host;
};

using Events = std::vector<std::string>;

TEST_F(FlatButtonTest, NewInstanceTakesTheDefaults) {
  vbkFlat fresh;
  EXPECT_EQ(fresh.bgColor(), 0xFFA7E9);
  EXPECT_EQ(fresh.OverColor(), 0xF9E3F3);
  EXPECT_EQ(fresh.DownColor(), 0xBB499F);
  EXPECT_EQ(fresh.DownBorderColor(), 0xBB499F);
  EXPECT_EQ(fresh.BorderColor(), 0xA70A80);
  EXPECT_EQ(fresh.CaptionForeColor(), 0x773F19);
  EXPECT_EQ(fresh.Caption(), QString::fromUtf8("ÇáãÏÑÓÉ"));
  EXPECT_FALSE(fresh.Disabled());
  EXPECT_FALSE(fresh.Checked());
  EXPECT_EQ(fresh.btnType(), 0);
  EXPECT_TRUE(fresh.ToolTipText().isEmpty());
  // 0x00BBGGRR: red 233, green 167, blue 255.
  EXPECT_EQ(fresh.currentBackground(), QColor(233, 167, 255));
  EXPECT_FALSE(fresh.currentFrame().has_value());
}

TEST_F(FlatButtonTest, HoverTakesTheGrabAndLeavingReleasesIt) {
  QTest::mouseMove(button, {50, 15});
  EXPECT_EQ(events, (Events{"Enter"}));
  EXPECT_TRUE(button->hovering());
  EXPECT_EQ(QWidget::mouseGrabber(), button);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->OverColor()));
  EXPECT_EQ(button->currentFrame(), ToQColor(button->BorderColor()));

  QTest::mouseMove(button, {52, 16});
  EXPECT_EQ(events, (Events{"Enter", "Move"}));

  QTest::mouseMove(button, {150, 16});
  EXPECT_EQ(events, (Events{"Enter", "Move", "Leave"}));
  EXPECT_FALSE(button->hovering());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->bgColor()));
  EXPECT_FALSE(button->currentFrame().has_value());
}

TEST_F(FlatButtonTest, ClickRaisesDownUpClickInOrderAndKeepsTheHover) {
  QTest::mouseMove(button, {50, 15});
  QTest::mousePress(button, Qt::LeftButton, {}, {50, 15});
  EXPECT_EQ(button->currentBackground(), ToQColor(button->DownColor()));
  EXPECT_EQ(button->currentFrame(), ToQColor(button->DownBorderColor()));
  QWidget* grabberDuringClick = reinterpret_cast<QWidget*>(1);
  QObject::connect(button, &vbkFlat::OnClick, [&] { grabberDuringClick = QWidget::mouseGrabber(); });
  QTest::mouseRelease(button, Qt::LeftButton, {}, {50, 15});
  EXPECT_EQ(events, (Events{"Enter", "Down", "Up", "Click"}));
  // A click handler may open a modal window: it must not find the pointer grabbed.
  EXPECT_EQ(grabberDuringClick, nullptr);
  EXPECT_EQ(QWidget::mouseGrabber(), button);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->OverColor()));
  EXPECT_EQ(button->currentFrame(), ToQColor(button->BorderColor()));
}

TEST_F(FlatButtonTest, AnyButtonPresses) {
  QTest::mouseMove(button, {50, 15});
  QTest::mousePress(button, Qt::RightButton, {}, {50, 15});
  QTest::mouseRelease(button, Qt::RightButton, {}, {50, 15});
  EXPECT_EQ(events, (Events{"Enter", "Down", "Up", "Click"}));
}

TEST_F(FlatButtonTest, ReleaseAwayFromTheButtonAbandonsTheClick) {
  QTest::mouseMove(button, {50, 15});
  QTest::mousePress(button, Qt::LeftButton, {}, {50, 15});
  QTest::mouseRelease(button, Qt::LeftButton, {}, {200, 15});
  EXPECT_EQ(events, (Events{"Enter", "Down", "Up", "Leave"}));
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->bgColor()));
}

TEST_F(FlatButtonTest, CheckedWhileHoveredShowsOnlyAfterLeaving) {
  QTest::mouseMove(button, {50, 15});
  button->setChecked(true);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->OverColor()));
  QTest::mouseMove(button, {-5, 15});
  EXPECT_EQ(button->currentBackground(), ToQColor(button->DownColor()));
}

TEST_F(FlatButtonTest, HoveringACheckedButtonShowsOverColourThenDownColourAgain) {
  button->setChecked(true);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->DownColor()));
  QTest::mouseMove(button, {50, 15});
  EXPECT_EQ(button->currentBackground(), ToQColor(button->OverColor()));
  QTest::mouseMove(button, {50, 45});
  EXPECT_EQ(button->currentBackground(), ToQColor(button->DownColor()));
  button->setChecked(false);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->bgColor()));
}

TEST_F(FlatButtonTest, SpaceShowsABlackFrameAndReleasingItElsewhereRaisesNothing) {
  QCursor::setPos(5000, 5000);
  button->setFocus();
  QTest::keyPress(button, Qt::Key_Space);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->DownColor()));
  EXPECT_EQ(button->currentFrame(), QColor(Qt::black));
  QTest::keyRelease(button, Qt::Key_Space);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->bgColor()));
  EXPECT_FALSE(button->currentFrame().has_value());
  EXPECT_TRUE(events.empty());
}

TEST_F(FlatButtonTest, SpaceReleasedWithThePointerOverTheButtonShowsTheHover) {
  QCursor::setPos(button->mapToGlobal(QPoint(50, 15)));
  if (QApplication::widgetAt(QCursor::pos()) != button) GTEST_SKIP() << "platform reports no window under the pointer";
  QTest::keyPress(button, Qt::Key_Space);
  QTest::keyRelease(button, Qt::Key_Space);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->OverColor()));
  EXPECT_EQ(button->currentFrame(), ToQColor(button->BorderColor()));
  EXPECT_TRUE(events.empty());
}

TEST_F(FlatButtonTest, OtherKeysDoNothing) {
  QTest::keyClick(button, Qt::Key_Return);
  QTest::keyClick(button, Qt::Key_A);
  EXPECT_EQ(button->currentBackground(), ToQColor(button->bgColor()));
  EXPECT_TRUE(events.empty());
}

TEST_F(FlatButtonTest, DisabledButtonIsGreyAndSilent) {
  button->setIcon(LumoraIcons::Pixmap(QStringLiteral("bold")));
  button->setIconDisabled(LumoraIcons::DisabledPixmap(QStringLiteral("bold")));
  button->setDisabled(true);
  EXPECT_EQ(button->currentCaptionColour(), QColor(0x80, 0x80, 0x80));
  EXPECT_TRUE(button->disabledIconShown());
  EXPECT_FALSE(button->iconShown());
  QTest::mouseMove(button, {50, 15});
  QTest::mouseClick(button, Qt::LeftButton, {}, {50, 15});
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(pixel(50, 2), ToQColor(button->bgColor()));

  button->setDisabled(false);
  EXPECT_EQ(button->currentCaptionColour(), ToQColor(button->CaptionForeColor()));
  EXPECT_TRUE(button->iconShown());
  EXPECT_FALSE(button->disabledIconShown());
}

TEST_F(FlatButtonTest, DisablingWhileHoveredLetsGoOfThePointer) {
  QTest::mouseMove(button, {50, 15});
  ASSERT_EQ(QWidget::mouseGrabber(), button);
  button->setDisabled(true);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_FALSE(button->hovering());
}

TEST_F(FlatButtonTest, FramedLookIsRoundedByOnePixel) {
  QTest::mouseMove(button, {50, 15});
  const QColor border = ToQColor(button->BorderColor()), bg = ToQColor(button->bgColor());
  const QColor over = ToQColor(button->OverColor());
  EXPECT_EQ(pixel(0, 0), bg);
  EXPECT_EQ(pixel(99, 0), bg);
  EXPECT_EQ(pixel(0, 29), bg);
  EXPECT_EQ(pixel(99, 29), bg);
  EXPECT_EQ(pixel(1, 0), border);
  EXPECT_EQ(pixel(98, 0), border);
  EXPECT_EQ(pixel(0, 1), border);
  EXPECT_EQ(pixel(99, 28), border);
  EXPECT_EQ(pixel(50, 29), border);
  EXPECT_EQ(pixel(1, 1), over);
}

struct LayoutCase {
  int type;
  bool iconShown;
  bool captionShown;
};

class FlatButtonLayout : public FlatButtonTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(FlatButtonLayout, PlacesIconAndCaptionByType) {
  const LayoutCase c = GetParam();
  button->setCaption(QStringLiteral("Save"));
  button->setIcon(LumoraIcons::Pixmap(QStringLiteral("save"), 16));
  button->setBtnType(c.type);
  const QRect icon = button->iconRect(), caption = button->captionRect();
  EXPECT_EQ(icon.size(), QSize(16, 16));
  EXPECT_EQ(button->iconShown(), c.iconShown);
  EXPECT_EQ(button->captionShown(), c.captionShown);
  EXPECT_EQ(icon.top(), (30 - 16) / 2);
  EXPECT_EQ(caption.top(), (30 - caption.height()) / 2);
  if (c.type == vbkFlat::kIconAndCaption) {
    EXPECT_EQ(icon.left(), 3);
    EXPECT_EQ(caption.left(), 3 + 16 + 3);
  } else {
    EXPECT_EQ(icon.left(), (100 - 16) / 2);
    EXPECT_EQ(caption.left(), (100 - caption.width()) / 2);
  }
}

INSTANTIATE_TEST_SUITE_P(Types, FlatButtonLayout,
                         ::testing::Values(LayoutCase{0, true, true}, LayoutCase{1, true, false},
                                           LayoutCase{2, false, true}));

TEST_F(FlatButtonTest, UnknownTypeKeepsTheVisibility) {
  button->setBtnType(vbkFlat::kIconOnly);
  button->setBtnType(7);
  EXPECT_TRUE(button->iconShown());
  EXPECT_FALSE(button->captionShown());
}

TEST_F(FlatButtonTest, ResizeRecentresTheIcon) {
  button->setIcon(LumoraIcons::Pixmap(QStringLiteral("save"), 20));
  button->setBtnType(vbkFlat::kIconOnly);
  button->resize(60, 40);
  EXPECT_EQ(button->iconRect().topLeft(), QPoint(20, 10));
}

TEST_F(FlatButtonTest, FocusUnderlinesTheCaption) {
  button->setFocus();
  QApplication::processEvents();
  if (!button->hasFocus()) GTEST_SKIP() << "window did not become active";
  EXPECT_TRUE(button->captionUnderlined());
  button->clearFocus();
  EXPECT_FALSE(button->captionUnderlined());
}

TEST_F(FlatButtonTest, PropertiesRoundTripByName) {
  button->setBgColor(0xF3E5D5);
  button->setOverColor(0xF1D9C2);
  button->setDownColor(0xE1C7AE);
  button->setBorderColor(0x800000);
  button->setDownBorderColor(0x800000);
  button->setCaptionForeColor(0x123456);
  button->setCaption(QStringLiteral("Delete"));
  button->setBtnType(2);
  button->setChecked(true);
  button->setDisabled(true);
  button->setToolTipText(QStringLiteral("tip"));
  EXPECT_TRUE(button->PropertiesChanged());
  const QVariantMap bag = button->WriteProperties();
  EXPECT_EQ(bag.value("bgColor").toInt(), 0xF3E5D5);
  EXPECT_EQ(bag.value("DownBorderColor").toInt(), 0x800000);

  vbkFlat copy;
  copy.ReadProperties(bag);
  EXPECT_EQ(copy.WriteProperties(), bag);
  EXPECT_FALSE(copy.PropertiesChanged());
  // Checked is stored only: the look shows the plain background until Checked is written again.
  EXPECT_EQ(copy.currentBackground(), ToQColor(0xF3E5D5));
}

TEST_F(FlatButtonTest, AnEmptyBagGivesTheDefaults) {
  vbkFlat fresh;
  vbkFlat loaded;
  loaded.setCaption(QStringLiteral("x"));
  loaded.ReadProperties({});
  EXPECT_EQ(loaded.WriteProperties(), fresh.WriteProperties());
}

}  // namespace
}  // namespace lumora
