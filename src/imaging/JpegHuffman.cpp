#include "imaging/JpegHuffman.h"

#include <algorithm>

#include "base/LumoraError.h"

namespace lumora {

namespace {

constexpr int kReserved = 256;  // K.2's extra symbol: keeps the all-ones code out of use

[[noreturn]] void BadTable() { throw LumoraError(ErrorNumber::kJpeg, "Bad Huffman Table"); }

// Figure K.1's search: the least non-zero frequency, ties going to the larger symbol.
int LeastFrequent(const std::array<uint64_t, 257>& freq, int skip) {
  int found = -1;
  uint64_t least = UINT64_MAX;
  for (int i = 0; i <= kReserved; ++i) {
    if (i != skip && freq[static_cast<size_t>(i)] != 0 && freq[static_cast<size_t>(i)] <= least) {
      least = freq[static_cast<size_t>(i)];
      found = i;
    }
  }
  return found;
}

// Figure K.1: code sizes by repeatedly merging the two least frequent trees.
std::array<int, 257> CodeSizes(const JpegSymbolCounts& counts) {
  std::array<uint64_t, 257> freq{};
  std::copy(counts.begin(), counts.end(), freq.begin());
  freq[kReserved] = 1;
  std::array<int, 257> codesize{};
  std::array<int, 257> others;
  others.fill(-1);
  for (;;) {
    int v1 = LeastFrequent(freq, -1);
    int v2 = LeastFrequent(freq, v1);
    if (v2 < 0) break;
    freq[static_cast<size_t>(v1)] += freq[static_cast<size_t>(v2)];
    freq[static_cast<size_t>(v2)] = 0;
    for (++codesize[static_cast<size_t>(v1)]; others[static_cast<size_t>(v1)] >= 0; ++codesize[static_cast<size_t>(v1)])
      v1 = others[static_cast<size_t>(v1)];
    others[static_cast<size_t>(v1)] = v2;
    for (++codesize[static_cast<size_t>(v2)]; others[static_cast<size_t>(v2)] >= 0; ++codesize[static_cast<size_t>(v2)])
      v2 = others[static_cast<size_t>(v2)];
  }
  return codesize;
}

}  // namespace

JpegHuffmanTable JpegHuffmanTable::Optimal(const JpegSymbolCounts& counts, JpegTableClass tableClass,
                                           int32_t samplePrecision) {
  const std::array<int, 257> codesize = CodeSizes(counts);

  // Figure K.2: how many codes of each size. Sizes can exceed 32 for extremely skewed counts,
  // so the list is as long as the longest possible code.
  std::array<int, 258> count{};
  int longest = 0;
  for (int size : codesize) {
    if (size == 0) continue;
    ++count[static_cast<size_t>(size)];
    longest = std::max(longest, size);
  }

  if (longest == 0) BadTable();  // no symbol at all: the table would have no codes

  // Figure K.3: move codes longer than 16 bits up the tree, then drop the reserved code point
  // from the longest size in use.
  for (int i = longest; i > 16; --i) {
    while (count[static_cast<size_t>(i)] > 0) {
      int j = i - 2;
      while (count[static_cast<size_t>(j)] == 0) --j;
      count[static_cast<size_t>(i)] -= 2;
      count[static_cast<size_t>(i - 1)] += 1;
      count[static_cast<size_t>(j + 1)] += 2;
      count[static_cast<size_t>(j)] -= 1;
    }
  }
  int i = 16;
  while (count[static_cast<size_t>(i)] == 0) --i;
  --count[static_cast<size_t>(i)];

  JpegHuffmanTable table;
  for (int n = 1; n <= 16; ++n) table.bits[static_cast<size_t>(n)] = static_cast<uint8_t>(count[static_cast<size_t>(n)]);
  // Figure K.4: symbols by their unadjusted size, then by value.
  for (int size = 1; size <= longest; ++size)
    for (int v = 0; v < kReserved; ++v)
      if (codesize[static_cast<size_t>(v)] == size) table.huffval.push_back(static_cast<uint8_t>(v));
  table.AssignCodes(tableClass, samplePrecision);
  return table;
}

void JpegHuffmanTable::AssignCodes(JpegTableClass tableClass, int32_t samplePrecision) {
  int total = 0;
  for (int n = 1; n <= 16; ++n) total += bits[static_cast<size_t>(n)];
  if (total > 256 || total == 0 || static_cast<size_t>(total) != huffval.size()) BadTable();

  const int maxValue = tableClass == JpegTableClass::AC ? 255 : (samplePrecision == 12 ? 15 : 11);
  code.fill(0);
  size.fill(0);
  uint32_t next = 0;
  size_t k = 0;
  for (int n = 1; n <= 16; ++n) {
    for (int c = 0; c < bits[static_cast<size_t>(n)]; ++c, ++k, ++next) {
      const uint8_t value = huffval[k];
      if (value > maxValue || size[value] != 0) BadTable();
      code[value] = static_cast<uint16_t>(next);
      size[value] = static_cast<uint8_t>(n);
    }
    if (next >= (1u << n)) BadTable();  // more codes than n bits can hold
    next <<= 1;
  }
}

}  // namespace lumora
