#include "imaging/PngWriter.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>

#include "base/HugePages.h"
#include "imaging/DeflateJoin.h"
#include "imaging/PngRowFilter.h"
#include "imaging/raster/PixelRows.h"

namespace lumora {

namespace {

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kDotsPerMetre = 3780;  // 96 dots per inch, as the bitmap route says
constexpr uint32_t kMaxChunkBytes = 0x7FFFFFFF;
// On photographs libdeflate's faster levels take short matches that cost more than the bytes they
// replace (zlib's filtered strategy drops them): level 6 keeps files within 5% of zlib's, level 1
// within 9%.
constexpr int kLevel = 6;

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// Length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, std::string_view type, const uint8_t* data, size_t size) {
  Put32(out, static_cast<uint32_t>(size));
  const size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data, data + size);
  Put32(out, libdeflate_crc32(0, out.data() + typeAt, 4 + size));
}

// Row y of the picture as red, green, blue bytes.
void RgbRow(const raster::Bitmap& bitmap, int32_t y, std::vector<uint32_t>& colours, uint8_t* out) {
  raster::ReadColours(bitmap, y, 0, colours);  // 0x00BBGGRR
  for (const uint32_t colour : colours) {
    *out++ = static_cast<uint8_t>(colour);
    *out++ = static_cast<uint8_t>(colour >> 8);
    *out++ = static_cast<uint8_t>(colour >> 16);
  }
}

// Row y of a 32-bit bitmap (blue, green, red, opacity) as red, green, blue, opacity bytes.
void RgbaRow(const raster::Bitmap& bitmap, int32_t y, uint8_t* out) {
  const uint8_t* in = bitmap.row(y);
  for (int32_t x = 0; x < bitmap.width(); ++x, in += 4, out += 4) out[0] = in[2], out[1] = in[1], out[2] = in[0], out[3] = in[3];
}

struct CompressorDeleter {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};
using Compressor = std::unique_ptr<libdeflate_compressor, CompressorDeleter>;

// Pictures of this many filtered bytes (about 1,400,000 pixels) and more are filtered and
// compressed in two parts at once. The split depends on the size alone, so a file never depends
// on the machine; the join costs a few bytes.
constexpr size_t kHalvesFrom = size_t{4} << 20;
// From this many filtered bytes (about 11,000,000 pixels) on, the rows go in parts of about
// kPartBytes, two in hand at a time, each joined to the stream as soon as the ones before it are:
// a picture is never held filtered whole.
constexpr size_t kPartsFrom = size_t{32} << 20;
constexpr size_t kPartBytes = size_t{8} << 20;

// Rows [from, to) filtered to out, each under the row above it as a whole-picture pass would.
void FilterRows(const raster::Bitmap& bitmap, bool withAlpha, size_t from, size_t to, uint8_t* out) {
  const size_t pixelBytes = withAlpha ? 4 : 3, rowBytes = static_cast<size_t>(bitmap.width()) * pixelBytes;
  PngRowFilter filter(rowBytes, pixelBytes);
  std::vector<uint32_t> colours(static_cast<size_t>(bitmap.width()));
  std::vector<uint8_t> above(from > 0 ? rowBytes + 1 : 0);
  for (size_t y = from > 0 ? from - 1 : 0; y < to; ++y) {
    if (withAlpha)
      RgbaRow(bitmap, static_cast<int32_t>(y), filter.Row());
    else
      RgbRow(bitmap, static_cast<int32_t>(y), colours, filter.Row());
    filter.Filter(y < from ? above.data() : out + (y - from) * (rowBytes + 1));
  }
}

struct RawStream {
  std::unique_ptr<uint8_t[]> bytes;
  size_t size = 0;  // 0 when libdeflate had no memory
  std::span<const uint8_t> Bytes() const { return {bytes.get(), size}; }
};

RawStream Deflate(const uint8_t* data, size_t size) {
  const Compressor compressor(libdeflate_alloc_compressor(kLevel));
  if (!compressor) return {};
  const size_t bound = libdeflate_deflate_compress_bound(compressor.get(), size);
  RawStream stream{std::make_unique_for_overwrite<uint8_t[]>(bound), 0};
  AdviseHugePages(stream.bytes.get(), bound);
  stream.size = libdeflate_deflate_compress(compressor.get(), data, size, stream.bytes.get(), bound);
  return stream;
}

