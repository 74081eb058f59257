#include "trashfolders.h"

#include "paths.h"

#include <algorithm>

namespace twinsift {
namespace {

bool isUserId(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::string homeTrashFolder() {
    return paths::appending(paths::dataHome(), "Trash");
}

bool isTrashFolderName(std::string_view parentName, std::string_view name) {
    constexpr std::string_view perUser = ".Trash-";
    if (name.starts_with(perUser))
        return isUserId(name.substr(perUser.size()));
    return parentName == ".Trash" && isUserId(name);
}

bool isInsideTrashFolder(const std::string &resolvedPath) {
    const std::string home = paths::resolvingSymlinks(homeTrashFolder());
    if (resolvedPath.starts_with(home) &&
        (resolvedPath.size() == home.size() || resolvedPath[home.size()] == '/'))
        return true;
    std::string_view parent;
    std::string_view rest = resolvedPath;
    while (!rest.empty()) {
        const auto slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty())
            continue;
        if (isTrashFolderName(parent, part))
            return true;
        parent = part;
    }
    return false;
}

} // namespace twinsift
