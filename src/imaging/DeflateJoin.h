// Joins raw deflate streams compressed apart (on separate threads) into one stream that decodes
// to their data one after the other. Every stream but the last must lose its final-block mark,
// and nothing says where that block starts, so its blocks are walked to find out.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lumora {

// Appends `stream` to `out` as a part that more parts follow: its last block loses the final
// mark and an empty stored block brings the end to a byte. The bits after the stream's end must
// be zeros, as libdeflate writes them. False (out unchanged) when the stream
// is not well-formed deflate.
bool AppendOpenDeflate(std::span<const uint8_t> stream, std::vector<uint8_t>& out);

}  // namespace lumora
