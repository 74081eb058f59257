#pragma once

#include "result.h"

#include <string>

namespace twinsift::Trash {

// Moves the entry at path to the user's Trash through GIO, which follows the
// freedesktop Trash layout so the desktop file manager can restore it. The
// path bytes go to GIO unchanged. When the Trash refuses, the failure is
// GIO's user-readable message; there is never a fallback to deleting, copying
// or renaming.
Result<void, std::string> moveToTrash(const std::string &path);

} // namespace twinsift::Trash
