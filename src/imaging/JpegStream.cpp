#include "imaging/JpegStream.h"

#include <cmath>
#include <optional>

#include "imaging/JpegBlockRows.h"
#include "imaging/JpegEntropy.h"
#include "imaging/JpegSegments.h"
#include "imaging/JpegScan.h"
#include "imaging/JpegStripes.h"

namespace lumora {

namespace {

size_t TableCount(const JpegCapture& capture) { return capture.components.size() > 1 ? 2 : 1; }

// One stripe's reader of a scan's blocks: the kept ones, or, for a capture that keeps none, each
// row of blocks transformed again as it is reached. A capture that keeps none has one scan of
// all its components, each sampled 1 x 1, so its rows of MCUs are its rows of blocks.
class ScanRows {
 public:
  ScanRows(const JpegCapture& capture, std::span<const JpegComponent* const> scan) : m_capture(capture), m_scan(scan) {
    if (!capture.source) return;
    m_luminance.emplace(capture.quant[0], capture.zigzag);
    m_chrominance.emplace(capture.quant[1], capture.zigzag);
    for (const JpegComponent* c : scan) m_quantisers.push_back(c->quantTable == 0 ? &*m_luminance : &*m_chrominance);
    const JpegComponent& first = *scan[0];
    m_rows.emplace(*capture.source, first, std::span(kJpegColourWeights).first(scan.size()), m_quantisers);
    m_row.resize(scan.size() * static_cast<size_t>(first.BlocksAcross()) * 64);
    for (size_t i = 0; i < scan.size(); ++i) m_out.push_back(m_row.data() + i * static_cast<size_t>(first.BlocksAcross()) * 64);
  }

  // The DC predictors where row `row` starts.
  std::vector<int32_t> Predictors(int32_t row) {
    if (!m_capture.source) return JpegScanPredictors(m_scan, m_capture.frame, row);
    std::vector<int32_t> predictors(m_scan.size(), 0);
    if (row == 0) return predictors;
    m_rows->Transform(row - 1, m_out);
    for (size_t i = 0; i < m_scan.size(); ++i) predictors[i] = m_out[i][64 * (m_scan[i]->BlocksAcross() - 1)];
    return predictors;
  }

  // visit(index in scan, block) for the blocks of rows from .. to - 1 in coding order.
  template <typename Visitor>
  void Visit(int32_t from, int32_t to, Visitor&& visit) {
    if (!m_capture.source) {
      VisitJpegScanRows(m_scan, m_capture.frame, from, to, visit);
      return;
    }
    const int32_t across = m_scan[0]->BlocksAcross();
    for (int32_t row = from; row < to; ++row) {
      m_rows->Transform(row, m_out);
      for (int32_t column = 0; column < across; ++column)
        for (size_t i = 0; i < m_scan.size(); ++i)
          visit(i, std::span<const int16_t, 64>(m_out[i] + 64 * static_cast<size_t>(column), 64));
    }
  }

 private:
  const JpegCapture& m_capture;
  std::span<const JpegComponent* const> m_scan;
  std::optional<JpegQuantiser> m_luminance, m_chrominance;
  std::vector<const JpegQuantiser*> m_quantisers;
  std::optional<JpegBlockRows> m_rows;
  std::vector<int16_t> m_row;  // one row of blocks of every component
  std::vector<int16_t*> m_out;
};

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
      ScanRows blocks(capture, scan);
      std::vector<int32_t> predictors = blocks.Predictors(from);
      blocks.Visit(from, to, [&](size_t i, std::span<const int16_t, 64> block) {
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
      ScanRows blocks(capture, scan);
      std::vector<int32_t> predictors = blocks.Predictors(from);
      blocks.Visit(from, to, [&](size_t i, std::span<const int16_t, 64> block) {
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
