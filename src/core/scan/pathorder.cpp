#include "pathorder.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <stdexcept>

namespace twinsift {

std::string PathOrder::collationLocale() {
    const char *value = nullptr;
    for (const char *name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char *v = std::getenv(name);
        if (v && *v) {
            value = v;
            break;
        }
    }
    if (!value)
        return "";
    std::string locale(value);
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX")
        return "";
    return locale;
}

PathOrder::PathOrder() {
    UErrorCode status = U_ZERO_ERROR;
    m_collator = ucol_open(collationLocale().c_str(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        m_collator = ucol_open("", &status);
    }
    if (U_FAILURE(status) || !m_collator)
        throw std::runtime_error("ICU collator unavailable");
    ucol_setAttribute(m_collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    ucol_setStrength(m_collator, UCOL_SECONDARY);
}

PathOrder::~PathOrder() {
    if (m_collator)
        ucol_close(m_collator);
}

namespace {

// Decodes path bytes to UTF-16, invalid sequences becoming U+FFFD, into buf.
int32_t toUtf16(std::string_view path, std::vector<UChar> &buf) {
    buf.resize(path.size() + 1);
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        int32_t length = 0;
        u_strFromUTF8WithSub(buf.data(), static_cast<int32_t>(buf.size()), &length, path.data(),
                             static_cast<int32_t>(path.size()), 0xFFFD, nullptr, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            buf.resize(static_cast<std::size_t>(length) + 1);
            continue;
        }
        return U_SUCCESS(status) ? length : 0;
    }
}

} // namespace

void PathOrder::appendSortKey(std::string_view path, std::string &arena) const {
    thread_local std::vector<UChar> utf16;
    const int32_t length = toUtf16(path, utf16);
    const std::size_t start = arena.size();
    std::size_t room = std::max<std::size_t>(64, path.size() * 3);
    for (;;) {
        arena.resize(start + room);
        const int32_t needed = ucol_getSortKey(m_collator, utf16.data(), length,
                                               reinterpret_cast<uint8_t *>(arena.data() + start),
                                               static_cast<int32_t>(room));
        if (needed > 0 && static_cast<std::size_t>(needed) <= room) {
            // The key ends in a 0 byte; keep it as the separator.
            arena.resize(start + static_cast<std::size_t>(needed));
            return;
        }
        room = static_cast<std::size_t>(needed > 0 ? needed : static_cast<int32_t>(room * 2));
    }
}

std::vector<std::uint32_t> PathOrder::order(const std::vector<std::string_view> &paths) const {
    return order(paths.size(), [&paths](std::size_t i) { return paths[i]; });
}

std::vector<std::uint32_t>
PathOrder::order(std::size_t count,
                 const std::function<std::string_view(std::size_t)> &pathAt) const {
    // All keys live in one arena: one allocation instead of one per path.
    std::string arena;
    std::vector<std::size_t> offsets;
    offsets.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        offsets.push_back(arena.size());
        appendSortKey(pathAt(i), arena);
    }
    std::vector<std::uint32_t> perm(count);
    std::iota(perm.begin(), perm.end(), 0u);
    const char *base = arena.data();
    std::stable_sort(perm.begin(), perm.end(), [&](std::uint32_t x, std::uint32_t y) {
        const int c = std::strcmp(base + offsets[x], base + offsets[y]);
        if (c != 0)
            return c < 0;
        return pathAt(x) < pathAt(y);
    });
    return perm;
}

} // namespace twinsift
