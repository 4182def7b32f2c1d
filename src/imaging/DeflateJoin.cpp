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

// One lookup of the code's longest length gives a symbol and its length.
class HuffmanTable {
 public:
  // False when the lengths ask for more codes than there are (an incomplete set is allowed; its
  // missing codes decode as errors).
  bool Build(std::span<const uint8_t> lengths) {
    std::array<int, kMaxCodeBits + 1> count{};
    for (const uint8_t length : lengths) ++count[length];
    count[0] = 0;
    int left = 1;
    m_bits = 1;
    for (int length = 1; length <= kMaxCodeBits; ++length) {
      left = 2 * left - count[length];
      if (left < 0) return false;
      if (count[length]) m_bits = length;
    }
    m_entries.assign(size_t{1} << m_bits, kNoCode);
    std::array<uint32_t, kMaxCodeBits + 2> next{};
    for (int length = 1; length <= kMaxCodeBits; ++length) next[length + 1] = (next[length] + count[length]) << 1;
    for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
      const int length = lengths[symbol];
      if (!length) continue;
      const uint32_t code = next[length]++;
      uint32_t reversed = 0;
      for (int k = 0; k < length; ++k) reversed |= ((code >> k) & 1u) << (length - 1 - k);
      for (size_t at = reversed; at < m_entries.size(); at += size_t{1} << length)
        m_entries[at] = static_cast<uint16_t>(symbol | (length << 9));
    }
    return true;
  }
  // The symbol at the front of the window (consuming its code), or -1 for bits that are no code.
  int Decode(uint64_t& window, int& used) const {
    const uint16_t entry = m_entries[window & ((uint64_t{1} << m_bits) - 1)];
    if (entry == kNoCode) return -1;
    const int length = entry >> 9;
    window >>= length;
    used += length;
    return entry & 0x1FF;
  }

 private:
  static constexpr uint16_t kNoCode = 0xFFFF;
  int m_bits = 1;
  std::vector<uint16_t> m_entries;
};

constexpr std::array<uint8_t, 29> kLengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint8_t, 30> kDistanceExtraBits = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Skips the symbols of one compressed block up to its end-of-block code.
bool SkipSymbols(BitReader& in, const HuffmanTable& literals, const HuffmanTable& distances) {
  for (;;) {
    if (in.Overrun()) return false;
    // A literal or length code, its extra bits, a distance code and its extra bits: 48 bits at most.
    uint64_t window = in.Window();
    int used = 0;
    const int symbol = literals.Decode(window, used);
    if (symbol < 256) {
      in.Skip(static_cast<size_t>(used));
      if (symbol < 0) return false;
      continue;
    }
    if (symbol == 256) {
      in.Skip(static_cast<size_t>(used));
      return true;
    }
    if (symbol > 285) return false;
    const int lengthBits = kLengthExtraBits[static_cast<size_t>(symbol - 257)];
    window >>= lengthBits;
    used += lengthBits;
    const int distance = distances.Decode(window, used);
    if (distance < 0 || distance >= 30) return false;
    in.Skip(static_cast<size_t>(used + kDistanceExtraBits[static_cast<size_t>(distance)]));
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
