// cJpeg: the system's own baseline JPEG encoder, one object per picture. Settings (quality,
// sampling, comment) shape the tables; SampleHDC captures and quantises a picture; SaveFile
// writes it with Huffman tables optimised for that picture.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "imaging/JpegCapture.h"
#include "imaging/JpegTables.h"
#include "imaging/raster/DeviceContext.h"

namespace lumora {

class cJpeg {
 public:
  cJpeg();

  // 1..100; other values are ignored. Rebuilds the luminance and chrominance tables.
  void Quality(int32_t vData);
  int32_t Quality() const { return m_quality; }

  // Factors 1..4 per component (else "Invalid Sampling Value", nothing changed); H2, V2, H3 and
  // V3 all 0 make a greyscale encoder. Takes effect at the next capture.
  void SetSamplingFrequencies(int32_t H1, int32_t V1, int32_t H2, int32_t V2, int32_t H3, int32_t V3);

  // At most 65533 bytes, else "Illegal Comment Length" and the comment stays as it was.
  void Comment(const std::string& Value);
  const std::string& Comment() const { return m_comment; }

  // Captures the rectangle of the context: 0 on success, 1 when there is nothing to capture
  // (size below 1, no bitmap) or the working bitmap cannot be made; the previous capture then
  // stays. A side above 65535 raises an error. A picture sampled 1 x 1 is read again when it is
  // saved (it is held, not copied): its pixels must not change in between.
  int32_t SampleHDC(raster::HDC lHDC, int32_t lWidth, int32_t lHeight, int32_t lSrcLeft = 0, int32_t lSrcTop = 0);

  // 0 when written, 1 for an empty name, 2 when something of that name exists (left untouched).
  // Raises an error when nothing has been captured or the file cannot be written (no file is left).
  int32_t SaveFile(const std::filesystem::path& FileName);
  // The same stream, in memory.
  std::vector<uint8_t> SaveToMemory();

  // The sampling factors of the next capture, one per component.
  const std::vector<JpegSampling>& Sampling() const { return m_sampling; }
  const JpegQuantTable& QuantTable(size_t index) const { return m_quant.at(index); }
  const JpegZigzagMap& ZigzagMap() const { return m_zigzag; }
  // The last capture, if any.
  const std::optional<JpegCapture>& Capture() const { return m_capture; }

 private:
  int32_t m_quality = 0;
  JpegZigzagMap m_zigzag;
  std::array<JpegQuantTable, 2> m_quant{};
  std::vector<JpegSampling> m_sampling;
  int32_t m_samplePrecision = 8;
  std::string m_comment;
  std::optional<JpegCapture> m_capture;
};

}  // namespace lumora
