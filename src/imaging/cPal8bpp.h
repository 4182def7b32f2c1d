// cPal8bpp: a palette of up to 256 colours for 8-bit pictures: the entries, the logical palette
// that answers nearest-colour queries, the fixed palettes and an optimal palette built by an
// octree subdivision of the RGB cube from a 32-bit picture.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/raster/Bitmap.h"
#include "imaging/raster/ColorMatch.h"

namespace lumora {

class cDIB;

class cPal8bpp {
 public:
  cPal8bpp() = default;
  cPal8bpp(const cPal8bpp&) = delete;
  cPal8bpp& operator=(const cPal8bpp&) = delete;
  ~cPal8bpp() { Destroy(); }

  // Destroy, then InitialEntries (0..256) and 256 zero entries.
  void Initialize(int16_t InitialEntries = 0);
  void BuildLogicalPalette();
  void Destroy();

  // Byte arrays of 4-byte entries: blue, green, red, reserved. SetPalette takes at most 256.
  void SetPalette(std::span<const uint8_t> Palette);
  void GetPalette(std::vector<uint8_t>& Palette) const;

  // Nearest entry by squared RGB distance, lowest index on ties. Raise "Invalid procedure call"
  // when no logical palette has been built (or it has no entry).
  void ClosestColor(uint8_t R, uint8_t G, uint8_t B, uint8_t& cR, uint8_t& cG, uint8_t& cb) const;
  uint8_t ClosestIndex(uint8_t R, uint8_t G, uint8_t B) const;
  // ClosestIndex for many colours: a table that gives the same answers faster.
  raster::NearestColourTable NearestTable() const;

  bool IsGreyScale() const;
  // GreyLevels 0, 1, 2 give 2, 16, 256 greys; anything else raises "Division by zero".
  void CreateGreyScale(int32_t GreyLevels);
  void CreateEGA();
  // HalftoneLevels 0..4 give cubes of 2..6 levels a channel; anything else raises "Invalid procedure call".
  void CreateHalftone(int32_t HalftoneLevels);
  void CreateWebsafe();
  // Ignored unless oDIB32 is a 32-bit surface; nLevels outside 1..8 raises "Invalid procedure call".
  void CreateOptimal(const cDIB& oDIB32, int32_t nColors, uint8_t nLevels, float RWeight, float GWeight,
                     float BWeight);

  // The 1,024 bytes of entries (empty while the palette is destroyed).
  std::span<const uint8_t> lpPalette() const { return m_entries; }
  // The logical palette, as the platform sees the entries; nullptr when not built.
  const std::vector<raster::RGBQuad>* hPal() const { return m_logical ? &*m_logical : nullptr; }

  int16_t Entries() const { return m_count; }
  // Changes only the count (0..256; anything else raises "Invalid procedure call").
  void Entries(int16_t count);

  // Entry indices outside 0..255, or a destroyed palette, raise "Subscript out of range".
  uint8_t rgbR(int32_t PalEntry) const { return m_entries[byteIndex(PalEntry, 2)]; }
  uint8_t rgbG(int32_t PalEntry) const { return m_entries[byteIndex(PalEntry, 1)]; }
  uint8_t rgbB(int32_t PalEntry) const { return m_entries[byteIndex(PalEntry, 0)]; }
  void rgbR(int32_t PalEntry, uint8_t value) { m_entries[byteIndex(PalEntry, 2)] = value; }
  void rgbG(int32_t PalEntry, uint8_t value) { m_entries[byteIndex(PalEntry, 1)] = value; }
  void rgbB(int32_t PalEntry, uint8_t value) { m_entries[byteIndex(PalEntry, 0)] = value; }

  // The red, green and blue weights of the last CreateOptimal.
  std::array<float, 3> Weights() const { return m_weights; }

 private:
  // One cell of the octree; links are node indices (0 = none).
  struct Node {
    bool leaf = false;
    bool listed = false;
    uint64_t red = 0, green = 0, blue = 0;  // 64-bit: a big one-colour picture overflows 32
    uint32_t pixels = 0;
    std::array<int32_t, 8> child{};
    int32_t next = 0;
  };
  size_t byteIndex(int32_t entry, int channel) const;
  void setEntry(int index, uint8_t red, uint8_t green, uint8_t blue);
  uint8_t nearest(uint8_t R, uint8_t G, uint8_t B) const;

  void resetOctree(uint8_t levels);
  int32_t allocateNode(bool leaf);
  void buildPaths();
  void insertColour(uint8_t R, uint8_t G, uint8_t B);
  bool reduceOnce();
  void paletteFromLeaves();

  int16_t m_count = 0;
  std::vector<uint8_t> m_entries;  // 1,024 bytes once initialised
  std::optional<std::vector<raster::RGBQuad>> m_logical;
  std::array<float, 3> m_weights{};
  std::array<std::array<uint8_t, 256>, 3> m_paths{};  // per channel and value: see buildPaths

  // Octree state, kept after CreateOptimal until the next one. Node 0 is unused, 1 is the root.
  std::vector<Node> m_nodes;
  int32_t m_nodesInUse = 0;
  int32_t m_freeHead = 0;
  int32_t m_leaves = 0;
  uint8_t m_levelLimit = 0;
  std::array<int32_t, 9> m_reducible{};  // list heads for levels 1..8
};

}  // namespace lumora
