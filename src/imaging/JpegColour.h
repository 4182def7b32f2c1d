// Colour conversion of the JPEG capture (JFIF 1.02 YCbCr, with the level shift of T.81 A.3.1 for
// luminance): 8-bit red, green and blue become single-precision samples centred on 0.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace lumora {

struct JpegColourWeights {
  float red, green, blue, offset;
};

// Y (with the -128 level shift), Cb, Cr. A greyscale picture has only the first.
inline constexpr std::array<JpegColourWeights, 3> kJpegColourWeights = {{
    {0.299f, 0.587f, 0.114f, -128.0f},
    {-0.16874f, -0.33126f, 0.5f, 0.0f},
    {0.5f, -0.41869f, -0.08131f, 0.0f},
}};

// One sample; the order of the single-precision operations is the reference for every path.
inline float JpegConvertSample(const JpegColourWeights& w, uint8_t red, uint8_t green, uint8_t blue) {
  return ((w.red * red + w.green * green) + w.blue * blue) + w.offset;
}

// Converts `count` pixels (blue, green, red bytes; 3 or 4 bytes a pixel) into one row of samples
// per weight set: out[i][x] for weights[i].
void JpegConvertRow(const uint8_t* pixels, int bytesPerPixel, int32_t count,
                    std::span<const JpegColourWeights> weights, std::span<float* const> out);
void JpegConvertRowReference(const uint8_t* pixels, int bytesPerPixel, int32_t count,
                             std::span<const JpegColourWeights> weights, std::span<float* const> out);

}  // namespace lumora
