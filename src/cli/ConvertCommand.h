// lumora-cli convert: any picture through the export routes (the output's name picks the route).
#pragma once

namespace lumora::cli {

struct CliOptions;

int RunConvert(const CliOptions& options);

}  // namespace lumora::cli
