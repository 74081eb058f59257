#pragma once

#include <QUrl>

#include <functional>
#include <string_view>

// Hands a file, a folder or a web page to the desktop: open it with its
// default application, or show it selected in the file manager. All return
// at once; the desktop does the rest. URLs are built from the path bytes.
//
// A desktop can lack what these need: no file manager on the session bus, no
// xdg-open, or an xdg-open that finds no application. Then `unanswered` is
// called once, on the main thread, so the screen can say so instead of
// nothing happening.
namespace twinsift::DesktopFiles {

using Unanswered = std::function<void()>;

// Through xdg-open, which every desktop, Flatpak and Snap answers in its
// own way.
void openUrl(const QUrl &url, Unanswered unanswered);

void open(std::string_view path, Unanswered unanswered);

// Asks the file manager over D-Bus (org.freedesktop.FileManager1) to show the
// item selected; when no file manager answers, opens the item's folder.
void reveal(std::string_view path, Unanswered unanswered);

} // namespace twinsift::DesktopFiles
