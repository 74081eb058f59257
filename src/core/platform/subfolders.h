#pragma once

#include "result.h"

#include <string>
#include <vector>

namespace twinsift {

// The folders directly inside folder, as a folder chooser lists them: by
// name (raw bytes, unsorted), hidden ones left out, links that lead to a
// folder kept. Fails with the errno of opening folder, so ENOTDIR and
// ENOENT tell a typed path that names no folder.
Result<std::vector<std::string>> listSubfolders(const std::string &folder);

} // namespace twinsift
