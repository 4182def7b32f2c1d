#include "imaging/JpegStream.h"

#include <cmath>
#include <optional>

#include "imaging/JpegEntropy.h"
#include "imaging/JpegSegments.h"
#include "imaging/JpegScan.h"
#include "imaging/JpegStripes.h"

namespace lumora {

namespace {

size_t TableCount(const JpegCapture& capture) { return capture.components.size() > 1 ? 2 : 1; }

}  // namespace

JpegEntropyPlan PlanJpegEntropy(const JpegCapture& capture, int stripes) {
  // Padding blocks of interleaved scans are counted with the stored ones, so EOB always has a
  // code when they occur and the coded length is known exactly.
  std::array<JpegSymbolCounts, 2> dc{}, ac{};
  for (const auto& scan : PlanJpegScans(capture.components)) {
    const int32_t rows = JpegScanRows(scan, capture.frame);
    const int count = stripes > 0 ? stripes : JpegStripeCount(rows);
    std::vector<std::array<JpegSymbolCounts, 2>> stripeDc(static_cast<size_t>(count)), stripeAc(stripeDc.size());
    RunJpegStripes(rows, count, [&](int stripe, int32_t from, int32_t to) {
      auto& sdc = stripeDc[static_cast<size_t>(stripe)];
      auto& sac = stripeAc[static_cast<size_t>(stripe)];
      sdc = {};
      sac = {};
      std::vector<int32_t> predictors = JpegScanPredictors(scan, capture.frame, from);
      VisitJpegScanRows(scan, capture.frame, from, to, [&](size_t i, std::span<const int16_t, 64> block) {
        const auto t = static_cast<size_t>(scan[i]->entropyTable);
        CountJpegBlock(block, predictors[i], sdc[t], sac[t]);
      });
    });
    for (size_t s = 0; s < stripeDc.size(); ++s)
      for (size_t t = 0; t < 2; ++t)
        for (size_t k = 0; k < 256; ++k) {
          dc[t][k] += stripeDc[s][t][k];
          ac[t][k] += stripeAc[s][t][k];
        }
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

std::vector<uint8_t> WriteJpegStream(const JpegCapture& capture, std::string_view comment, uint64_t* codedBits,
                                     int stripes) {
  const JpegEntropyPlan plan = PlanJpegEntropy(capture, stripes);
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
    const int32_t rows = JpegScanRows(scan, capture.frame);
    const int count = stripes > 0 ? stripes : JpegStripeCount(rows);
    // The first stripe is coded straight into the stream; the others into raw bits of their own,
    // which the stream's writer then takes over, stuffing them where they land.
    JpegBitWriter writer(out);
    std::vector<std::vector<uint8_t>> raw(static_cast<size_t>(count));
    std::vector<uint64_t> rawBits(raw.size());
    const size_t stripeBytes = out.capacity() / raw.size();  // read before the first stripe grows `out`
    RunJpegStripes(rows, count, [&](int stripe, int32_t from, int32_t to) {
      std::optional<JpegBitWriter> own;
      if (stripe > 0) {
        raw[static_cast<size_t>(stripe)].reserve(stripeBytes);
        own.emplace(raw[static_cast<size_t>(stripe)], true);
      }
      JpegBitWriter& coder = stripe > 0 ? *own : writer;
      std::vector<int32_t> predictors = JpegScanPredictors(scan, capture.frame, from);
      VisitJpegScanRows(scan, capture.frame, from, to, [&](size_t i, std::span<const int16_t, 64> block) {
        const auto t = static_cast<size_t>(scan[i]->entropyTable);
        EncodeJpegBlock(block, predictors[i], plan.dc[t], plan.ac[t], coder);
      });
      if (own) {
        rawBits[static_cast<size_t>(stripe)] = own->BitsWritten();
        own->Flush();
      }
    });
    for (size_t stripe = 1; stripe < raw.size(); ++stripe) writer.Append(raw[stripe], rawBits[stripe]);
    writer.Flush();
    bits += writer.BitsWritten();
  }
  WriteJpegEOI(out);
  if (codedBits) *codedBits = bits;
  return out;
}

}  // namespace lumora
