#include "imaging/DeflateJoin.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

namespace lumora {

namespace {

static_assert(std::endian::native == std::endian::little, "the bit reader loads bytes in little-endian order");

constexpr int kMaxCodeBits = 15;

// Bits from a byte's lowest up, at any position; past the end they read as zeros.
class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> data) : m_data(data) {}

  // At least 56 bits from the position on.
  uint64_t Window() const {
    const size_t byte = m_position / 8;
    uint64_t window = 0;
    if (byte + 8 <= m_data.size()) {
      std::memcpy(&window, m_data.data() + byte, 8);
    } else {
      for (size_t k = 0; byte + k < m_data.size(); ++k) window |= uint64_t{m_data[byte + k]} << (8 * k);
    }
    return window >> (m_position % 8);
  }
  uint32_t Take(int bits) {
    const auto value = static_cast<uint32_t>(Window() & ((uint64_t{1} << bits) - 1));
    m_position += static_cast<size_t>(bits);
    return value;
  }
  void Skip(size_t bits) { m_position += bits; }
  void SkipToByte() { m_position = (m_position + 7) / 8 * 8; }
  size_t Position() const { return m_position; }
  bool Overrun() const { return m_position > m_data.size() * 8; }

 private:
  std::span<const uint8_t> m_data;
  size_t m_position = 0;
};

// Codes of up to kFastBits decode with one lookup in a table that stays in the first-level cache;
// longer ones, rare by their nature, bit by bit in canonical order.
class HuffmanTable {
 public:
  // False when the lengths ask for more codes than there are (an incomplete set is allowed; its
  // missing codes decode as errors).
  bool Build(std::span<const uint8_t> lengths) {
    m_count.fill(0);
    for (const uint8_t length : lengths) ++m_count[length];
    m_count[0] = 0;
    int left = 1;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
      left = 2 * left - m_count[length];
      if (left < 0) return false;
    }
    std::array<uint16_t, kMaxCodeBits + 2> offset{};
    for (int length = 1; length <= kMaxCodeBits; ++length) offset[length + 1] = offset[length] + m_count[length];
    m_sorted.resize(offset[kMaxCodeBits + 1]);
    for (size_t symbol = 0; symbol < lengths.size(); ++symbol)
      if (lengths[symbol]) m_sorted[offset[lengths[symbol]]++] = static_cast<uint16_t>(symbol);
    m_fast.fill(kSlow);
    uint32_t code = 0;
    size_t at = 0;
    for (int length = 1; length <= kFastBits; ++length, code <<= 1) {
      for (int k = 0; k < m_count[length]; ++k, ++code, ++at) {
        uint32_t reversed = 0;
        for (int b = 0; b < length; ++b) reversed |= ((code >> b) & 1u) << (length - 1 - b);
        for (size_t slot = reversed; slot < m_fast.size(); slot += size_t{1} << length)
          m_fast[slot] = static_cast<uint16_t>(m_sorted[at] | (length << 9));
      }
    }
    return true;
  }
  // The symbol at the front of the window (consuming its code), or -1 for bits that are no code.
  int Decode(uint64_t& window, int& used) const {
    const uint16_t entry = m_fast[window & ((uint64_t{1} << kFastBits) - 1)];
    if (entry == kSlow) return DecodeLong(window, used);
    const int length = entry >> 9;
    window >>= length;
    used += length;
    return entry & 0x1FF;
  }

 private:
  static constexpr int kFastBits = 10;
  static constexpr uint16_t kSlow = 0xFFFF;

  int DecodeLong(uint64_t& window, int& used) const {
    int code = 0, first = 0, index = 0;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
      code |= static_cast<int>((window >> (length - 1)) & 1u);
      const int count = m_count[length];
      if (code - first < count) {
        window >>= length;
        used += length;
        return m_sorted[static_cast<size_t>(index + code - first)];
      }
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    return -1;
  }

  std::array<int, kMaxCodeBits + 1> m_count{};
  std::vector<uint16_t> m_sorted;  // the symbols by code length, then value: canonical order
  std::array<uint16_t, 1 << kFastBits> m_fast{};
};

constexpr std::array<uint8_t, 29> kLengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint8_t, 30> kDistanceExtraBits = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Skips the symbols of one compressed block up to its end-of-block code, as many from each
// window of 56 bits as it holds: a code takes 15 bits at most, a length's extra bits and its
// distance 33.
bool SkipSymbols(BitReader& in, const HuffmanTable& literals, const HuffmanTable& distances) {
  constexpr int kWindowBits = 56, kCodeBits = 15, kDistanceBits = 33;
  for (;;) {
    if (in.Overrun()) return false;
    uint64_t window = in.Window();
    int used = 0;
    while (used + kCodeBits <= kWindowBits) {
      const uint64_t before = window;
      const int usedBefore = used;
      const int symbol = literals.Decode(window, used);
      if (symbol < 256) {
        if (symbol < 0) return false;
        continue;
      }
      if (symbol == 256) {
        in.Skip(static_cast<size_t>(used));
        return true;
      }
      if (symbol > 285) return false;
      if (used + kDistanceBits > kWindowBits) {  // decoded again from the next window
        window = before, used = usedBefore;
        break;
      }
      const int lengthBits = kLengthExtraBits[static_cast<size_t>(symbol - 257)];
      window >>= lengthBits;
      used += lengthBits;
      const int distance = distances.Decode(window, used);
      if (distance < 0 || distance >= 30) return false;
      const int distanceBits = kDistanceExtraBits[static_cast<size_t>(distance)];
      window >>= distanceBits;
      used += distanceBits;
    }
    in.Skip(static_cast<size_t>(used));
  }
}

