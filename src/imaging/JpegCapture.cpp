#include "imaging/JpegCapture.h"

#include <algorithm>
#include <memory>
#include <new>

#include "base/LumoraError.h"
#include "imaging/JpegColour.h"
#include "imaging/JpegQuantiser.h"
#include "imaging/JpegStripes.h"
#include "imaging/raster/Blit.h"

namespace lumora {

namespace {

bool ReadableAsIs(const raster::Bitmap& b, const JpegSourceRect& r) {
  const bool bgr = b.bpp() == 24 || (b.bpp() == 32 && b.masks() == raster::ChannelMasks::DefaultFor(32));
  return bgr && r.left >= 0 && r.top >= 0 && int64_t{r.left} + r.width <= b.width() &&
         int64_t{r.top} + r.height <= b.height();
}

// The source bitmap itself when it can be read as it is, else a 24-bit working plane filled by
// the platform's copy or halftone reduction.
std::optional<JpegPlane> MakePlane(raster::HDC source, const JpegSourceRect& r, int32_t cw, int32_t ch) {
  const bool fullSize = cw == r.width && ch == r.height;
  const raster::Bitmap& src = *source->bitmap();
  if (fullSize && ReadableAsIs(src, r)) return JpegPlane{source->sharedBitmap(), r.left, r.top, src.bpp() / 8};

  std::shared_ptr<raster::Bitmap> owned = raster::Bitmap::Create(cw, ch, 24);
  if (!owned) return std::nullopt;
  const std::unique_ptr<raster::DeviceContext> dc = raster::CreateCompatibleDC();
  dc->SelectBitmap(owned);
  if (dc->SetStretchBltMode(raster::HALFTONE) == 0) dc->SetStretchBltMode(raster::COLORONCOLOR);
  if (fullSize)
    raster::BitBlt(dc.get(), 0, 0, cw, ch, source, r.left, r.top, raster::SRCCOPY);
  else
    raster::StretchBlt(dc.get(), 0, 0, cw, ch, source, r.left, r.top, r.width, r.height, raster::SRCCOPY);
  return JpegPlane{std::move(owned), 0, 0, 3};
}

// Transforms every block of the components sharing one plane into their stores. Each stripe of
// block rows has work rows of its own.
void TransformPlane(const JpegPlane& plane, std::span<JpegComponent* const> group,
                    std::span<const JpegColourWeights> weights, std::span<const JpegQuantiser* const> quantisers,
                    int stripes) {
  const JpegComponent& first = *group[0];
  RunJpegStripes(first.BlocksDown(), stripes, [&](int, int32_t from, int32_t to) {
    JpegBlockRows rows(plane, first, weights, quantisers);
    std::vector<int16_t*> out(group.size());
    for (int32_t by = from; by < to; ++by) {
      for (size_t c = 0; c < group.size(); ++c)
        out[c] = group[c]->store.get() + static_cast<size_t>(by) * static_cast<size_t>(first.BlocksAcross()) * 64;
      rows.Transform(by, out);
    }
  });
}

int32_t CeilDiv(int64_t a, int64_t b) { return static_cast<int32_t>((a + b - 1) / b); }

JpegComponent MakeComponent(size_t index, const JpegSampling& s, const JpegFrameSize& frame, bool withStore) {
  JpegComponent c;
  c.id = static_cast<int32_t>(index) + 1;
  c.H = s.H;
  c.V = s.V;
  c.quantTable = c.entropyTable = index == 0 ? 0 : 1;
  c.cw = CeilDiv(int64_t{frame.width} * s.H, frame.Hmax);
  c.ch = CeilDiv(int64_t{frame.height} * s.V, frame.Vmax);
  c.pw = (c.cw + 7) / 8 * 8;
  c.ph = (c.ch + 7) / 8 * 8;
  if (!withStore) return c;
  try {
    c.store = std::make_unique_for_overwrite<int16_t[]>(c.StoreSize());
  } catch (const std::bad_alloc&) {
    throw LumoraError(ErrorNumber::kOutOfMemory, "Out of memory");
  }
  return c;
}

}  // namespace

std::optional<JpegCapture> CaptureJpeg(raster::HDC source, const JpegSourceRect& rect,
                                       std::span<const JpegSampling> sampling,
                                       const std::array<JpegQuantTable, 2>& quant, const JpegZigzagMap& zigzag,
                                       int stripes, JpegBlocks blocks) {
  if (!source || !source->bitmap() || rect.width < 1 || rect.height < 1 || sampling.empty()) return std::nullopt;
  if (rect.width > kJpegMaxDimension || rect.height > kJpegMaxDimension)
    throw LumoraError(ErrorNumber::kInvalidCall, "Picture too large for JPEG (at most 65535 x 65535 pixels)");

  JpegCapture capture;
  capture.quant = quant;
  capture.frame.width = rect.width;
  capture.frame.height = rect.height;
  for (const JpegSampling& s : sampling) {
    capture.frame.Hmax = std::max(capture.frame.Hmax, s.H);
    capture.frame.Vmax = std::max(capture.frame.Vmax, s.V);
  }
  const bool recompute = blocks == JpegBlocks::Recomputed &&
                         std::ranges::all_of(sampling, [](const JpegSampling& s) { return s.H == 1 && s.V == 1; }) &&
                         ReadableAsIs(*source->bitmap(), rect);
  for (size_t i = 0; i < sampling.size(); ++i)
    capture.components.push_back(MakeComponent(i, sampling[i], capture.frame, !recompute));
  if (recompute) {
    capture.source = MakePlane(source, rect, rect.width, rect.height);  // the source itself, read as it is
    capture.zigzag = zigzag;
    return capture;
  }

  const JpegQuantiser luminance(quant[0], zigzag), chrominance(quant[1], zigzag);
  // Consecutive components of the same sampled size share one plane.
  for (size_t first = 0; first < capture.components.size();) {
    size_t end = first + 1;
    while (end < capture.components.size() && capture.components[end].cw == capture.components[first].cw &&
           capture.components[end].ch == capture.components[first].ch)
      ++end;
    std::vector<JpegComponent*> group;
    std::vector<const JpegQuantiser*> quantisers;
    for (size_t c = first; c < end; ++c) {
      group.push_back(&capture.components[c]);
      quantisers.push_back(capture.components[c].quantTable == 0 ? &luminance : &chrominance);
    }
    const std::optional<JpegPlane> plane = MakePlane(source, rect, group[0]->cw, group[0]->ch);
    if (!plane) return std::nullopt;
    TransformPlane(*plane, group, std::span(kJpegColourWeights).subspan(first, end - first), quantisers,
                   stripes > 0 ? stripes : JpegStripeCount(group[0]->BlocksDown()));
    first = end;
  }
  return capture;
}

}  // namespace lumora
