// Windows bitmap files. The reader checks every size and offset against the bytes actually
// present before it allocates anything; the writer emits BITMAPINFOHEADER files.
#include "imaging/raster/BmpFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>

#include "base/AtomicFile.h"
#include "base/HugePages.h"
#include "base/LumoraError.h"
#include "imaging/raster/Rgb32.h"

namespace lumora::raster {
namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12, kInfoHeaderSize = 40;
// A run-length stream may not describe more than this many pixels per byte it holds (plus a
// small allowance), so a tiny file cannot make us allocate a huge picture. Honest encoders stay
// near 128 pixels per byte.
constexpr int64_t kRleMaxPixelsPerByte = 1024;
constexpr int64_t kRleFreePixels = 65536;
// Headers, masks, a full colour table and 2^28 pixels of 32 bits with padding.
constexpr uintmax_t kMaxFileBytes = (uintmax_t{1} << 30) + (uintmax_t{1} << 20);
// A larger file's pixels are read a chunk of rows at a time, straight into the picture, so a
// file never sits in memory whole beside the picture made from it.
constexpr size_t kHeadBytes = size_t{64} << 10;
constexpr size_t kChunkBytes = size_t{1} << 20;

uint16_t U16(std::span<const uint8_t> d, size_t at) { return static_cast<uint16_t>(d[at] | (d[at + 1] << 8)); }
uint32_t U32(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
         (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

BmpReadResult Fail(const std::string& why) { return {nullptr, "Not a readable bitmap file: " + why + "."}; }

// What the headers say, once checked.
struct Layout {
  int32_t width = 0;
  int32_t height = 0;  // always positive
  bool topDown = false;
  int bpp = 0;
  uint32_t compression = BI_RGB;
  ChannelMasks masks;
  std::vector<RGBQuad> colours;
  size_t pixelOffset = 0;
  uint32_t sizeImage = 0;
};

// A mask must be one run of bits inside the pixel.
bool GoodMask(uint32_t mask, int bpp) {
  if (bpp < 32 && (mask >> bpp) != 0) return false;
  if (mask == 0) return true;
  const uint32_t low = mask & (~mask + 1);  // lowest set bit
  const uint32_t shifted = mask + low;      // carries through the run if it is contiguous
  return (shifted & mask) == 0;
}

// `file` holds the first bytes of a file of fileSize bytes: all of them, or at least kHeadBytes,
// which is more than the longest header, the masks and a full colour table take.
std::optional<std::string> ReadHeaders(std::span<const uint8_t> file, uint64_t fileSize, Layout& out) {
  if (fileSize < kFileHeaderSize + 4) return "the file is too short to hold its headers";
  if (file[0] != 'B' || file[1] != 'M') return "it does not start with the signature BM";
  const uint32_t offBits = U32(file, 10);
  const uint32_t headerSize = U32(file, 14);
  if (headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize && headerSize != 52 && headerSize != 56 &&
      headerSize != 108 && headerSize != 124)
    return "the information header has an unknown size (" + std::to_string(headerSize) + " bytes)";
  if (kFileHeaderSize + headerSize > fileSize) return "the information header runs past the end of the file";

  int64_t width = 0, height = 0;
  uint32_t clrUsed = 0;
  size_t entrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    width = U16(file, 18);
    height = U16(file, 20);
    out.bpp = U16(file, 24);
    entrySize = 3;
    if (out.bpp != 1 && out.bpp != 4 && out.bpp != 8 && out.bpp != 24)
      return "a core header cannot have " + std::to_string(out.bpp) + " bits per pixel";
  } else {
    width = static_cast<int32_t>(U32(file, 18));
    height = static_cast<int32_t>(U32(file, 22));
    out.bpp = U16(file, 28);
    out.compression = U32(file, 30);
    out.sizeImage = U32(file, 34);
    clrUsed = U32(file, 46);
  }
  if (!Bitmap::IsSupportedDepth(out.bpp)) return std::to_string(out.bpp) + " bits per pixel are not supported";
  if (width <= 0) return "the width is not positive";
  if (height == 0) return "the height is zero";
  out.topDown = height < 0;
  height = height < 0 ? -height : height;
  if (width > kBmpMaxSide || height > kBmpMaxSide) return "a side is longer than 65535 pixels";
  if (width * height > kBmpMaxPixels) return "the picture has more than 2^28 pixels";
  out.width = static_cast<int32_t>(width);
  out.height = static_cast<int32_t>(height);

  size_t tableOffset = kFileHeaderSize + headerSize;
  out.masks = ChannelMasks::DefaultFor(out.bpp);
  switch (out.compression) {
    case BI_RGB: break;
    case BI_RLE8:
    case BI_RLE4:
      if (out.bpp != (out.compression == BI_RLE8 ? 8 : 4)) return "the run-length coding does not match the depth";
      if (out.topDown) return "run-length coded pictures cannot be stored top row first";
      break;
    case BI_BITFIELDS: {
      if (out.bpp != 16 && out.bpp != 32) return "channel masks need 16 or 32 bits per pixel";
      // The masks follow a 40-byte header and are part of every longer one, at the same place.
      if (kFileHeaderSize + kInfoHeaderSize + 12 > fileSize) return "the channel masks run past the end of the file";
      const size_t at = kFileHeaderSize + kInfoHeaderSize;
      out.masks = {U32(file, at), U32(file, at + 4), U32(file, at + 8)};
      const auto& m = out.masks;
      if (!GoodMask(m.red, out.bpp) || !GoodMask(m.green, out.bpp) || !GoodMask(m.blue, out.bpp) ||
          ((m.red & m.green) | (m.red & m.blue) | (m.green & m.blue)) != 0 || (m.red | m.green | m.blue) == 0)
        return "the channel masks are not separate runs of bits inside the pixel";
      if (headerSize == kInfoHeaderSize) tableOffset += 12;
      break;
    }
    default: return "compression method " + std::to_string(out.compression) + " is not supported";
  }

  if (clrUsed > 256) return "the colour table has more than 256 entries";
  if (out.bpp <= 8) {
    const size_t tableSize = size_t{1} << out.bpp;
    const size_t count = clrUsed ? clrUsed : tableSize;
    if (tableOffset + count * entrySize > fileSize) return "the colour table runs past the end of the file";
    out.colours.resize(tableSize);
    for (size_t i = 0; i < std::min(count, tableSize); ++i) {
      const uint8_t* e = &file[tableOffset + i * entrySize];
      out.colours[i] = RGBQuad{e[0], e[1], e[2], 0};
    }
  }
  if (offBits < kFileHeaderSize + headerSize) return "the pixel data offset points into the headers";
  if (offBits >= fileSize) return "the pixel data offset lies outside the file";
  out.pixelOffset = offBits;
  return std::nullopt;
}

int64_t StrideOf(const Layout& layout) { return (int64_t{layout.width} * layout.bpp + 31) / 32 * 4; }

// An uncompressed picture's rows must all be there; the last may lack its padding.
std::optional<std::string> CheckPixelsPresent(const Layout& layout, uint64_t present) {
  const int64_t needed = StrideOf(layout) * (layout.height - 1) + (int64_t{layout.width} * layout.bpp + 7) / 8;
  if (present >= static_cast<uint64_t>(needed)) return std::nullopt;
  return "the pixel data is truncated (" + std::to_string(needed) + " bytes needed, " + std::to_string(present) +
         " present)";
}

bool IsRunLength(const Layout& layout) { return layout.compression == BI_RLE8 || layout.compression == BI_RLE4; }

// Whether a 24-bit file's rows are converted to RGB32 as they are copied.
bool ConvertsRows(const Layout& layout, BmpPixels target) { return target == BmpPixels::Rgb32 && layout.bpp == 24; }

// The picture the rows go into: the file's own layout, or RGB32 when 24-bit rows are converted.
std::shared_ptr<Bitmap> MakeBitmap(const Layout& layout, bool convertRows) {
  std::shared_ptr<Bitmap> bitmap;
  try {
    bitmap = convertRows ? Bitmap::Create(layout.width, layout.height, 32, RowOrder::TopDown)
                         : Bitmap::Create(layout.width, layout.height, layout.bpp,
                                          layout.topDown ? RowOrder::TopDown : RowOrder::BottomUp, layout.masks);
  } catch (const LumoraError&) {
  }
  if (bitmap) std::ranges::copy(layout.colours, bitmap->colorTable().begin());
  return bitmap;
}

// rowAt(r) gives the bytes of the r-th row in file order (the last may lack its padding), or an
// empty span when they cannot be read. Rows keep the file's order, as the bitmap keeps it, or
// are converted to RGB32 top row first.
template <class RowAt>
bool FillRows(const Layout& layout, bool convertRows, Bitmap& bitmap, RowAt&& rowAt) {
  const auto stride = static_cast<size_t>(bitmap.stride());
  for (int32_t r = 0; r < layout.height; ++r) {
    const std::span<const uint8_t> row = rowAt(r);
    if (row.empty()) return false;
    if (convertRows)
      Rgb24ToRgb32(row.data(), layout.width, bitmap.row(layout.topDown ? r : layout.height - 1 - r));
    else
      std::memcpy(bitmap.bits() + static_cast<size_t>(r) * stride, row.data(), std::min(stride, row.size()));
  }
  return true;
}

// The routes' layout for a picture that was not read straight into it.
BmpReadResult Finish(std::shared_ptr<Bitmap> bitmap, BmpPixels target) {
  const bool keep = target == BmpPixels::AsStored || (target == BmpPixels::Rgb32Or24 && bitmap->bpp() == 24);
  if (!keep && !IsRgb32Layout(*bitmap)) {
    bitmap = Rgb32Copy(*bitmap);
    if (!bitmap) return Fail("there is not enough memory for the picture");
  }
  return {std::move(bitmap), {}};
}

// BI_RLE8 / BI_RLE4: pairs (count, value) are runs; (0, 0) ends a line, (0, 1) the picture,
// (0, 2, dx, dy) moves, (0, n >= 3) is followed by n literal pixels padded to a 16-bit boundary.
// Rows are counted from the bottom. Anything that would leave the picture is refused.
std::optional<std::string> DecodeRle(std::span<const uint8_t> data, Bitmap& bitmap, bool rle4) {
  const int64_t width = bitmap.width(), height = bitmap.height();
  int64_t x = 0, y = 0;
  size_t at = 0;
  auto put = [&](uint32_t value) { bitmap.setPixelValue(static_cast<int32_t>(x++), static_cast<int32_t>(height - 1 - y), value); };
  while (at + 2 <= data.size()) {
    const uint8_t count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) {
      if (y >= height || x + count > width) return "a run-length run goes past the edge of the picture";
      for (int k = 0; k < count; ++k) put(rle4 ? ((k & 1) ? value & 0xF : value >> 4) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return std::nullopt;
    } else if (value == 2) {
      if (at + 2 > data.size()) return "the run-length data is truncated";
      x += data[at];
      y += data[at + 1];
      at += 2;
      if (x > width || y > height) return "a run-length move goes past the edge of the picture";
    } else {
      const size_t bytes = rle4 ? (value + 1u) / 2u : value;
      if (at + bytes > data.size()) return "the run-length data is truncated";
      if (y >= height || x + value > width) return "a run-length run goes past the edge of the picture";
      for (int k = 0; k < value; ++k) {
        const uint8_t b = data[at + static_cast<size_t>(rle4 ? k / 2 : k)];
        put(rle4 ? ((k & 1) ? b & 0xF : b >> 4) : b);
      }
      at += (bytes + 1) & ~size_t{1};
    }
  }
  return "the run-length data ends without an end-of-picture mark";
}

// BITMAPFILEHEADER, BITMAPINFOHEADER, the masks when given and the colour table, for rows of
// imageSize bytes; a negative height marks rows stored top row first.
std::vector<uint8_t> FileHeaders(int32_t width, int32_t height, int bpp, const ChannelMasks* masks,
                                 std::span<const RGBQuad> table, uint32_t imageSize) {
  const uint32_t headers = static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + (masks ? 12 : 0) + table.size() * 4);
  std::vector<uint8_t> out;
  out.reserve(headers);
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  Put32(out, headers + imageSize);  // bfSize
  Put32(out, 0);                    // bfReserved1, bfReserved2
  Put32(out, headers);              // bfOffBits
  // BITMAPINFOHEADER
  Put32(out, kInfoHeaderSize);                           // biSize
  Put32(out, static_cast<uint32_t>(width));              // biWidth
  Put32(out, static_cast<uint32_t>(height));             // biHeight: negative = top row first
  Put16(out, 1);                                         // biPlanes
  Put16(out, static_cast<uint32_t>(bpp));                // biBitCount
  Put32(out, masks ? BI_BITFIELDS : BI_RGB);             // biCompression
  Put32(out, imageSize);                                 // biSizeImage
  Put32(out, 3780);                                      // biXPelsPerMeter: 96 dots per inch
  Put32(out, 3780);                                      // biYPelsPerMeter
  Put32(out, 0);                                         // biClrUsed: the whole table
  Put32(out, 0);                                         // biClrImportant: all
  if (masks) {
    Put32(out, masks->red);
    Put32(out, masks->green);
    Put32(out, masks->blue);
  }
  for (const RGBQuad& q : table) {
    out.push_back(q.blue);
    out.push_back(q.green);
    out.push_back(q.red);
    out.push_back(0);
  }
  return out;
}

}  // namespace

