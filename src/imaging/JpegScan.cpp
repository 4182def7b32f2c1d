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

}  // namespace lumora
