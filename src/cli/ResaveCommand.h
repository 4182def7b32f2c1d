// lumora-cli resave: a project read and written back in the writer's form.
#pragma once

namespace lumora::cli {

struct CliOptions;

int RunResave(const CliOptions& options);

}  // namespace lumora::cli
