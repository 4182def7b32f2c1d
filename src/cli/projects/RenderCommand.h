// lumora-cli render: a project flattened exactly as the editor's Save Image does it, once, or
// once per row of a CSV file whose N.FIELD columns change the items.
#pragma once

namespace lumora::cli {

struct CliOptions;

int RunRender(const CliOptions& options);

}  // namespace lumora::cli
