// Feeds arbitrary bytes to the project reader. Whatever it accepts must write out and read back
// to the same bytes, and every value must stay within the document's bounds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/Document.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"
#include "project/TemplatePath.h"
#include "project/TextEncoding.h"

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Document document;
  std::string lastTemplate;
  const ProjectReadResult result = ReadProjectText(bytes, document, {[&](const std::string& name) {
                                                     lastTemplate = name;
                                                     // Only the name's parsing matters here.
                                                     return ResolveTemplatePath("/nonexistent-lumora-library", name)
                                                         .has_value();
                                                   }});
  if (!result.Ok) return 0;
  if (TextEncoding::SanitizeUtf8(lastTemplate) != lastTemplate) std::abort();
  if (result.Problems.size() > kMaxProblems + 1) std::abort();
  for (const TextItem& item : document.TextItems()) {
    if (!(std::abs(item.Left) <= TextItem::kMaxPosition && std::abs(item.Top) <= TextItem::kMaxPosition)) std::abort();
    if (!(item.FontSize >= TextItem::kMinFontSize && item.FontSize <= TextItem::kMaxFontSize)) std::abort();
    if (item.Caption.size() > kMaxTextValueBytes * 3) std::abort();
    // Internal text is always valid UTF-8, whatever the file held.
    if (TextEncoding::SanitizeUtf8(item.Caption) != item.Caption) std::abort();
    if (TextEncoding::SanitizeUtf8(item.FontName) != item.FontName) std::abort();
  }
  const std::string written = WriteProjectText(document);
  Document again;
  if (!ReadProjectText(written, again).Ok) std::abort();
  if (WriteProjectText(again) != written) std::abort();
  return 0;
}
