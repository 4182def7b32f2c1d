#include "imaging/JpegSegments.h"

#include "base/LumoraError.h"

namespace lumora {

namespace {

void Put16(std::vector<uint8_t>& out, int32_t value) {
  if (value < 0 || value > 0xFFFF) throw LumoraError::overflow();
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

void PutMarker(std::vector<uint8_t>& out, uint8_t marker) {
  out.push_back(0xFF);
  out.push_back(marker);
}

// A marker with a length field: the length counts itself and what follows, not the marker.
class Segment {
 public:
  Segment(std::vector<uint8_t>& out, uint8_t marker) : m_out(out) {
    PutMarker(out, marker);
    m_lengthAt = out.size();
    out.resize(out.size() + 2);
  }
  void End() {
    const size_t length = m_out.size() - m_lengthAt;
    if (length > 0xFFFF) throw LumoraError::overflow();
    m_out[m_lengthAt] = static_cast<uint8_t>(length >> 8);
    m_out[m_lengthAt + 1] = static_cast<uint8_t>(length);
  }

 private:
  std::vector<uint8_t>& m_out;
  size_t m_lengthAt;
};

}  // namespace

void WriteJpegSOI(std::vector<uint8_t>& out) { PutMarker(out, 0xD8); }

void WriteJpegEOI(std::vector<uint8_t>& out) { PutMarker(out, 0xD9); }

void WriteJpegAPP0(std::vector<uint8_t>& out) {
  Segment s(out, 0xE0);
  for (char c : std::string_view("JFIF", 5)) out.push_back(static_cast<uint8_t>(c));  // identifier and its 0
  out.push_back(1);  // version 1.01
  out.push_back(1);
  out.push_back(0);  // density units: aspect ratio only
  Put16(out, 1);     // X density
  Put16(out, 1);     // Y density
  out.push_back(0);  // no thumbnail
  out.push_back(0);
  s.End();
}

void WriteJpegCOM(std::vector<uint8_t>& out, std::string_view text) {
  if (text.empty()) return;
  if (text.size() > 65533) throw LumoraError::overflow();
  Segment s(out, 0xFE);
  out.insert(out.end(), text.begin(), text.end());
  s.End();
}

void WriteJpegDQT(std::vector<uint8_t>& out, int32_t tableIndex, std::span<const int16_t, 64> zigzagValues,
                  int32_t samplePrecision) {
  const bool wide = samplePrecision == 12;
  for (int16_t q : zigzagValues)
    if (q > 255 && !wide) throw LumoraError(ErrorNumber::kJpeg, "Illegal precission in Quantization Table");
  Segment s(out, 0xDB);
  out.push_back(static_cast<uint8_t>((wide ? 0x10 : 0x00) | tableIndex));  // Pq, Tq
  for (int16_t q : zigzagValues) {
    if (wide) out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(q) >> 8));
    out.push_back(static_cast<uint8_t>(q));
  }
  s.End();
}

void WriteJpegSOF0(std::vector<uint8_t>& out, int32_t samplePrecision, int32_t height, int32_t width,
                   std::span<const JpegComponent> components) {
  Segment s(out, 0xC0);
  out.push_back(static_cast<uint8_t>(samplePrecision));  // P
  Put16(out, height);                                    // Y
  Put16(out, width);                                     // X
  out.push_back(static_cast<uint8_t>(components.size()));  // Nf
  for (const JpegComponent& c : components) {
    out.push_back(static_cast<uint8_t>(c.id));                // Ci
    out.push_back(static_cast<uint8_t>(c.H * 16 + c.V));      // Hi, Vi
    out.push_back(static_cast<uint8_t>(c.quantTable));        // Tqi
  }
  s.End();
}

void WriteJpegDHT(std::vector<uint8_t>& out, JpegTableClass tableClass, int32_t tableIndex,
                  const JpegHuffmanTable& table) {
  Segment s(out, 0xC4);
  out.push_back(static_cast<uint8_t>(static_cast<int>(tableClass) * 16 + tableIndex));  // Tc, Th
  out.insert(out.end(), table.bits.begin() + 1, table.bits.end());                      // L1..L16
  out.insert(out.end(), table.huffval.begin(), table.huffval.end());                    // Vij
  s.End();
}

void WriteJpegSOS(std::vector<uint8_t>& out, std::span<const JpegComponent* const> scanComponents) {
  Segment s(out, 0xDA);
  out.push_back(static_cast<uint8_t>(scanComponents.size()));  // Ns
  for (const JpegComponent* c : scanComponents) {
    out.push_back(static_cast<uint8_t>(c->id));                                // Csj
    out.push_back(static_cast<uint8_t>(c->entropyTable * 16 + c->entropyTable));  // Tdj, Taj
  }
  out.push_back(0x00);  // Ss: spectral selection start
  out.push_back(0x3F);  // Se: end
  out.push_back(0x00);  // Ah, Al: no successive approximation
  s.End();
}

}  // namespace lumora
