// The program's own icons, drawn as SVG and kept in the resources.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace lumora::LumoraIcons {

// An icon by name ("bold", "save", "AAA"...); a null icon for an unknown name.
QIcon Icon(const QString& name);
// The icon drawn at side x side pixels.
QPixmap Pixmap(const QString& name, int side = 20);
// The same picture faded to grey, for disabled buttons.
QPixmap DisabledPixmap(const QString& name, int side = 20);

}  // namespace lumora::LumoraIcons
