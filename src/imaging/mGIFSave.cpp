#include "imaging/mGIFSave.h"

#include <algorithm>
#include <array>
#include <functional>

#include "base/AtomicFile.h"
#include "imaging/GifLzwEncoder.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"

namespace lumora::mGIFSave {

namespace {

std::array<uint32_t, 17> g_masks{};
bool g_masksBuilt = false;

constexpr int32_t kMaxSide = 32767;  // the sides are written as 16-bit numbers
constexpr size_t kCommentChunk = 255;

void put16(std::vector<uint8_t>& out, int32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// The smallest n >= 1 with 2^n >= count.
int tableBits(int count) {
  int n = 1;
  while ((1 << n) < count) ++n;
  return n;
}

// Every index within the colour table: the LZW codes below the clear code are the table's.
bool indicesFit(const raster::Bitmap& bitmap, int bits) {
  if (bits == 8) return true;
  const auto limit = static_cast<uint8_t>((1 << bits) - 1);
  for (int32_t y = 0; y < bitmap.height(); ++y) {
    const uint8_t* row = bitmap.row(y);
    if (*std::max_element(row, row + bitmap.width()) > limit) return false;
  }
  return true;
}

// GIF89a section 18: logical screen descriptor, then section 19: the global colour table.
void putScreen(std::vector<uint8_t>& out, const cDIB& dib, const cPal8bpp& palette, int bits) {
  put16(out, dib.Width());
  put16(out, dib.Height());
  out.push_back(static_cast<uint8_t>(0x80 | 0x70 | (bits - 1)));  // global table, 8-bit resolution, size
  out.push_back(0);                                                // background colour index
  out.push_back(0);                                                // pixel aspect ratio: none given
  const size_t tableStart = out.size();
  out.resize(tableStart + 3 * (size_t{1} << bits), 0);  // entries past the palette stay black
  for (int i = 0; i < palette.Entries(); ++i) {
    out[tableStart + 3 * static_cast<size_t>(i)] = palette.rgbR(i);
    out[tableStart + 3 * static_cast<size_t>(i) + 1] = palette.rgbG(i);
    out[tableStart + 3 * static_cast<size_t>(i) + 2] = palette.rgbB(i);
  }
}

// GIF89a section 24: comment extension; a comment longer than one sub-block takes several.
void putComment(std::vector<uint8_t>& out, const std::string& comment) {
  out.push_back(0x21);  // extension introducer
  out.push_back(0xFE);  // comment label
  for (size_t at = 0; at < comment.size(); at += kCommentChunk) {
    const size_t length = std::min(kCommentChunk, comment.size() - at);
    out.push_back(static_cast<uint8_t>(length));
    out.insert(out.end(), comment.begin() + static_cast<std::ptrdiff_t>(at),
               comment.begin() + static_cast<std::ptrdiff_t>(at + length));
  }
  out.push_back(0x00);  // block terminator
}

// GIF89a section 23: graphic control extension marking one index transparent.
void putTransparency(std::vector<uint8_t>& out, int16_t index) {
  out.push_back(0x21);  // extension introducer
  out.push_back(0xF9);  // graphic control label
  out.push_back(4);     // block size
  out.push_back(0x01);  // transparent colour given; disposal 0; no user input
  put16(out, 0);        // delay time
  out.push_back(static_cast<uint8_t>(index));
  out.push_back(0x00);  // block terminator
}

// GIF89a section 20: image descriptor, the whole screen, no local colour table.
void putDescriptor(std::vector<uint8_t>& out, const cDIB& dib, int bits, bool interlaced) {
  out.push_back(0x2C);  // image separator
  put16(out, 0);        // left
  put16(out, 0);        // top
  put16(out, dib.Width());
  put16(out, dib.Height());
  // Bit 7 clear: no local table; the low bits repeat the global table's size.
  out.push_back(static_cast<uint8_t>((bits - 1) | (interlaced ? 0x40 : 0)));
}

// GIF89a section 22: table-based image data, the LZW minimum code size and the sub-blocks.
void putImageData(std::vector<uint8_t>& out, const cDIB& dib, int bits, bool interlaced,
                  const std::function<void(int32_t)>& awaitRow) {
  const int codeSize = std::max(bits, 2);
  out.push_back(static_cast<uint8_t>(codeSize));
  const raster::Bitmap& bitmap = *dib.hDIb();
  const std::vector<int32_t> order = RowOrder(bitmap.height(), interlaced);
  std::vector<const uint8_t*> rows;
  rows.reserve(order.size());
  for (int32_t y : order) rows.push_back(bitmap.row(y));
  std::function<void(size_t)> beforeRow;
  if (awaitRow) beforeRow = [&](size_t index) { awaitRow(order[index]); };
  GifLzwEncoder(codeSize, Masks()).Encode(rows, bitmap.width(), out, beforeRow);
  out.push_back(0x00);  // block terminator
}

// The file for a surface whose indices are checked first, or, with awaitRow, trusted and read
// as they are finished.
bool encode(const cDIB& dib, const cPal8bpp& palette, int16_t transparentIndex, bool interlaced,
            const std::string& comment, const std::function<void(int32_t)>& awaitRow, std::vector<uint8_t>& out) {
  out.clear();
  if (dib.BPP() != 8 || dib.hDIb() == nullptr || palette.Entries() < 2) return false;
  if (dib.Width() > kMaxSide || dib.Height() > kMaxSide || transparentIndex > 255) return false;
  const int bits = tableBits(palette.Entries());
  if (!awaitRow && !indicesFit(*dib.hDIb(), bits)) return false;

  const bool extended = transparentIndex > -1 || !comment.empty();
  const std::string header = extended ? "GIF89a" : "GIF87a";  // GIF89a section 17
  out.assign(header.begin(), header.end());
  putScreen(out, dib, palette, bits);
  if (!comment.empty()) putComment(out, comment);
  if (transparentIndex > -1) putTransparency(out, transparentIndex);
  putDescriptor(out, dib, bits, interlaced);
  putImageData(out, dib, bits, interlaced, awaitRow);
  out.push_back(0x3B);  // trailer (section 27)
  return true;
}

}  // namespace

void InitGIFMasks() {
  for (size_t i = 0; i < g_masks.size(); ++i) g_masks[i] = (uint32_t{1} << i) - 1;
  g_masksBuilt = true;
}

std::span<const uint32_t, 17> Masks() {
  if (!g_masksBuilt) InitGIFMasks();
  return g_masks;
}

std::vector<int32_t> RowOrder(int32_t height, bool interlaced) {
  std::vector<int32_t> order;
  order.reserve(static_cast<size_t>(std::max(height, 0)));
  if (!interlaced) {
    for (int32_t y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  static constexpr std::array<std::array<int32_t, 2>, 4> kPasses = {{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
  for (const auto& [start, step] : kPasses)
    for (int32_t y = start; y < height; y += step) order.push_back(y);
  return order;
}

bool EncodeGIF(const cDIB& dib, const cPal8bpp& palette, int16_t TransparentIndex, bool Interlaced,
               const std::string& Comment, std::vector<uint8_t>& out) {
  return encode(dib, palette, TransparentIndex, Interlaced, Comment, {}, out);
}

bool EncodeGIFAsFilled(const cDIB& dib, const cPal8bpp& palette, int16_t TransparentIndex, bool Interlaced,
                       const std::string& Comment, const std::function<void(int32_t)>& awaitRow,
                       std::vector<uint8_t>& out) {
  return encode(dib, palette, TransparentIndex, Interlaced, Comment, awaitRow, out);
}

bool SaveGIF(const std::filesystem::path& FileName, const cDIB& dib, const cPal8bpp& palette,
             int16_t TransparentIndex, bool Interlaced, const std::string& Comment) {
  std::vector<uint8_t> bytes;
  if (!EncodeGIF(dib, palette, TransparentIndex, Interlaced, Comment, bytes)) return false;
  return WriteFileAtomically(FileName, bytes);
}

}  // namespace lumora::mGIFSave
