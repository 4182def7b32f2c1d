#include "app/frmError.h"

#include <QLabel>
#include <QPushButton>

#include "base/AppInfo.h"
#include "controls/ErrorGuard.h"
#include "controls/LumoraIcons.h"
#include "controls/OpenWebSite.h"

namespace lumora {
namespace {

QLabel* addText(QWidget* parent, const QString& text, const QRect& where, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setGeometry(where);
  if (bold) {
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
  }
  return label;
}

}  // namespace

frmError::frmError(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmError"));
  setWindowTitle(QStringLiteral("Error"));
  setFixedSize(430, 330);

  auto* picture = new QLabel(this);
  picture->setPixmap(LumoraIcons::Pixmap(QStringLiteral("error"), 32));
  picture->setGeometry(14, 14, 32, 32);

  addText(this, QStringLiteral("We are sorry, an error has occured and the operation could not be completed."),
          {60, 12, 356, 34}, true);
  addText(this,
          QStringLiteral("It may be possible to recover from this error. To attempt to continue, click 'Retry', "
                         "to close this application, click 'Exit'."),
          {60, 52, 356, 34});
  addText(this, QStringLiteral("Please report this error using the contact form at the ZEB Software website:"),
          {60, 94, 356, 34});

  const QString home = QString::fromUtf8(kHomePageAddress);
  lblLink = addText(this, QStringLiteral("<a href=\"%1\">%1</a>").arg(home.toHtmlEscaped()), {60, 130, 356, 18});
  lblLink->setObjectName(QStringLiteral("lblLink"));
  lblLink->setTextFormat(Qt::RichText);
  lblLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  lblLink->setCursor(Qt::PointingHandCursor);
  connect(lblLink, &QLabel::linkActivated, this, [this, home] { Guarded([&] { OpenWebSite(home, this); }); });

  addText(this, QStringLiteral("The following diagnostic information may assist us in identifying the cause of the error:"),
          {60, 160, 356, 34});
  addText(this, QStringLiteral("Error number:"), {60, 200, 130, 18}, true);
  lblNum = addText(this, QString(), {192, 200, 224, 18});
  lblNum->setObjectName(QStringLiteral("lblNum"));
  lblNum->setTextInteractionFlags(Qt::TextSelectableByMouse);
  addText(this, QStringLiteral("Error description:"), {60, 222, 130, 18}, true);
  lblDesc = addText(this, QString(), {192, 222, 224, 52});
  lblDesc->setObjectName(QStringLiteral("lblDesc"));
  lblDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblDesc->setTextFormat(Qt::PlainText);
  lblDesc->setTextInteractionFlags(Qt::TextSelectableByMouse);

  cmdRetry = new QPushButton(QStringLiteral("&Retry"), this);
  cmdRetry->setObjectName(QStringLiteral("cmdRetry"));
  cmdRetry->setDefault(true);
  cmdRetry->setGeometry(240, 288, 84, 28);
  cmdExit = new QPushButton(QStringLiteral("Exit"), this);
  cmdExit->setObjectName(QStringLiteral("cmdExit"));
  cmdExit->setGeometry(332, 288, 84, 28);
  connect(cmdRetry, &QPushButton::clicked, this, [this] { Guarded([&] { Answer = true; hide(); }); });
  connect(cmdExit, &QPushButton::clicked, this, [this] { Guarded([&] { Answer = false; hide(); }); });
}

}  // namespace lumora
