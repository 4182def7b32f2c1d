#include "imaging/JpegStream.h"

#include <cmath>

#include "imaging/JpegEntropy.h"
#include "imaging/JpegSegments.h"
#include "imaging/JpegScan.h"

namespace lumora {

namespace {

size_t TableCount(const JpegCapture& capture) { return capture.components.size() > 1 ? 2 : 1; }

}  // namespace

JpegEntropyPlan PlanJpegEntropy(const JpegCapture& capture) {
  // Padding blocks of interleaved scans are counted with the stored ones, so EOB always has a
  // code when they occur and the coded length is known exactly.
  std::array<JpegSymbolCounts, 2> dc{}, ac{};
  for (const auto& scan : PlanJpegScans(capture.components)) {
    std::vector<int32_t> predictors(scan.size(), 0);
    VisitJpegScanBlocks(scan, capture.frame, [&](size_t i, std::span<const int16_t, 64> block) {
      const auto t = static_cast<size_t>(scan[i]->entropyTable);
      CountJpegBlock(block, predictors[i], dc[t], ac[t]);
    });
  }
  JpegEntropyPlan plan;
  for (size_t t = 0; t < TableCount(capture); ++t) {
    plan.dc[t] = JpegHuffmanTable::Optimal(dc[t], JpegTableClass::DC, capture.samplePrecision);
    plan.codedBits += JpegCodedBits(dc[t], plan.dc[t], JpegTableClass::DC);
    plan.ac[t] = JpegHuffmanTable::Optimal(ac[t], JpegTableClass::AC, capture.samplePrecision);
    plan.codedBits += JpegCodedBits(ac[t], plan.ac[t], JpegTableClass::AC);
  }
  return plan;
}

std::vector<uint8_t> WriteJpegStream(const JpegCapture& capture, std::string_view comment, uint64_t* codedBits) {
  const JpegEntropyPlan plan = PlanJpegEntropy(capture);
  const size_t tables = TableCount(capture);

  std::vector<uint8_t> out;
  // Room for the coded bits, stuffing and headers, so the buffer is rarely grown.
  out.reserve(static_cast<size_t>(std::nearbyint(static_cast<double>(plan.codedBits / 8) * 1.3 + 1000.0 +
                                                 static_cast<double>(comment.size()))));
  WriteJpegSOI(out);
  WriteJpegAPP0(out);
  WriteJpegCOM(out, comment);
  WriteJpegCOM(out, kJpegEncoderComment);
  for (size_t t = 0; t < tables; ++t)
    WriteJpegDQT(out, static_cast<int32_t>(t), capture.quant[t].Q, capture.samplePrecision);
  WriteJpegSOF0(out, capture.samplePrecision, capture.frame.height, capture.frame.width, capture.components);
  for (size_t t = 0; t < tables; ++t) {
    WriteJpegDHT(out, JpegTableClass::DC, static_cast<int32_t>(t), plan.dc[t]);
    WriteJpegDHT(out, JpegTableClass::AC, static_cast<int32_t>(t), plan.ac[t]);
  }

  uint64_t bits = 0;
  for (const auto& scan : PlanJpegScans(capture.components)) {
    WriteJpegSOS(out, scan);
    JpegBitWriter writer(out);
    std::vector<int32_t> predictors(scan.size(), 0);
    VisitJpegScanBlocks(scan, capture.frame, [&](size_t i, std::span<const int16_t, 64> block) {
      const auto t = static_cast<size_t>(scan[i]->entropyTable);
      EncodeJpegBlock(block, predictors[i], plan.dc[t], plan.ac[t], writer);
    });
    writer.Flush();
    bits += writer.BitsWritten();
  }
  WriteJpegEOI(out);
  if (codedBits) *codedBits = bits;
  return out;
}

}  // namespace lumora
