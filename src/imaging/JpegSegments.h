// Marker segments of a baseline JFIF stream (T.81 B.2 and B.1.1.4; JFIF 1.01 for APP0). Each
// writer appends its bytes, big-endian lengths filled in once the segment is complete.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/JpegComponent.h"
#include "imaging/JpegHuffman.h"

namespace lumora {

void WriteJpegSOI(std::vector<uint8_t>& out);
void WriteJpegAPP0(std::vector<uint8_t>& out);
// Nothing for an empty text; a text longer than 65533 bytes raises Overflow.
void WriteJpegCOM(std::vector<uint8_t>& out, std::string_view text);
// 8-bit entries, or 16-bit at 12-bit precision; a value above 255 otherwise raises
// "Illegal precission in Quantization Table".
void WriteJpegDQT(std::vector<uint8_t>& out, int32_t tableIndex, std::span<const int16_t, 64> zigzagValues,
                  int32_t samplePrecision);
// Raises Overflow for a size that does not fit 16 bits.
void WriteJpegSOF0(std::vector<uint8_t>& out, int32_t samplePrecision, int32_t height, int32_t width,
                   std::span<const JpegComponent> components);
void WriteJpegDHT(std::vector<uint8_t>& out, JpegTableClass tableClass, int32_t tableIndex,
                  const JpegHuffmanTable& table);
void WriteJpegSOS(std::vector<uint8_t>& out, std::span<const JpegComponent* const> scanComponents);
void WriteJpegEOI(std::vector<uint8_t>& out);

}  // namespace lumora
