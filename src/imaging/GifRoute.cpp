#include "imaging/GifRoute.h"

#include <future>

#include "imaging/RowHandover.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mDither8bpp.h"
#include "imaging/mGIFSave.h"

namespace lumora {

namespace {

// Thrown on the writer's thread when the reduction failed and its rows will never come.
struct RowsAbandoned {};

// Starts the writer once the palette is known and hands it the rows as they are finished.
class ParallelWriter final : public mDither8bpp::ConversionObserver {
 public:
  ParallelWriter(const cDIB& target, cPal8bpp& palette, int16_t transparentIndex, bool interlaced,
                 const std::string& comment, std::vector<uint8_t>& out)
      : m_target(target), m_palette(palette), m_transparentIndex(transparentIndex), m_interlaced(interlaced),
        m_comment(comment), m_out(out) {}

  // A reduction that throws leaves the writer waiting: it is told to give up before it is joined.
  ~ParallelWriter() override {
    if (!m_writer.valid()) return;
    m_rows.Abandon();
    m_writer.wait();
  }

  void Started() override {
    if (m_palette.Entries() == 1) m_palette.Entries(2);
    m_writer = std::async(std::launch::async, [this] {
      return mGIFSave::EncodeGIFAsFilled(m_target, m_palette, m_transparentIndex, m_interlaced, m_comment,
                                         [this](int32_t y) {
                                           if (!m_rows.WaitForRow(y)) throw RowsAbandoned{};
                                         },
                                         m_out);
    });
  }

  void RowsFinished(int32_t rows) override { m_rows.Publish(rows); }

  // The writer's answer once every row is finished; false when it never started.
  bool Finish() { return m_writer.valid() && m_writer.get(); }

 private:
  const cDIB& m_target;
  cPal8bpp& m_palette;
  int16_t m_transparentIndex;
  bool m_interlaced;
  const std::string& m_comment;
  std::vector<uint8_t>& m_out;
  RowHandover m_rows;
  std::future<bool> m_writer;
};

}  // namespace

bool EncodeReducedGIF(const cDIB& source, cDIB& target, cPal8bpp& palette, int16_t TransparentIndex,
                      bool Interlaced, const std::string& Comment, std::vector<uint8_t>& out) {
  out.clear();
  ParallelWriter writer(target, palette, TransparentIndex, Interlaced, Comment, out);
  mDither8bpp::ConvertTo8bpp(source, target, palette, &writer);
  return writer.Finish();
}

}  // namespace lumora