BmpReadResult ReadBmp(std::span<const uint8_t> file, BmpPixels target) {
  Layout layout;
  if (auto error = ReadHeaders(file, file.size(), layout)) return Fail(*error);
  const auto pixels = file.subspan(layout.pixelOffset);
  const bool rle = IsRunLength(layout);
  std::span<const uint8_t> data = pixels;
  if (rle) {
    if (layout.sizeImage > pixels.size()) return Fail("the run-length data is truncated");
    if (layout.sizeImage) data = pixels.first(layout.sizeImage);
    if (int64_t{layout.width} * layout.height > kRleFreePixels + kRleMaxPixelsPerByte * static_cast<int64_t>(data.size()))
      return Fail("the run-length data is far too short for the picture it claims");
  } else if (auto error = CheckPixelsPresent(layout, pixels.size())) {
    return Fail(*error);
  }
  const bool convertRows = ConvertsRows(layout, target);
  std::shared_ptr<Bitmap> bitmap = MakeBitmap(layout, convertRows);
  if (!bitmap) return Fail("there is not enough memory for the picture");
  if (rle) {
    if (const auto error = DecodeRle(data, *bitmap, layout.compression == BI_RLE4)) return Fail(*error);
  } else {
    const auto stride = static_cast<size_t>(StrideOf(layout));
    FillRows(layout, convertRows, *bitmap, [&](int32_t r) {
      const size_t at = static_cast<size_t>(r) * stride;
      return data.subspan(at, std::min(stride, data.size() - at));
    });
  }
  return Finish(std::move(bitmap), target);
}

