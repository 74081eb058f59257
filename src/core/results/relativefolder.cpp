#include "relativefolder.h"

#include "paths.h"

namespace twinsift {

std::optional<std::string> relativeFolder(std::string_view rootPath, std::string_view filePath) {
    const std::string root = paths::standardized(rootPath);
    const std::string folder = paths::standardized(paths::parent(filePath));
    const std::string rootPrefix = root.ends_with('/') ? root : root + "/";
    if (folder == root)
        return std::nullopt;
    if (folder.starts_with(rootPrefix))
        return folder.substr(rootPrefix.size());
    return folder;
}

} // namespace twinsift
