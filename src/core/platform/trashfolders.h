#pragma once

#include <string>
#include <string_view>

namespace twinsift {

// The user's home Trash, $XDG_DATA_HOME/Trash, as the environment names it.
std::string homeTrashFolder();

// Whether name is the name of a per-user Trash folder of a mount's top
// folder as met in the folder named parentName: ".Trash-<uid>" anywhere, or
// "<uid>" inside ".Trash", for any user id.
bool isTrashFolderName(std::string_view parentName, std::string_view name);

// Whether resolvedPath, an absolute path without links, "." or "..", is a
// Trash folder or lies inside one: the resolved home Trash, or a
// ".Trash/<uid>" or ".Trash-<uid>" folder, by whole components. A file there
// was put away by someone and never counts as a copy that stays. Consults
// the disk to resolve the home Trash; safe on any thread.
bool isInsideTrashFolder(const std::string &resolvedPath);

} // namespace twinsift
