#pragma once

#include <string>

// Moves that never replace anything.
namespace twinsift::safemove {

// Renames from (inside the folder open as fromFolder, or AT_FDCWD) to to,
// refusing when to exists. Where the filesystem cannot refuse a replacement
// itself, a hard link refuses it, and the old name goes after. 0, or the
// errno: EEXIST when the name is taken.
int renameNoReplace(int fromFolder, const char *from, int toFolder, const char *to);

// Sets a file a person may still want aside, beside what was set aside
// before and never over it: path + suffix, then path + suffix + "-2", and so
// on. 0 when it moved or nothing was there, else the errno.
int setAside(const std::string &path, const std::string &suffix);

} // namespace twinsift::safemove
