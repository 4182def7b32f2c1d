// How the components of a frame are packed into scans and in which order a scan codes its blocks
// (T.81 A.2: non-interleaved and interleaved order, MCUs of at most 10 blocks).
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "imaging/JpegComponent.h"

namespace lumora {

struct JpegFrameSize {
  int32_t width = 0, height = 0;
  int32_t Hmax = 1, Vmax = 1;
};

// Consecutive components share a scan while their H x V add up to at most 10 and there are at
// most 3 of them; a component above 10 on its own forms a scan alone.
std::vector<std::vector<const JpegComponent*>> PlanJpegScans(std::span<const JpegComponent> components);

// The rows a scan codes its blocks in: rows of blocks for a single component, of MCUs otherwise.
int32_t JpegScanRows(std::span<const JpegComponent* const> scan, const JpegFrameSize& frame);

// Each component's DC predictor where row `row` of the scan starts: the DC coefficient of the
// component's last block coded before it (0 for the first row; an MCU's padding blocks count).
std::vector<int32_t> JpegScanPredictors(std::span<const JpegComponent* const> scan, const JpegFrameSize& frame,
                                        int32_t row);

// Calls visit(index in scan, block) for every block the scan codes in rows from .. to - 1, in
// coding order. An interleaved scan's MCUs can reach past a component's stored blocks; those
// positions are coded as all-zero blocks.
template <typename Visit>
void VisitJpegScanRows(std::span<const JpegComponent* const> scan, const JpegFrameSize& frame, int32_t from, int32_t to,
                       Visit&& visit) {
  static constexpr int16_t kZeroBlock[64] = {};
  if (scan.size() == 1) {
    const JpegComponent& c = *scan[0];
    for (int32_t row = from; row < to; ++row)
      for (int32_t column = 0; column < c.BlocksAcross(); ++column) visit(size_t{0}, c.Block(column, row));
    return;
  }
  const int32_t mcusAcross = (frame.width + 8 * frame.Hmax - 1) / (8 * frame.Hmax);
  for (int32_t my = from; my < to; ++my) {
    for (int32_t mx = 0; mx < mcusAcross; ++mx) {
      for (size_t i = 0; i < scan.size(); ++i) {
        const JpegComponent& c = *scan[i];
        for (int32_t v = 0; v < c.V; ++v) {
          for (int32_t h = 0; h < c.H; ++h) {
            const int32_t column = mx * c.H + h, row = my * c.V + v;
            if (column < c.BlocksAcross() && row < c.BlocksDown())
              visit(i, c.Block(column, row));
            else
              visit(i, std::span<const int16_t, 64>(kZeroBlock, 64));
          }
        }
      }
    }
  }
}

// Every block the scan codes, in coding order.
template <typename Visit>
void VisitJpegScanBlocks(std::span<const JpegComponent* const> scan, const JpegFrameSize& frame, Visit&& visit) {
  VisitJpegScanRows(scan, frame, 0, JpegScanRows(scan, frame), std::forward<Visit>(visit));
}

}  // namespace lumora
