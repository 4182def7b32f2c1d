// The about box and the web-site helper: version text, link, failure message, OK.
#include "controls/frmAbout.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ScriptedModal.h"
#include "base/AppInfo.h"
#include "controls/OpenWebSite.h"

namespace lumora {
namespace {

class UrlRecorder {
 public:
  explicit UrlRecorder(bool succeed) {
    SetUrlOpener([this, succeed](const QString& a) {
      addresses << a;
      return succeed;
    });
  }
  ~UrlRecorder() { SetUrlOpener({}); }
  QStringList addresses;
};

TEST(frmAbout, ShowsTitleAndVersionFromTheBuild) {
  frmAbout about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("About ZEB Lumora"));
  EXPECT_EQ(about.lblTitle->text(), QStringLiteral("ZEB Lumora"));
  const QString expected = QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
  EXPECT_EQ(about.lblVersion->text(), expected);
  EXPECT_FALSE(about.lblDescription->text().isEmpty());
  EXPECT_FALSE(about.lblDisclaimer->text().isEmpty());
  EXPECT_TRUE(about.lblLink->text().contains(QString::fromUtf8(kProductPageAddress)));
}

TEST(frmAbout, VersionHasNoLeadingZeros) {
  EXPECT_FALSE(frmAbout::VersionText().contains(QStringLiteral(".0") + QString::number(kVersionMinor) + "."));
  EXPECT_TRUE(frmAbout::VersionText().startsWith(QStringLiteral("Version ") + QString::number(kVersionMajor) + "."));
}

TEST(frmAbout, OkClosesThroughTheSeam) {
  test::ScriptedModal modal;
  frmAbout about;
  modal.onNextWindow([](QDialog& d) { QTest::mouseClick(static_cast<frmAbout&>(d).cmdOK, Qt::LeftButton); });
  EXPECT_EQ(Modal().exec(about), QDialog::Accepted);
  EXPECT_EQ(modal.windows(), std::vector<QString>{QStringLiteral("lumora::frmAbout")});
}

TEST(frmAbout, LinkOpensTheProductPage) {
  test::ScriptedModal modal;
  UrlRecorder urls(true);
  frmAbout about;
  emit about.lblLink->linkActivated(QString::fromUtf8(kProductPageAddress));
  EXPECT_EQ(urls.addresses, QStringList{QString::fromUtf8(kProductPageAddress)});
  EXPECT_TRUE(modal.messageBoxes().empty());
}

struct AddressCase {
  const char* given;
  const char* passed;
};

class WebAddresses : public ::testing::TestWithParam<AddressCase> {};

TEST_P(WebAddresses, SchemeIsAddedOnlyWhenMissing) {
  UrlRecorder urls(true);
  OpenWebSite(QString::fromUtf8(GetParam().given));
  EXPECT_EQ(urls.addresses, QStringList{QString::fromUtf8(GetParam().passed)});
}

INSTANTIATE_TEST_SUITE_P(OpenWebSite, WebAddresses,
                         ::testing::Values(AddressCase{"www.example.com", "http://www.example.com"},
                                           AddressCase{"HTTP://WWW.EXAMPLE.COM", "HTTP://WWW.EXAMPLE.COM"},
                                           AddressCase{"https://example.com/a", "https://example.com/a"},
                                           AddressCase{"ftp.example.com", "http://ftp.example.com"},
                                           AddressCase{"", "http://"}));

TEST(OpenWebSite, FailureShowsTheMessageWithTheAddressAsPassed) {
  test::ScriptedModal modal;
  UrlRecorder urls(false);
  OpenWebSite(QStringLiteral("zeb.example"));
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_EQ(modal.messageBoxes()[0].text,
            QStringLiteral("There was an error attempting to open the website at:\r\nhttp://zeb.example."));
  EXPECT_EQ(modal.messageBoxes()[0].title, QStringLiteral("ZEB Lumora"));
  EXPECT_EQ(modal.messageBoxes()[0].style, 0);
}

}  // namespace
}  // namespace lumora