BmpReadResult ReadBmpFile(const std::filesystem::path& path, BmpPixels target) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return {nullptr, "Cannot read " + path.string() + ": " + ec.message() + "."};
  if (size > kMaxFileBytes) return Fail("the file is larger than any picture this program reads");
  std::ifstream in(path, std::ios::binary);
  const BmpReadResult unreadable{nullptr, "Cannot read " + path.string() + "."};
  auto readInto = [&in](uint8_t* to, size_t bytes) {
    return static_cast<bool>(in.read(reinterpret_cast<char*>(to), static_cast<std::streamsize>(bytes)));
  };
  auto whole = [&]() -> BmpReadResult {
    // Not zeroed first: the read fills every byte, and a large file's zeroing costs as much as its reading.
    const auto bytes = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(size));
    AdviseHugePages(bytes.get(), static_cast<size_t>(size));
    if (!in || !in.seekg(0) || !readInto(bytes.get(), static_cast<size_t>(size))) return unreadable;
    return ReadBmp({bytes.get(), static_cast<size_t>(size)}, target);
  };
  if (size <= kHeadBytes) return whole();

  std::vector<uint8_t> head(kHeadBytes);
  if (!in || !readInto(head.data(), head.size())) return unreadable;
  Layout layout;
  if (auto error = ReadHeaders(head, size, layout)) return Fail(*error);
  if (IsRunLength(layout)) return whole();  // small by nature
  if (auto error = CheckPixelsPresent(layout, size - layout.pixelOffset)) return Fail(*error);
  const bool convertRows = ConvertsRows(layout, target);
  std::shared_ptr<Bitmap> bitmap = MakeBitmap(layout, convertRows);
  if (!bitmap) return Fail("there is not enough memory for the picture");

  // Whole rows a chunk; the last row may lack its padding, and a file that shrinks while it is
  // read is one that cannot be read.
  const auto stride = static_cast<size_t>(StrideOf(layout));
  const size_t chunkRows = std::max<size_t>(1, kChunkBytes / stride);
  const uint64_t pixelBytes = size - layout.pixelOffset;
  std::vector<uint8_t> chunk(chunkRows * stride);
  size_t first = 0, count = 0;  // the rows in the chunk
  if (!in.seekg(static_cast<std::streamoff>(layout.pixelOffset))) return unreadable;
  const bool read = FillRows(layout, convertRows, *bitmap, [&](int32_t r) -> std::span<const uint8_t> {
    const auto row = static_cast<size_t>(r);
    if (row >= first + count) {
      first = row;
      count = std::min(chunkRows, static_cast<size_t>(layout.height) - row);
      const uint64_t at = uint64_t{first} * stride;
      const auto bytes = static_cast<size_t>(std::min<uint64_t>(uint64_t{count} * stride, pixelBytes - at));
      if (!readInto(chunk.data(), bytes)) return {};
    }
    const size_t at = (row - first) * stride;
    return {chunk.data() + at, std::min<uint64_t>(stride, pixelBytes - uint64_t{row} * stride)};
  });
  if (!read) return unreadable;
  return Finish(std::move(bitmap), target);
}

