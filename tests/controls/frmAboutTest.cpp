// The about box and the web-site helper: the version of the build, the link, the scheme added to
// a bare address, and the message when no browser opens.
#include "controls/frmAbout.h"

#include <gtest/gtest.h>

#include <QLabel>

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

TEST(frmAbout, ShowsTheBuildsVersionAndItsLinkOpensTheProductPage) {
  test::ScriptedModal modal;
  UrlRecorder urls(true);
  frmAbout about;
  EXPECT_EQ(about.lblVersion->text(),
            QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
  emit about.lblLink->linkActivated(QString::fromUtf8(kProductPageAddress));
  EXPECT_EQ(urls.addresses, QStringList{QString::fromUtf8(kProductPageAddress)});
  EXPECT_TRUE(modal.messageBoxes().empty());
}

TEST(OpenWebSite, AddsTheSchemeOnlyWhenMissing) {
  const std::pair<const char*, const char*> cases[] = {{"www.example.com", "http://www.example.com"},
                                                       {"HTTP://WWW.EXAMPLE.COM", "HTTP://WWW.EXAMPLE.COM"},
                                                       {"https://example.com/a", "https://example.com/a"},
                                                       {"ftp.example.com", "http://ftp.example.com"},
                                                       {"", "http://"}};
  for (const auto& [given, passed] : cases) {
    UrlRecorder urls(true);
    OpenWebSite(QString::fromUtf8(given));
    EXPECT_EQ(urls.addresses, QStringList{QString::fromUtf8(passed)}) << given;
  }
}

TEST(OpenWebSite, FailureShowsTheMessageWithTheAddressAsPassed) {
  test::ScriptedModal modal;
  UrlRecorder urls(false);
  OpenWebSite(QStringLiteral("zeb.example"));
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_EQ(modal.messageBoxes()[0].text,
            QStringLiteral("There was an error attempting to open the website at:\r\nhttp://zeb.example."));
  EXPECT_EQ(modal.messageBoxes()[0].title, QStringLiteral("ZEB Lumora"));
}

}  // namespace
}  // namespace lumora
