#include "Decoders.h"

#include <gif_lib.h>

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

// jpeglib.h needs size_t and FILE first.
#include <jpeglib.h>

namespace lumora::test {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {
// libjpeg reports fatal errors through a callback that must not return: jump back out.
struct JpegErrorExit {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};
[[noreturn]] void JumpOnError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegErrorExit*>(cinfo->err)->jump, 1); }

// No C++ object with a destructor lives in these frames, so a jump out of them is safe.
void ReadJpegHeader(jpeg_decompress_struct& cinfo, const std::vector<uint8_t>& bytes, DecodedJpeg& out) {
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_save_markers(&cinfo, JPEG_COM, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
  out.width = static_cast<int>(cinfo.image_width);
  out.height = static_cast<int>(cinfo.image_height);
  out.components = cinfo.num_components;
  out.progressive = cinfo.progressive_mode != 0;
  for (int c = 0; c < cinfo.num_components; ++c) {
    const jpeg_component_info& comp = cinfo.comp_info[c];
    out.sampling.emplace_back(comp.h_samp_factor, comp.v_samp_factor);
    const JQUANT_TBL* table = cinfo.quant_tbl_ptrs[comp.quant_tbl_no];
    if (table)
      for (int k = 0; k < DCTSIZE2; ++k) out.quantisers.push_back(table->quantval[k]);
  }
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) out.comments += m->marker == JPEG_COM;
}

void ReadJpegPixels(jpeg_decompress_struct& cinfo, QImage& image) {
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = image.scanLine(static_cast<int>(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
}
}  // namespace

DecodedJpeg DecodeJpeg(const std::filesystem::path& path) {
  DecodedJpeg out;
  const std::vector<uint8_t> bytes = ReadBytes(path);
  if (bytes.empty()) return out;
  jpeg_decompress_struct cinfo{};
  JpegErrorExit err{};
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JumpOnError;
  jpeg_create_decompress(&cinfo);
  if (setjmp(err.jump) == 0) {
    ReadJpegHeader(cinfo, bytes, out);
    out.ok = true;
  }
  if (out.ok) {
    out.ok = false;
    out.image = QImage(out.width, out.height, QImage::Format_RGB888);
    if (setjmp(err.jump) == 0) {
      ReadJpegPixels(cinfo, out.image);
      out.ok = true;
    }
  }
  out.image = out.ok ? out.image.convertToFormat(QImage::Format_RGB32) : QImage();
  jpeg_destroy_decompress(&cinfo);
  return out;
}

DecodedGif DecodeGif(const std::filesystem::path& path) {
  DecodedGif out;
  const std::vector<uint8_t> bytes = ReadBytes(path);
  if (bytes.size() < 6) return out;
  out.version.assign(bytes.begin(), bytes.begin() + 6);
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (!gif) return out;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1) {
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    out.width = image.ImageDesc.Width;
    out.height = image.ImageDesc.Height;
    out.interlaced = image.ImageDesc.Interlace;
    out.colours = map ? map->ColorCount : 0;
    GraphicsControlBlock gcb{};
    if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) out.transparentIndex = gcb.TransparentColor;
    out.indices.assign(image.RasterBits, image.RasterBits + out.width * out.height);
    out.image = QImage(out.width, out.height, QImage::Format_RGB32);
    bool inRange = map != nullptr;
    for (int y = 0; y < out.height && inRange; ++y)
      for (int x = 0; x < out.width; ++x) {
        const int index = out.indices[static_cast<size_t>(y) * out.width + x];
        if (index >= map->ColorCount) {
          inRange = false;
          break;
        }
        const GifColorType c = map->Colors[index];
        out.image.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
      }
    out.ok = inRange;
  }
  DGifCloseFile(gif, &error);
  return out;
}

int MaxChannelDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return INT_MAX;
  int worst = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q))});
    }
  return worst;
}

double MeanChannelDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 1e9;
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  return sum / (3.0 * a.width() * a.height());
}

}  // namespace lumora::test
