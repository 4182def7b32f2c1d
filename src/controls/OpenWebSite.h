// Opens a web address in the user's default browser, with a message when that fails.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace lumora {

// Puts "http://" in front of an address that does not begin with "http" (any letter case).
QString WebAddressForShell(const QString& address);

// Asks the desktop to open the address; a failure is reported in a message box owned by owner.
void OpenWebSite(const QString& address, QWidget* owner = nullptr);

// Tests replace the desktop's URL handler; an empty function restores it.
using UrlOpener = std::function<bool(const QString& address)>;
void SetUrlOpener(UrlOpener opener);

}  // namespace lumora
