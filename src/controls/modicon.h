// The program's icons, "AAA" (the application) and "DOC" (a project file), from the resources.
#pragma once

#include <QIcon>
#include <QString>

class QWidget;

namespace lumora::modicon {

// An icon by resource name; a null icon for an unknown name.
QIcon LoadIcon(const QString& name);
// Sets the window's icon; with toTopOwner the window's top owner gets it too.
void SetIcon(QWidget& window, const QString& name, bool toTopOwner);

}  // namespace lumora::modicon
