#pragma once

#include <string_view>

// Hands a file to the desktop: open it with its default application, or show
// it selected in the file manager. Both return at once; the desktop does the
// rest. URLs are built from the path bytes.
namespace twinsift::DesktopFiles {

void open(std::string_view path);

// Asks the file manager over D-Bus (org.freedesktop.FileManager1) to show the
// file selected; when no file manager answers, opens the file's folder.
void reveal(std::string_view path);

} // namespace twinsift::DesktopFiles