// The zlib stream of rows filtered and compressed in parts, part k being rows bounds[k] up to
// bounds[k + 1], appended to out. Two threads take every other part; each joins its part once
// the part before it is in, and the Adler-32 follows the parts in order while their filtered
// rows are still at hand. Only the parts in hand are ever held filtered.
bool AppendZlibInParts(const raster::Bitmap& bitmap, bool withAlpha, size_t rowBytes, const std::vector<size_t>& bounds,
                       std::vector<uint8_t>& out) {
  const size_t stride = rowBytes + 1, parts = bounds.size() - 1;
  size_t mostRows = 0;
  for (size_t part = 0; part < parts; ++part) mostRows = std::max(mostRows, bounds[part + 1] - bounds[part]);
  out.insert(out.end(), {0x78, 0x9C});  // deflate with a 32 KB window, the default level
  std::mutex joining;
  std::condition_variable joined;
  size_t next = 0;  // the part to join next
  bool failed = false;
  uint32_t adler = 1;
  auto work = [&](size_t first) {
    // Every byte is written before it is read, so the buffer is not zeroed first.
    const auto filtered = std::make_unique_for_overwrite<uint8_t[]>(mostRows * stride);
    AdviseHugePages(filtered.get(), mostRows * stride);
    std::vector<uint8_t> open;
    for (size_t part = first; part < parts; part += 2) {
      const size_t from = bounds[part], to = bounds[part + 1], bytes = (to - from) * stride;
      FilterRows(bitmap, withAlpha, from, to, filtered.get());
      const RawStream stream = Deflate(filtered.get(), bytes);
      const bool last = part + 1 == parts;
      open.clear();
      const bool ok = stream.size != 0 && (last || AppendOpenDeflate(stream.Bytes(), open));
      std::unique_lock lock(joining);
      joined.wait(lock, [&] { return next == part || failed; });
      if (failed) return;
      if (!ok) {
        failed = true;
        joined.notify_all();
        return;
      }
      const std::span<const uint8_t> joint = last ? stream.Bytes() : std::span<const uint8_t>(open);
      // The first part's share of the rows foretells the stream's length.
      if (part == 0) out.reserve(out.size() + joint.size() * bounds.back() / to * 9 / 8 + 64);
      out.insert(out.end(), joint.begin(), joint.end());
      adler = libdeflate_adler32(adler, filtered.get(), bytes);
      ++next;
      joined.notify_all();
    }
  };
  // A part that cannot be had (memory) fails the whole stream, and the other thread stops waiting.
  auto guarded = [&](size_t first) {
    try {
      work(first);
    } catch (...) {
      const std::lock_guard lock(joining);
      failed = true;
      joined.notify_all();
    }
  };
  auto other = std::async(std::launch::async, guarded, size_t{1});
  guarded(0);
  other.get();
  if (failed) return false;
  Put32(out, adler);
  return true;
}

// The zlib stream of the filtered rows, appended to out: in one call, in two parts, or in parts
// of about kPartBytes. The parts depend on the size alone, so a file never depends on the machine.
bool AppendZlib(const raster::Bitmap& bitmap, bool withAlpha, size_t rowBytes, std::vector<uint8_t>& out) {
  const size_t height = static_cast<size_t>(bitmap.height()), stride = rowBytes + 1, filteredBytes = height * stride;
  if (filteredBytes >= kHalvesFrom) {
    std::vector<size_t> bounds{0};
    if (filteredBytes < kPartsFrom) {
      // The upper part is the smaller: walking its blocks for the join takes the time the lower
      // part's compression still needs.
      bounds.push_back(height * 46 / 100);
    } else {
      const size_t partRows = std::max<size_t>(1, kPartBytes / stride);
      for (size_t from = partRows; from < height; from += partRows) bounds.push_back(from);
    }
    bounds.push_back(height);
    return AppendZlibInParts(bitmap, withAlpha, rowBytes, bounds, out);
  }
  const auto filtered = std::make_unique_for_overwrite<uint8_t[]>(filteredBytes);
  FilterRows(bitmap, withAlpha, 0, height, filtered.get());
  const Compressor compressor(libdeflate_alloc_compressor(kLevel));
  if (!compressor) return false;
  const size_t at = out.size();
  out.resize(at + libdeflate_zlib_compress_bound(compressor.get(), filteredBytes));
  const size_t size =
      libdeflate_zlib_compress(compressor.get(), filtered.get(), filteredBytes, out.data() + at, out.size() - at);
  out.resize(at + size);
  return size != 0;
}

}  // namespace

std::vector<uint8_t> EncodePng(const raster::Bitmap& bitmap, bool withAlpha) {
  const auto width = static_cast<size_t>(bitmap.width());
  const auto height = static_cast<size_t>(bitmap.height());
  withAlpha = withAlpha && bitmap.bpp() == 32;
  const size_t rowBytes = width * (withAlpha ? 4 : 3);

  std::vector<uint8_t> out(kSignature.begin(), kSignature.end());
  std::vector<uint8_t> header;
  Put32(header, static_cast<uint32_t>(width));
  Put32(header, static_cast<uint32_t>(height));
  // 8 bits per channel, RGB (2) or RGBA (6), deflate, adaptive filters, no interlace.
  header.insert(header.end(), {8, static_cast<uint8_t>(withAlpha ? 6 : 2), 0, 0, 0});
  PutChunk(out, "IHDR", header.data(), header.size());
  std::vector<uint8_t> physical;
  Put32(physical, kDotsPerMetre);
  Put32(physical, kDotsPerMetre);
  physical.push_back(1);  // the unit is the metre
  PutChunk(out, "pHYs", physical.data(), physical.size());
  // The stream is compressed straight into its chunk, whose length is known only afterwards.
  const size_t chunkAt = out.size();
  Put32(out, 0);
  out.insert(out.end(), {'I', 'D', 'A', 'T'});
  const size_t dataAt = out.size();
  if (!AppendZlib(bitmap, withAlpha, rowBytes, out)) return {};
  const size_t size = out.size() - dataAt;
  if (size > kMaxChunkBytes) return {};
  for (size_t k = 0; k < 4; ++k) out[chunkAt + k] = static_cast<uint8_t>(size >> (24 - 8 * k));
  Put32(out, libdeflate_crc32(0, out.data() + chunkAt + 4, 4 + size));
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

}  // namespace lumora