std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap) {
  const bool bitfields = (bitmap.bpp() == 16 || bitmap.bpp() == 32) &&
                         !(bitmap.masks() == ChannelMasks::DefaultFor(bitmap.bpp()));
  const int32_t height = bitmap.rowOrder() == RowOrder::BottomUp ? bitmap.height() : -bitmap.height();
  std::vector<uint8_t> out = FileHeaders(bitmap.width(), height, bitmap.bpp(), bitfields ? &bitmap.masks() : nullptr,
                                         bitmap.colorTable(), static_cast<uint32_t>(bitmap.sizeBytes()));
  out.reserve(out.size() + bitmap.sizeBytes());
  out.insert(out.end(), bitmap.bits(), bitmap.bits() + bitmap.sizeBytes());
  return out;
}

FilePieces Bmp24Pieces(const Bitmap& rgb32) {
  const auto stride = static_cast<size_t>(Bitmap::BytesPerScanLine(rgb32.width(), 24));
  const size_t imageSize = stride * static_cast<size_t>(rgb32.height());
  struct State {
    std::vector<uint8_t> headers, rows;
    int32_t next = -1;  // the next file row; -1 until the headers are out
  };
  auto state = std::make_shared<State>();
  state->headers = FileHeaders(rgb32.width(), rgb32.height(), 24, nullptr, {}, static_cast<uint32_t>(imageSize));
  const int32_t batch = static_cast<int32_t>(std::max<size_t>(1, kChunkBytes / stride));
  return [&rgb32, state, stride, batch]() -> std::span<const uint8_t> {
    if (state->next < 0) {
      state->next = 0;
      return state->headers;
    }
    const int32_t from = state->next, to = std::min(rgb32.height(), from + batch);
    if (from >= to) return {};
    state->rows.assign(static_cast<size_t>(to - from) * stride, 0);  // zeros: the rows' padding
    for (int32_t r = from; r < to; ++r)  // file rows go bottom up
      Rgb32ToRgb24(rgb32.row(rgb32.height() - 1 - r), rgb32.width(), state->rows.data() + static_cast<size_t>(r - from) * stride);
    state->next = to;
    return state->rows;
  };
}

bool WriteBmpFile(const std::filesystem::path& path, const Bitmap& bitmap, std::string* error) {
  return WriteFileAtomically(path, EncodeBmp(bitmap), error);
}

}  // namespace lumora::raster
