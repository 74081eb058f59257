#pragma once

#include <string>
#include <string_view>

namespace twinsift::paths {

// Absolute, with "." and ".." removed and no trailing slash except for "/".
// Purely lexical: the disk is never consulted. A relative path is taken
// against the current folder.
std::string standardized(std::string_view path);

// realpath of the standardised path. For a path that does not exist, the
// longest existing prefix is resolved and the rest appended, so protection
// checks still see through a link in a parent folder.
std::string resolvingSymlinks(std::string_view path);

// $HOME, or the password database's entry for the current user.
std::string homeDirectory();

// $XDG_DATA_HOME when it is absolute (a relative one is ignored, as every
// freedesktop reader does), else ~/.local/share.
std::string dataHome();

// The folder of Twinsift's own files under the data home: the scan history,
// the last cleanup's journal and the cleanup lock's last resort.
std::string appDataHome();

// Makes folder and every missing folder above it, with mode (as the umask
// allows). Whether they all exist afterwards is for the caller to find out.
void makeFolders(const std::string &folder, unsigned mode);

std::string_view lastComponent(std::string_view path);
std::string parent(std::string_view path);
std::string appending(std::string_view folder, std::string_view name);

// Path bytes as UTF-8 text for display, search and grouping keys, with
// U+FFFD for every invalid sequence. Never turn the result back into a path.
std::string displayText(std::string_view path);

} // namespace twinsift::paths
