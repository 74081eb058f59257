#pragma once

#include "result.h"
#include "uniquefd.h"

#include <string>
#include <string_view>

// Folders reached by descriptor, one component at a time and never through a
// symbolic link, so that what was checked is what is acted on: a folder
// swapped for a link between the check and the act makes the open fail
// instead of leading somewhere else.
namespace twinsift::folders {

// Opens relative (components separated by "/", empty for base itself) below
// the folder open as base. A component that is a link, not a folder, or ".."
// fails (ELOOP, ENOTDIR, EINVAL). The descriptors are O_PATH: good for the
// *at calls, for fstat and fstatfs, never for reading.
// With makeMissing, a folder that is not there is made (as the umask allows).
Result<UniqueFd> openBelow(int base, std::string_view relative, bool makeMissing = false);

// The same from "/" for an absolute path.
Result<UniqueFd> openAbsolute(std::string_view path, bool makeMissing = false);

// Where the kernel says the folder open as fd is, as absolute path bytes.
Result<std::string> pathOf(int fd);

// Splits path into its parent (without the trailing "/") and last name.
struct Split {
    std::string_view parent;
    std::string_view name;
};
Split split(std::string_view path);

} // namespace twinsift::folders
