#include "imaging/GifLzwEncoder.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/LzwStringTable.h"

namespace lumora {

namespace {

constexpr uint32_t kMaxWidth = 12;
constexpr uint32_t kMaxCodes = LzwStringTable::kMaxCodes;
constexpr size_t kBlockData = 254;
constexpr size_t kStageBlocks = 64;  // packed bytes are framed into sub-blocks this many at a time

// Frames packed bytes into data sub-blocks (a length byte, then up to 254 bytes): every whole
// block, or every byte when `all`. Returns how many bytes are left, moved to the front.
size_t frameBlocks(std::vector<uint8_t>& out, uint8_t* stage, size_t used, bool all) {
  size_t at = 0;
  while (used - at >= kBlockData || (all && used > at)) {
    const size_t length = std::min(kBlockData, used - at);
    out.push_back(static_cast<uint8_t>(length));
    out.insert(out.end(), stage + at, stage + at + length);
    at += length;
  }
  std::memmove(stage, stage + at, used - at);
  return used - at;
}

// Packs codes from the least significant bit into a staging area that is framed into
// sub-blocks whenever it holds kStageBlocks of them. Whole bytes leave after every code without
// a test (at most 7 bits wait, so a code of up to 12 bits always fits the 64-bit word): whether
// a code completes a byte follows no pattern the CPU could learn.
class CodePacker {
 public:
  CodePacker(std::vector<uint8_t>& out, uint8_t* stage) : m_out(out), m_stage(stage) {}

  void put(uint32_t code, uint32_t width) {
    m_bits |= static_cast<uint64_t>(code) << m_count;
    m_count += width;
    std::memcpy(m_stage + m_used, &m_bits, sizeof m_bits);
    m_used += m_count >> 3;
    m_bits >>= m_count & ~7u;
    m_count &= 7;
  }

  // Frames the staged whole blocks once enough are waiting.
  void frameWhenFull() {
    if (m_used >= kStageBlocks * kBlockData) m_used = frameBlocks(m_out, m_stage, m_used, false);
  }

  // The last partial byte, then every byte into sub-blocks.
  void finish() {
    if (m_count > 0) m_stage[m_used++] = static_cast<uint8_t>(m_bits);
    m_used = frameBlocks(m_out, m_stage, m_used, true);
  }

 private:
  std::vector<uint8_t>& m_out;
  uint8_t* m_stage;
  size_t m_used = 0;
  uint64_t m_bits = 0;
  uint32_t m_count = 0;
};

}  // namespace

GifLzwEncoder::GifLzwEncoder(int codeSize, std::span<const uint32_t, 17> masks)
    : m_masks(masks),
      m_initialWidth(static_cast<uint32_t>(codeSize) + 1),
      m_clearCode(1u << codeSize),
      m_endCode((1u << codeSize) + 1) {}

// Greedy LZW: the longest known string is extended one pixel at a time; an unknown string writes
// its prefix and, while codes remain, becomes a new code. A full table writes a clear code.
void GifLzwEncoder::Encode(std::span<const uint8_t* const> rows, int32_t width, std::vector<uint8_t>& out,
                           const std::function<void(size_t)>& beforeRow) {
  // Room for the staged blocks, one more row of codes (at most 12 bits a pixel) and a word.
  std::vector<uint8_t> stage(kStageBlocks * kBlockData + 2 * static_cast<size_t>(width) + 16);
  CodePacker packer(out, stage.data());
  const auto table = std::make_unique<LzwStringTable>(m_clearCode + 2);  // 150 KB: not on the stack
  LzwStringTable& strings = *table;
  uint32_t codeWidth = m_initialWidth;
  uint32_t largest = m_masks[codeWidth];

  // The width grows once the next free code no longer fits it (the decoder's next entry would
  // not), after the code that is being written.
  auto putCode = [&](uint32_t code) {
    packer.put(code, codeWidth);
    if (strings.NextFree() > largest) [[unlikely]] {
      ++codeWidth;
      largest = codeWidth == kMaxWidth ? kMaxCodes : m_masks[codeWidth];
    }
  };

  putCode(m_clearCode);
  uint32_t prefix = 0;
  for (size_t index = 0; index < rows.size(); ++index) {
    if (beforeRow) beforeRow(index);
    const uint8_t* at = rows[index];
    const uint8_t* const end = at + width;
    if (index == 0) prefix = *at++;  // the first string is the first pixel
    for (; at != end; ++at) {
      const uint32_t pixel = *at;
      const LzwStringTable::Found found = strings.Find(prefix, pixel);
      if (found.code != 0) {
        prefix = found.code;
        continue;
      }
      putCode(prefix);
      if (!strings.Add(prefix, pixel, found)) [[unlikely]] {
        // The clear code goes out at the full width; the codes after it start again.
        strings.Clear();
        packer.put(m_clearCode, codeWidth);
        codeWidth = m_initialWidth;
        largest = m_masks[codeWidth];
      }
      prefix = pixel;
    }
    packer.frameWhenFull();
  }
  putCode(prefix);
  putCode(m_endCode);
  packer.finish();
}

}  // namespace lumora
