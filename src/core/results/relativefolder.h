#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace twinsift {

// The folder of filePath as the review list shows it: nothing for the
// scanned folder itself (the screen names that one), the part below the
// scanned folder for its sub-folders, the full folder otherwise. Still
// bytes: decode it with paths::displayText to show it.
std::optional<std::string> relativeFolder(std::string_view rootPath, std::string_view filePath);

} // namespace twinsift
