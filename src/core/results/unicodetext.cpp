#include "unicodetext.h"

#include "paths.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace twinsift::unicodetext {

namespace {

icu::UnicodeString fromUtf8(std::string_view utf8) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
}

} // namespace

std::string foldedLowercase(std::string_view utf8) {
    icu::UnicodeString text = fromUtf8(utf8);
    // The root locale keeps the mapping the same for every user: a Turkish
    // locale would otherwise turn "I" into a dotless i.
    text.toLower(icu::Locale::getRoot());
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_SUCCESS(status)) {
        icu::UnicodeString composed = nfc->normalize(text, status);
        if (U_SUCCESS(status))
            text = composed;
    }
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::string trimmed(std::string_view utf8) {
    const auto *bytes = reinterpret_cast<const uint8_t *>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());

    int32_t begin = 0;
    while (begin < length) {
        int32_t next = begin;
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !u_isUWhiteSpace(c))
            break;
        begin = next;
    }
    int32_t end = length;
    while (end > begin) {
        int32_t previous = end;
        UChar32 c;
        U8_PREV(bytes, begin, previous, c);
        if (c < 0 || !u_isUWhiteSpace(c))
            break;
        end = previous;
    }
    return std::string(
        utf8.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
}

std::string foldedFileName(std::string_view path) {
    return foldedLowercase(paths::displayText(paths::lastComponent(path)));
}

} // namespace twinsift::unicodetext
