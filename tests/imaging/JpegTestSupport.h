// Shared by the JPEG tests and the benchmark: deterministic photo-like pictures, encoding through
// cJpeg and libjpeg-turbo, strict decoding by libjpeg-turbo, and the stream's markers.
#pragma once

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/cJpeg.h"
#include "imaging/raster/Bitmap.h"
#include "imaging/raster/DeviceContext.h"

namespace lumora::jpegtest {

// A bitmap selected into its own context, as SampleHDC sees the export's composite.
struct Surface {
  std::shared_ptr<raster::Bitmap> bitmap;
  std::unique_ptr<raster::DeviceContext> dc;
  explicit Surface(std::shared_ptr<raster::Bitmap> b) : bitmap(std::move(b)), dc(raster::CreateCompatibleDC()) {
    dc->SelectBitmap(bitmap);
  }
  raster::HDC hdc() const { return dc.get(); }
};

// Smooth shading, a lit sphere with a fine texture and sensor-like noise: every coefficient range,
// the same on every run.
inline std::shared_ptr<raster::Bitmap> MakePhoto(int32_t width, int32_t height, uint32_t seed = 1) {
  auto bitmap = raster::Bitmap::Create(width, height, 32, raster::RowOrder::TopDown);
  uint32_t state = seed * 2654435761u + 12345u;
  auto noise = [&state]() { return state = state * 1664525u + 1013904223u, static_cast<int>((state >> 24) % 9) - 4; };
  auto clamp = [](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
  const double cx = width * 0.6, cy = height * 0.4, radius = 0.3 * std::min(width, height) + 2;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const double fx = static_cast<double>(x) / std::max(1, width - 1), fy = static_cast<double>(y) / std::max(1, height - 1);
      double r = 40 + 150 * fy + 30 * std::sin(fx * 6.0 + seed), g = 90 + 80 * fx * fy + 25 * std::cos(fy * 9.0);
      double b = 170 - 120 * fy + 20 * std::sin((fx + fy) * 14.0);
      const double d = std::hypot(x - cx, y - cy), shade = 1.0 - 0.6 * d / radius;
      if (d < radius) {
        r = 220 * shade + 12 * std::sin(x * 0.9) * std::cos(y * 0.7), g = 150 * shade;
        b = 60 * shade + 10 * std::sin(x * 1.7 + y * 0.3);
      }
      const uint32_t red = clamp(r + noise()), green = clamp(g + noise()), blue = clamp(b + noise());
      bitmap->setPixelValue(x, y, bitmap->valueForRGB(red | green << 8 | blue << 16));
    }
  }
  return bitmap;
}

struct Sampling {
  int32_t h1, v1, h2, v2, h3, v3;
};
inline constexpr Sampling k444{1, 1, 1, 1, 1, 1}, k420{2, 2, 1, 1, 1, 1}, kGrey{1, 1, 0, 0, 0, 0};

inline std::vector<uint8_t> Encode(const raster::Bitmap& picture, int32_t quality, Sampling s, const std::string& comment = {}) {
  // The surface shares the bitmap; the caller keeps ownership.
  Surface surface(std::shared_ptr<raster::Bitmap>(const_cast<raster::Bitmap*>(&picture), [](raster::Bitmap*) {}));
  cJpeg jpeg;
  jpeg.Quality(quality);
  jpeg.SetSamplingFrequencies(s.h1, s.v1, s.h2, s.v2, s.h3, s.v3);
  jpeg.Comment(comment);
  if (jpeg.SampleHDC(surface.hdc(), picture.width(), picture.height()) != 0) throw std::runtime_error("capture failed");
  return jpeg.SaveToMemory();
}

// libjpeg-turbo's encoder on the same 32-bit pixels: quality 100, optimised Huffman tables,
// luminance sampled `lumaFactor` x `lumaFactor` against chrominance 1 x 1.
inline std::vector<uint8_t> EncodeLibjpeg(const raster::Bitmap& picture, J_DCT_METHOD method, int lumaFactor) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width());
  cinfo.image_height = static_cast<JDIMENSION>(picture.height());
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRX;  // the bitmap's own layout
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  for (int c = 0; c < 3; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = c == 0 ? lumaFactor : 1;
  cinfo.optimize_coding = TRUE;
  cinfo.dct_method = method;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(picture.row(static_cast<int32_t>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

struct Decoded {
  int width = 0, height = 0, components = 0;
  std::vector<uint8_t> pixels;  // RGB, or one byte a pixel for greyscale
  std::string error;
};

// libjpeg-turbo, strict: any warning (corrupt data, extraneous bytes) counts as a failure.
inline Decoded DecodeLibjpeg(const std::vector<uint8_t>& bytes) {
  struct Handler {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
  } handler{};
  Decoded result;
  jpeg_decompress_struct cinfo{};
  cinfo.err = jpeg_std_error(&handler.mgr);
  handler.mgr.error_exit = [](j_common_ptr c) {
    c->err->format_message(c, reinterpret_cast<Handler*>(c->err)->message);
    std::longjmp(reinterpret_cast<Handler*>(c->err)->jump, 1);
  };
  handler.mgr.emit_message = [](j_common_ptr c, int level) {
    if (level < 0) c->err->error_exit(c);  // warnings are errors here
  };
  if (setjmp(handler.jump)) {
    result.error = handler.message[0] ? handler.message : "failed";
    jpeg_destroy_decompress(&cinfo);
    return result;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.dct_method = JDCT_FLOAT;
  jpeg_start_decompress(&cinfo);
  result.width = static_cast<int>(cinfo.output_width);
  result.height = static_cast<int>(cinfo.output_height);
  result.components = cinfo.output_components;
  const size_t rowBytes = static_cast<size_t>(result.width) * result.components;
  result.pixels.resize(rowBytes * result.height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = result.pixels.data() + cinfo.output_scanline * rowBytes;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return result;
}

// Peak signal-to-noise ratio of a colour decode against the source picture, over all channels.
inline double Psnr(const raster::Bitmap& source, const Decoded& decoded) {
  double squared = 0;
  for (int y = 0; y < decoded.height; ++y)
    for (int x = 0; x < decoded.width; ++x)
      for (int c = 0; c < 3; ++c) {
        const double d = static_cast<double>((source.pixelRGB(x, y) >> (8 * c)) & 0xFF) -
                         decoded.pixels[(static_cast<size_t>(y) * decoded.width + x) * 3 + c];
        squared += d * d;
      }
  const double mse = squared / (3.0 * decoded.width * decoded.height);
  return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

inline int Be16(const std::vector<uint8_t>& b, size_t at) { return b[at] << 8 | b[at + 1]; }

// Every marker segment (FF xx outside entropy-coded data), in stream order.
struct Marker {
  uint8_t code;
  size_t at;
};
inline std::vector<Marker> Markers(const std::vector<uint8_t>& b) {
  std::vector<Marker> out;
  for (size_t i = 0; i + 1 < b.size();) {
    if (b[i] != 0xFF) throw std::runtime_error("not at a marker");
    out.push_back({b[i + 1], i});
    if (b[i + 1] == 0xD8 || b[i + 1] == 0xD9) {
      i += 2;
      continue;
    }
    i += 2 + static_cast<size_t>(Be16(b, i + 2));
    if (out.back().code == 0xDA)  // skip entropy-coded data up to the next real marker
      while (i + 1 < b.size() && !(b[i] == 0xFF && b[i + 1] != 0x00)) ++i;
  }
  return out;
}

inline uint64_t Fnv1a(const std::vector<uint8_t>& bytes) {
  uint64_t h = 1469598103934665603ull;
  for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

}  // namespace lumora::jpegtest
