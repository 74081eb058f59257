#pragma once

#include <QUrl>

#include <string>
#include <string_view>

namespace twinsift::fileurls {

// A file URL whose path is the percent-encoded bytes of path, so names that
// are not valid UTF-8 survive the trip through QML unchanged.
QUrl fromPath(std::string_view path);

// The path bytes a file URL names. A URL without a scheme is taken as a
// plain path, which is what QML hands over when a string is passed. Any other
// scheme names no local file and gives an empty path.
std::string toPath(const QUrl &url);

} // namespace twinsift::fileurls
