#include "controls/OpenWebSite.h"

#include <QDesktopServices>
#include <QUrl>

#include "controls/ModalSeam.h"

namespace lumora {
namespace {

UrlOpener& opener() {
  static UrlOpener current;
  return current;
}

bool openWithDesktop(const QString& address) { return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode)); }

}  // namespace

QString WebAddressForShell(const QString& address) {
  return address.startsWith(QLatin1String("http"), Qt::CaseInsensitive) ? address : QStringLiteral("http://") + address;
}

void OpenWebSite(const QString& address, QWidget* owner) {
  const QString target = WebAddressForShell(address);
  const bool opened = opener() ? opener()(target) : openWithDesktop(target);
  if (!opened)
    MsgBoxShow(owner, QStringLiteral("There was an error attempting to open the website at:\r\n") + target + u'.');
}

void SetUrlOpener(UrlOpener o) { opener() = std::move(o); }

}  // namespace lumora
