// Writes a captured picture as a baseline sequential JFIF stream: symbol statistics over the
// blocks exactly as the scans will code them, optimal Huffman tables (T.81 K.2), the marker
// segments in order and the entropy-coded scans (T.81 Annex B and F.1.2).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "imaging/JpegCapture.h"
#include "imaging/JpegHuffman.h"

namespace lumora {

// The comment every stream carries after the user's: three lines, the first fixed.
inline constexpr std::string_view kJpegEncoderComment =
    "JPEG Encoder Class\r\nBaseline sequential JPEG, Huffman tables optimised per picture\r\nZEB Lumora";

struct JpegEntropyPlan {
  std::array<JpegHuffmanTable, 2> dc, ac;  // index 0 for the first component, 1 for the others
  uint64_t codedBits = 0;                  // every scan's entropy-coded bits, padding excluded
};

// Both passes work on stripes of each scan side by side: `stripes` of them, or as many as pay off
// (JpegStripeCount) for 0; the plan and the bytes are the same for any number.
JpegEntropyPlan PlanJpegEntropy(const JpegCapture& capture, int stripes = 0);

// The whole stream; codedBits (when given) receives the bits the scans actually coded.
std::vector<uint8_t> WriteJpegStream(const JpegCapture& capture, std::string_view comment,
                                     uint64_t* codedBits = nullptr, int stripes = 0);

}  // namespace lumora
