#include "controls/frmAbout.h"

#include <QLabel>
#include <QPushButton>

#include "base/AppInfo.h"
#include "controls/ErrorGuard.h"
#include "controls/LumoraIcons.h"
#include "controls/OpenWebSite.h"

namespace lumora {

QString frmAbout::VersionText() {
  return QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
  const QString title = QString::fromUtf8(kAppTitle);
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About ") + title);
  setFixedSize(380, 260);

  auto* logo = new QLabel(this);
  logo->setPixmap(LumoraIcons::Pixmap(QStringLiteral("AAA"), 48));
  logo->setGeometry(16, 16, 48, 48);

  lblTitle = new QLabel(title, this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = lblTitle->font();
  titleFont.setPixelSize(20);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);
  lblTitle->setGeometry(80, 14, 280, 28);

  lblVersion = new QLabel(VersionText(), this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblVersion->setGeometry(80, 44, 280, 18);

  lblDescription = new QLabel(
      QStringLiteral("Makes finished pictures such as covers and banners from a template picture and "
                     "formatted text, and exports them as JPEG, GIF, PNG or bitmap files."),
      this);
  lblDescription->setObjectName(QStringLiteral("lblDescription"));
  lblDescription->setWordWrap(true);
  lblDescription->setGeometry(80, 68, 284, 72);

  const QString address = QString::fromUtf8(kProductPageAddress);
  lblLink = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()), this);
  lblLink->setObjectName(QStringLiteral("lblLink"));
  lblLink->setTextFormat(Qt::RichText);
  lblLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  lblLink->setCursor(Qt::PointingHandCursor);
  lblLink->setGeometry(80, 144, 284, 18);
  connect(lblLink, &QLabel::linkActivated, this, [this, address] { Guarded([&] { OpenWebSite(address, this); }); });

  lblDisclaimer = new QLabel(
      QStringLiteral("This program is provided as is, without warranty of any kind. Check the "
                     "rights to every picture and font you publish."),
      this);
  lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
  lblDisclaimer->setWordWrap(true);
  QFont small = lblDisclaimer->font();
  small.setPixelSize(10);
  lblDisclaimer->setFont(small);
  lblDisclaimer->setGeometry(16, 180, 260, 64);

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  cmdOK->setGeometry(288, 216, 76, 26);
  connect(cmdOK, &QPushButton::clicked, this, [this] { Guarded([&] { accept(); }); });
}

}  // namespace lumora
