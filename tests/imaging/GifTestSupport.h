// Independent readers for checking GIF output: a plain LZW decoder that also gives the codes it
// read, a walker over the file's blocks and giflib's decoder; and giflib's encoder, the
// benchmarks' peer. Header-only: the benchmarks and the fuzz target use it too.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace lumora::giftest {

struct LzwDecoded {
  bool ok = false;
  std::string error;
  std::vector<uint8_t> pixels;
  std::vector<int> codes;  // as read, clear and end codes included
};

// The textbook GIF LZW decoder: widths grow when the next entry reaches 2^width (up to 12).
inline LzwDecoded DecodeLzw(std::span<const uint8_t> data, int codeSize) {
  LzwDecoded result;
  const int clear = 1 << codeSize, end = clear + 1;
  std::vector<int> prefix(4096, -1);
  std::vector<uint8_t> suffix(4096, 0), first(4096, 0), text;
  for (int i = 0; i < clear; ++i) suffix[static_cast<size_t>(i)] = first[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  int width = codeSize + 1, next = clear + 2, previous = -1;
  for (size_t bitPos = 0;;) {
    if (bitPos + static_cast<size_t>(width) > data.size() * 8) return result.error = "data ended without an end code", result;
    int code = 0;
    for (int b = 0; b < width; ++b, ++bitPos) code |= ((data[bitPos / 8] >> (bitPos % 8)) & 1) << b;
    result.codes.push_back(code);
    if (code == clear) {
      width = codeSize + 1, next = clear + 2, previous = -1;
      continue;
    }
    if (code == end) break;
    if (previous < 0 && code >= clear) return result.error = "first code after a clear is not a pixel", result;
    if (code > next) return result.error = "code " + std::to_string(code) + " beyond the table", result;
    if (previous >= 0 && next < 4096) {
      prefix[static_cast<size_t>(next)] = previous;
      suffix[static_cast<size_t>(next)] = first[static_cast<size_t>(code < next ? code : previous)];
      first[static_cast<size_t>(next)] = first[static_cast<size_t>(previous)];
      if (++next == (1 << width) && width < 12) ++width;
    }
    text.clear();
    for (int c = code; c >= 0; c = prefix[static_cast<size_t>(c)]) text.push_back(suffix[static_cast<size_t>(c)]);
    result.pixels.insert(result.pixels.end(), text.rbegin(), text.rend());
    previous = code;
  }
  result.ok = true;
  return result;
}

// The blocks of a single-image GIF file, walked by hand.
struct GifLayout {
  bool ok = false, trailer = false;
  std::string error;
  int width = 0, height = 0, codeSize = 0;
  uint8_t screenFlags = 0, descriptorFlags = 0;
  std::vector<uint8_t> colourTable;
  std::vector<std::vector<uint8_t>> extensions;  // each: label byte, then the raw bytes up to the terminator
  std::vector<int> blockSizes;
  std::vector<uint8_t> data;  // the sub-blocks' bytes joined
};

inline GifLayout ParseGif(std::span<const uint8_t> f) {
  GifLayout g;
  size_t p = 13;
  auto need = [&](size_t n) { return p + n <= f.size(); };
  auto bytes = [&](size_t n) { return std::vector<uint8_t>(f.begin() + static_cast<std::ptrdiff_t>(p), f.begin() + static_cast<std::ptrdiff_t>(p + n)); };
  if (f.size() < 13) return g.error = "short header", g;
  g.width = f[6] | f[7] << 8, g.height = f[8] | f[9] << 8, g.screenFlags = f[10];
  if (g.screenFlags & 0x80) {
    const size_t table = 3u << ((g.screenFlags & 7) + 1);
    if (!need(table)) return g.error = "short colour table", g;
    g.colourTable = bytes(table);
    p += table;
  }
  // Sub-blocks up to the terminator: appended to out with their sizes when sizes is null.
  auto blocks = [&](std::vector<uint8_t>& out, std::vector<int>* sizes) {
    for (;;) {
      if (!need(1)) return false;
      const uint8_t n = f[p++];
      if (!sizes) out.push_back(n);
      if (n == 0) return true;
      if (!need(n)) return false;
      if (sizes) sizes->push_back(n);
      const auto block = bytes(n);
      out.insert(out.end(), block.begin(), block.end());
      p += n;
    }
  };
  while (need(2) && f[p] == 0x21) {
    g.extensions.push_back({f[p + 1]});
    p += 2;
    if (!blocks(g.extensions.back(), nullptr)) return g.error = "unterminated extension", g;
  }
  if (!need(11) || f[p] != 0x2C) return g.error = "no image descriptor", g;
  g.descriptorFlags = f[p + 9], g.codeSize = f[p + 10];
  p += 11;
  if (!blocks(g.data, &g.blockSizes)) return g.error = "unterminated image data", g;
  g.trailer = need(1) && f[p] == 0x3B && p + 1 == f.size();
  g.ok = true;
  return g;
}

// What giflib reads back from a file in memory.
struct GiflibImage {
  int error = 0;
  int width = 0, height = 0;
  bool interlaced = false;
  int transparent = -1;
  std::vector<uint8_t> pixels;                     // rows top to bottom
  std::vector<std::array<uint8_t, 3>> colours;     // the global colour table
};

inline GiflibImage DecodeWithGiflib(std::span<const uint8_t> file) {
  struct Reader {
    std::span<const uint8_t> bytes;
    size_t at = 0;
  } reader{file};
  GiflibImage out;
  int error = 0;
  GifFileType* gif = DGifOpen(
      &reader,
      [](GifFileType* g, GifByteType* buffer, int size) {
        auto* r = static_cast<Reader*>(g->UserData);
        const size_t n = std::min(static_cast<size_t>(size), r->bytes.size() - r->at);
        std::memcpy(buffer, r->bytes.data() + r->at, n);
        r->at += n;
        return static_cast<int>(n);
      },
      &error);
  if (!gif) return out.error = error ? error : -1, out;
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount != 1) {
    out.error = gif->Error ? gif->Error : -1;
    DGifCloseFile(gif, &error);
    return out;
  }
  const SavedImage& image = gif->SavedImages[0];
  out.width = image.ImageDesc.Width;
  out.height = image.ImageDesc.Height;
  out.interlaced = image.ImageDesc.Interlace;
  out.pixels.assign(image.RasterBits, image.RasterBits + static_cast<size_t>(out.width) * out.height);
  if (gif->SColorMap)
    for (int i = 0; i < gif->SColorMap->ColorCount; ++i)
      out.colours.push_back({gif->SColorMap->Colors[i].Red, gif->SColorMap->Colors[i].Green, gif->SColorMap->Colors[i].Blue});
  GraphicsControlBlock gcb;
  if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) out.transparent = gcb.TransparentColor;
  DGifCloseFile(gif, &error);
  return out;
}

}  // namespace lumora::giftest
