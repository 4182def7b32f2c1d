// mGIFSave: writes one 8-bit surface with its palette as a single-image GIF file (GIF87a, or
// GIF89a when a transparent index or a comment is given), LZW-compressed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace lumora {

class cDIB;
class cPal8bpp;

namespace mGIFSave {

// Builds the bit-mask table (SaveGIF also builds it on first use).
void InitGIFMasks();
// mask[i] = 2^i - 1 for i = 0..16.
std::span<const uint32_t, 17> Masks();

// The whole file in memory. False, with out left empty, when the surface is not 8-bit, the
// palette has fewer than 2 entries, a side exceeds 32767, the transparent index exceeds 255 or
// a pixel's index lies beyond the colour table. TransparentIndex -1 means none.
bool EncodeGIF(const cDIB& dib, const cPal8bpp& palette, int16_t TransparentIndex, bool Interlaced,
               const std::string& Comment, std::vector<uint8_t>& out);

// As EncodeGIF for a surface that another thread is still filling: awaitRow(y) returns once row
// y holds its final indices (it may throw to give up). The indices are trusted to lie within
// the colour table.
bool EncodeGIFAsFilled(const cDIB& dib, const cPal8bpp& palette, int16_t TransparentIndex, bool Interlaced,
                       const std::string& Comment, const std::function<void(int32_t)>& awaitRow,
                       std::vector<uint8_t>& out);

// True when the whole file was written. The file is written beside its final name and renamed
// over it, so a failure leaves no partial file and an existing file as it was.
bool SaveGIF(const std::filesystem::path& FileName, const cDIB& dib, const cPal8bpp& palette,
             int16_t TransparentIndex, bool Interlaced, const std::string& Comment);

// Rows of a picture of that height in the order they are written: top to bottom, or the four
// interlace passes (every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1).
std::vector<int32_t> RowOrder(int32_t height, bool interlaced);

}  // namespace mGIFSave
}  // namespace lumora