// The literal/length and distance codes of a dynamic block's header.
bool ReadDynamicCodes(BitReader& in, HuffmanTable& literals, HuffmanTable& distances) {
  static constexpr std::array<uint8_t, 19> kOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  const size_t literalCount = in.Take(5) + 257u, distanceCount = in.Take(5) + 1u, lengthCount = in.Take(4) + 4u;
  if (literalCount > 286 || distanceCount > 30) return false;
  std::array<uint8_t, 19> lengthCodes{};
  for (size_t k = 0; k < lengthCount; ++k) lengthCodes[kOrder[k]] = static_cast<uint8_t>(in.Take(3));
  HuffmanTable lengthTable;
  if (!lengthTable.Build(lengthCodes)) return false;
  std::array<uint8_t, 286 + 30> lengths{};
  for (size_t at = 0; at < literalCount + distanceCount;) {
    if (in.Overrun()) return false;
    uint64_t window = in.Window();
    int used = 0;
    const int symbol = lengthTable.Decode(window, used);
    in.Skip(static_cast<size_t>(used));
    if (symbol < 0) return false;
    if (symbol < 16) {
      lengths[at++] = static_cast<uint8_t>(symbol);
      continue;
    }
    if (symbol == 16 && at == 0) return false;
    const uint8_t repeated = symbol == 16 ? lengths[at - 1] : 0;
    const size_t times = symbol == 16 ? 3 + in.Take(2) : symbol == 17 ? 3 + in.Take(3) : 11 + in.Take(7);
    if (at + times > literalCount + distanceCount) return false;
    std::fill_n(lengths.begin() + static_cast<ptrdiff_t>(at), times, repeated);
    at += times;
  }
  if (lengths[256] == 0) return false;  // a block must be able to end
  return literals.Build(std::span(lengths).first(literalCount)) &&
         distances.Build(std::span(lengths).subspan(literalCount, distanceCount));
}

struct StreamEnd {
  size_t finalBlockBit;  // where the last block's header starts
  size_t endBit;         // just after its end-of-block code
};

std::optional<StreamEnd> WalkBlocks(std::span<const uint8_t> stream) {
  BitReader in(stream);
  HuffmanTable literals, distances;
  for (;;) {
    const size_t header = in.Position();
    const uint32_t bits = in.Take(3);
    switch (bits >> 1) {
      case 0: {
        in.SkipToByte();
        const uint32_t length = in.Take(16), inverse = in.Take(16);
        if ((length ^ inverse) != 0xFFFF) return std::nullopt;
        in.Skip(size_t{length} * 8);
        break;
      }
      case 1: {
        std::array<uint8_t, 288> fixed{};
        std::fill_n(fixed.begin(), 144, 8), std::fill_n(fixed.begin() + 144, 112, 9);
        std::fill_n(fixed.begin() + 256, 24, 7), std::fill_n(fixed.begin() + 280, 8, 8);
        std::array<uint8_t, 30> fixedDistances;
        fixedDistances.fill(5);
        literals.Build(fixed), distances.Build(fixedDistances);
        if (!SkipSymbols(in, literals, distances)) return std::nullopt;
        break;
      }
      case 2:
        if (!ReadDynamicCodes(in, literals, distances) || !SkipSymbols(in, literals, distances)) return std::nullopt;
        break;
      default: return std::nullopt;
    }
    if (in.Overrun()) return std::nullopt;
    if (bits & 1) return StreamEnd{header, in.Position()};
  }
}

}  // namespace

bool AppendOpenDeflate(std::span<const uint8_t> stream, std::vector<uint8_t>& out) {
  const std::optional<StreamEnd> end = WalkBlocks(stream);
  if (!end) return false;
  const size_t at = out.size();
  const size_t used = (end->endBit + 7) / 8;
  out.insert(out.end(), stream.begin(), stream.begin() + static_cast<ptrdiff_t>(used));
  out[at + end->finalBlockBit / 8] &= static_cast<uint8_t>(~(1u << (end->finalBlockBit % 8)));
  // An empty stored block: a header of three zero bits (not final, stored), zeros up to the
  // byte, then its length 0 and the length's complement.
  if (end->endBit % 8 == 0 || end->endBit % 8 > 5) out.push_back(0);
  out.insert(out.end(), {0x00, 0x00, 0xFF, 0xFF});
  return true;
}

}  // namespace lumora
