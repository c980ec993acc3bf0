#pragma once
// `save` and `restore`: wall profiles written from and applied to the discovered boxes through
// the same device operations as `status` and `apply --box N`.
#include <filesystem>
#include <string>

#include "tools/cli/cli_options.h"
#include "tools/cli/cli_session.h"

namespace quelt::cli {

int runSave(Session& session, const SaveArgs& args);
int runRestore(Session& session, const RestoreArgs& args);

// Writes `text` to `path` through a temporary file in the same folder and a rename, so `path`
// is always either what it was or the complete new text. Empty on success, else why not.
std::string writeFileAtomically(const std::filesystem::path& path, const std::string& text);

}  // namespace quelt::cli
