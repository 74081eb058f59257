#pragma once

#include <string>
#include <string_view>

// Text rules shared by grouping keys and the filename search. Input is UTF-8
// that was already decoded from path bytes; none of this is ever a path.
namespace twinsift::unicodetext {

// Full Unicode lower-case mapping, locale-independent, then canonical
// composition (NFC), so that names differing only in case or in how an
// accented letter is encoded give the same text.
std::string foldedLowercase(std::string_view utf8);

// Drops leading and trailing Unicode white space, line breaks included.
std::string trimmed(std::string_view utf8);

// The folded last path component: the grouping key and the text a search
// looks in. Folder names never take part.
std::string foldedFileName(std::string_view path);

} // namespace twinsift::unicodetext
