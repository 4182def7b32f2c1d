#include "imaging/JpegScan.h"

namespace lumora {

std::vector<std::vector<const JpegComponent*>> PlanJpegScans(std::span<const JpegComponent> components) {
  std::vector<std::vector<const JpegComponent*>> scans;
  int32_t blocks = 0;  // blocks per MCU of the scan being filled
  for (const JpegComponent& c : components) {
    const int32_t own = c.H * c.V;
    if (scans.empty() || scans.back().size() == 3 || blocks + own > 10) {
      scans.emplace_back();
      blocks = 0;
    }
    scans.back().push_back(&c);
    blocks += own;
  }
  return scans;
}

int32_t JpegScanRows(std::span<const JpegComponent* const> scan, const JpegFrameSize& frame) {
  if (scan.size() == 1) return scan[0]->BlocksDown();
  return (frame.height + 8 * frame.Vmax - 1) / (8 * frame.Vmax);
}

std::vector<int32_t> JpegScanPredictors(std::span<const JpegComponent* const> scan, const JpegFrameSize& frame,
                                        int32_t row) {
  std::vector<int32_t> predictors(scan.size(), 0);
  if (row == 0) return predictors;
  const int32_t mcusAcross = (frame.width + 8 * frame.Hmax - 1) / (8 * frame.Hmax);
  for (size_t i = 0; i < scan.size(); ++i) {
    const JpegComponent& c = *scan[i];
    // The last block of the row before: the component's bottom-right one in the last MCU.
    const int32_t column = scan.size() == 1 ? c.BlocksAcross() - 1 : mcusAcross * c.H - 1;
    const int32_t blockRow = scan.size() == 1 ? row - 1 : row * c.V - 1;
    if (column < c.BlocksAcross() && blockRow < c.BlocksDown()) predictors[i] = c.Block(column, blockRow)[0];
  }
  return predictors;
}

}  // namespace lumora
