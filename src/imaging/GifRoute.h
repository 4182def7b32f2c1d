// The GIF route from a true-colour picture: the colour reduction of mDither8bpp and the writer
// of mGIFSave side by side. The writer codes each row on a second thread as soon as the
// reduction has finished it, so the two take little more than the longer of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

class cDIB;
class cPal8bpp;

// ConvertTo8bpp(source, target, palette) followed by EncodeGIF(target, palette, ...), with the
// same bytes, target and palette as a result. A picture of one colour, whose palette has a
// single entry, gets a black second entry (never used) because a GIF colour table has two or
// more. False, with out empty, when the writer refuses (see EncodeGIF) or the source is empty.
bool EncodeReducedGIF(const cDIB& source, cDIB& target, cPal8bpp& palette, int16_t TransparentIndex,
                      bool Interlaced, const std::string& Comment, std::vector<uint8_t>& out);

}  // namespace lumora
