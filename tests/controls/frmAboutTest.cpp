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

TEST(OpenWebSite, TheAboutLinkOpensTheProductPageAndBareAddressesGetAScheme) {
  test::ScriptedModal modal;
  QStringList opened;
  bool opens = true;
  SetUrlOpener([&](const QString& address) { return opened << address, opens; });
  frmAbout about;
  EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
  emit about.lblLink->linkActivated(QString::fromUtf8(kProductPageAddress));
  for (const char* address : {"www.example.com", "HTTP://WWW.EXAMPLE.COM", "https://example.com/a", "ftp.example.com", ""})
    OpenWebSite(QString::fromUtf8(address));
  EXPECT_EQ(opened, (QStringList{kProductPageAddress, "http://www.example.com", "HTTP://WWW.EXAMPLE.COM",
                                 "https://example.com/a", "http://ftp.example.com", "http://"}));
  EXPECT_TRUE(modal.messageBoxes().empty());
  opens = false;
  OpenWebSite(QStringLiteral("zeb.example"));
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_EQ(modal.messageBoxes()[0].text,
            QStringLiteral("There was an error attempting to open the website at:\r\nhttp://zeb.example."));
  EXPECT_EQ(modal.messageBoxes()[0].title, QStringLiteral("ZEB Lumora"));
  SetUrlOpener({});
}

}  // namespace
}  // namespace lumora
