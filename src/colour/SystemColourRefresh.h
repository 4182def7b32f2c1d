// The system colour table follows the user interface's palette: called once at start, so that
// system colours (0x80000000 + index) translate to what the desktop shows.
#pragma once

class QPalette;

namespace lumora {

// Copies the palette's roles into the system colours they stand for; colours the palette has no
// role for keep their classic values.
void RefreshSystemColours(const QPalette& palette);

}  // namespace lumora
