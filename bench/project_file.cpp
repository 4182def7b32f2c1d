// Project file speed: writing and reading an ordinary large project, and the reader's time on
// the hostile shapes it must survive (100,000 items, one 50 MB line).
#include <benchmark/benchmark.h>

#include <string>

#include "document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"

using namespace lumora;

namespace {

Document manyItems(int count) {
  Document doc;
  doc.StartNewDocument("Banners\\Summer\\sea.jpg");
  for (int i = 0; i < count; ++i) {
    const int index = doc.CreateItem();
    doc.EditItem(index, [i](TextItem& t) {
      t.Caption = "Item " + std::to_string(i) + "\r\nsecond line";
      t.Left = 1117.5f + static_cast<float>(i);
      t.Top = 450.25f;
      t.FontName = "DejaVu Sans";
      t.FontSize = 9.75f;
      t.Shadow = true;
      t.ShadowColor = 8421504;
    });
  }
  return doc;
}

void BM_WriteProject1000Items(benchmark::State& state) {
  const Document doc = manyItems(1000);
  for (auto _ : state) benchmark::DoNotOptimize(WriteProjectText(doc));
}
BENCHMARK(BM_WriteProject1000Items)->Unit(benchmark::kMillisecond);

void BM_ReadProject1000Items(benchmark::State& state) {
  const std::string text = WriteProjectText(manyItems(1000));
  for (auto _ : state) {
    Document doc;
    benchmark::DoNotOptimize(ReadProjectText(text, doc).Ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadProject1000Items)->Unit(benchmark::kMillisecond);

void BM_ReadHundredThousandItems(benchmark::State& state) {
  std::string text = "<ZEB Image File>\r\n";
  for (int i = 0; i < 100000; ++i) text += "\t<TextItem>\r\n\t\t<Caption>x</Caption>\r\n\t</TextItem>\r\n";
  for (auto _ : state) {
    Document doc;
    benchmark::DoNotOptimize(ReadProjectText(text, doc).Ok);
  }
}
BENCHMARK(BM_ReadHundredThousandItems)->Unit(benchmark::kMillisecond);

void BM_ReadFiftyMegabyteCaption(benchmark::State& state) {
  std::string text = "<ZEB Image File>\r\n\t<TextItem>\r\n\t\t<Caption>";
  text.append(50u << 20, 'x');
  text += "</Caption>\r\n\t</TextItem>\r\n";
  for (auto _ : state) {
    Document doc;
    benchmark::DoNotOptimize(ReadProjectText(text, doc).Ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadFiftyMegabyteCaption)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
