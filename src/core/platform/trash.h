#pragma once

#include <optional>
#include <string>

namespace twinsift::Trash {

// Moves the entry at path to the user's Trash through GIO, which follows the
// freedesktop Trash layout so the desktop file manager can restore it. The
// path bytes go to GIO unchanged. Returns nothing on success, or GIO's
// user-readable message when the Trash refuses; there is never a fallback to
// deleting, copying or renaming.
std::optional<std::string> moveToTrash(const std::string &path);

} // namespace twinsift::Trash
