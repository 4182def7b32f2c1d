#include "imaging/cJpeg.h"

#include <system_error>

#include "base/AtomicFile.h"
#include "base/LumoraError.h"
#include "imaging/JpegStream.h"

namespace lumora {

namespace {

void CheckFactor(int32_t factor) {
  if (factor < 1 || factor > 4) throw LumoraError(ErrorNumber::kJpeg, "Invalid Sampling Value");
}

}  // namespace

cJpeg::cJpeg() : m_zigzag(BuildJpegZigzagMap()) {
  SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
  Quality(75);
}

void cJpeg::Quality(int32_t vData) {
  if (vData < 1 || vData > 100) return;
  m_quality = vData;
  const int32_t scale = JpegQualityScale(vData);
  m_quant[0].Scale(JpegLuminanceBaseTable(), scale);
  m_quant[1].Scale(JpegChrominanceBaseTable(), scale);
  m_quant[0].RebuildDivisors(m_zigzag, m_samplePrecision);
  m_quant[1].RebuildDivisors(m_zigzag, m_samplePrecision);
}

void cJpeg::SetSamplingFrequencies(int32_t H1, int32_t V1, int32_t H2, int32_t V2, int32_t H3, int32_t V3) {
  CheckFactor(H1);
  CheckFactor(V1);
  if (H2 == 0 && V2 == 0 && H3 == 0 && V3 == 0) {
    m_sampling = {JpegSampling{1, 1}};  // greyscale: one component, the factors do not matter
    return;
  }
  for (int32_t f : {H2, H3, V2, V3}) CheckFactor(f);
  m_sampling = {JpegSampling{H1, V1}, JpegSampling{H2, V2}, JpegSampling{H3, V3}};
}

void cJpeg::Comment(const std::string& Value) {
  if (Value.size() > 65533) throw LumoraError(ErrorNumber::kJpeg, "Illegal Comment Length");
  m_comment = Value;
}

int32_t cJpeg::SampleHDC(raster::HDC lHDC, int32_t lWidth, int32_t lHeight, int32_t lSrcLeft, int32_t lSrcTop) {
  m_samplePrecision = 8;
  std::optional<JpegCapture> capture =
      CaptureJpeg(lHDC, JpegSourceRect{lSrcLeft, lSrcTop, lWidth, lHeight}, m_sampling, m_quant, m_zigzag);
  if (!capture) return 1;
  m_capture = std::move(capture);
  return 0;
}

std::vector<uint8_t> cJpeg::SaveToMemory() {
  if (!m_capture)
    throw LumoraError(ErrorNumber::kInvalidCall, "Invalid procedure call or argument", "cJpeg: nothing captured");
  return WriteJpegStream(*m_capture, m_comment);
}

int32_t cJpeg::SaveFile(const std::filesystem::path& FileName) {
  if (FileName.empty()) return 1;
  std::error_code ec;
  // Anything of that name counts, whatever its attributes (or a dangling link).
  if (std::filesystem::symlink_status(FileName, ec).type() != std::filesystem::file_type::not_found) return 2;
  const std::vector<uint8_t> bytes = SaveToMemory();
  std::string reason;
  if (!WriteFileAtomically(FileName, bytes, &reason))
    throw LumoraError(ErrorNumber::kPathFileAccess, "Path/File access error", reason);
  return 0;
}

}  // namespace lumora
