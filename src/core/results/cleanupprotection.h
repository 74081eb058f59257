#pragma once

#include <string>

// Places that belong to the system, to installed applications or to data the
// system manages for the user. Files there are shown but never moved.
namespace twinsift::CleanupProtection {

// Whether path, after standardising and resolving its symbolic links, is one
// of the roots or lies below one (whole components, case-sensitive). A path
// inside the resolved home is not held against a system root that contains
// the home itself, so a home kept below /var stays usable. Keeps no
// state; safe on any thread. Consults the disk on every call.
bool isProtected(const std::string &path);

} // namespace twinsift::CleanupProtection
