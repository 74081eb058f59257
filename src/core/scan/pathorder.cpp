#include "pathorder.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <utility>

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

void PathOrder::sortKey(std::string_view path, std::string &key) const {
    thread_local std::vector<UChar> utf16;
    const int32_t length = toUtf16(path, utf16);
    std::size_t room = std::max<std::size_t>(64, key.capacity());
    for (;;) {
        key.resize(room);
        const int32_t needed =
            ucol_getSortKey(m_collator, utf16.data(), length,
                            reinterpret_cast<uint8_t *>(key.data()), static_cast<int32_t>(room));
        if (needed > 0 && static_cast<std::size_t>(needed) <= room) {
            // Without the closing 0 byte: keys hold no other 0 byte, so
            // comparing them as strings orders them as ICU does.
            key.resize(static_cast<std::size_t>(needed) - 1);
            return;
        }
        room = static_cast<std::size_t>(needed > 0 ? needed : static_cast<int32_t>(room * 2));
    }
}

// Sort keys in fixed blocks that never move, so storing many costs no
// buffer that doubles and copies as it grows.
class PathOrder::KeyStore {
public:
    std::string_view add(std::string_view key) {
        if (m_blocks.empty() || m_used + key.size() > m_blockSize) {
            m_blockSize = std::max(blockSize, key.size());
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(m_blockSize));
            m_used = 0;
        }
        char *at = m_blocks.back().get() + m_used;
        std::memcpy(at, key.data(), key.size());
        m_used += key.size();
        return {at, key.size()};
    }
    void clear() {
        // The first block is kept for the next run.
        if (m_blocks.size() > 1)
            m_blocks.resize(1);
        m_used = 0;
        m_blockSize = m_blocks.empty() ? 0 : std::max(blockSize, m_blockSize);
    }

private:
    static constexpr std::size_t blockSize = 1 << 20;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_used = 0;
    std::size_t m_blockSize = 0;
};

std::vector<std::uint32_t> PathOrder::order(const std::vector<std::string_view> &paths) const {
    return order(paths.size(), [&paths](std::size_t i) { return paths[i]; });
}

std::vector<std::uint32_t>
PathOrder::order(std::size_t count,
                 const std::function<std::string_view(std::size_t)> &pathAt) const {
    KeyStore store;
    std::vector<std::string_view> keys;
    keys.reserve(count);
    std::string key;
    for (std::size_t i = 0; i < count; ++i) {
        sortKey(pathAt(i), key);
        keys.push_back(store.add(key));
    }
    std::vector<std::uint32_t> perm(count);
    std::iota(perm.begin(), perm.end(), 0u);
    std::stable_sort(perm.begin(), perm.end(), [&](std::uint32_t x, std::uint32_t y) {
        if (const int c = keys[x].compare(keys[y]); c != 0)
            return c < 0;
        return pathAt(x) < pathAt(y);
    });
    return perm;
}

std::vector<std::uint32_t>
PathOrder::orderRuns(std::size_t count, const std::vector<std::uint32_t> &runStarts,
                     const std::function<void(std::size_t, std::string &)> &pathAt) const {
    std::vector<std::uint32_t> perm(count);
    std::iota(perm.begin(), perm.end(), 0u);
    std::string key, a, b;
    const auto tieBreak = [&](std::uint32_t x, std::uint32_t y) {
        pathAt(x, a);
        pathAt(y, b);
        return a < b;
    };

    // Paths that begin with the same folders compare as the rest of them
    // do: no collation element spans a "/". So a run's files are keyed by
    // their names alone, and the merge keys every path below the folder all
    // of them share, which makes the keys short and quick to compute. With
    // French accent order, accents compare from the end of the whole
    // string, and only whole paths will do.
    UErrorCode status = U_ZERO_ERROR;
    const bool wholePaths =
        ucol_getAttribute(m_collator, UCOL_FRENCH_COLLATION, &status) == UCOL_ON;
    std::string common;
    bool first = true;
    for (std::size_t r = 0; r < runStarts.size() && !wholePaths; ++r) {
        if (runStarts[r] >= count)
            continue;
        pathAt(runStarts[r], a);
        if (std::exchange(first, false))
            common = a;
        else
            common.resize(static_cast<std::size_t>(
                std::mismatch(common.begin(), common.end(), a.begin(), a.end()).first -
                common.begin()));
    }
    // Up to and with its last "/"; 0 when there is none.
    const std::size_t shared = common.rfind('/') + 1;
    const auto name = [wholePaths](std::string_view path) {
        return wholePaths ? path : path.substr(path.rfind('/') + 1);
    };

    // Each run in order by its own keys.
    KeyStore store;
    std::vector<std::string_view> keys;
    for (std::size_t r = 0; r < runStarts.size(); ++r) {
        const std::uint32_t begin = runStarts[r];
        const std::uint32_t end =
            r + 1 < runStarts.size() ? runStarts[r + 1] : static_cast<std::uint32_t>(count);
        store.clear();
        keys.clear();
        for (std::uint32_t i = begin; i < end; ++i) {
            pathAt(i, a);
            sortKey(name(a), key);
            keys.push_back(store.add(key));
        }
        std::stable_sort(perm.begin() + begin, perm.begin() + end,
                         [&](std::uint32_t x, std::uint32_t y) {
                             if (const int c = keys[x - begin].compare(keys[y - begin]); c != 0)
                                 return c < 0;
                             return tieBreak(x, y);
                         });
    }
    if (runStarts.size() <= 1)
        return perm;

    // Then the runs merged: a folder's files and a sibling folder's files
    // may interleave, so no run can simply follow another.
    struct Head {
        std::string key;
        std::uint32_t next; // position in perm
        std::uint32_t end;
    };
    std::vector<Head> heads;
    heads.reserve(runStarts.size());
    const auto after = [&](const Head &x, const Head &y) {
        if (const int c = x.key.compare(y.key); c != 0)
            return c > 0;
        return tieBreak(perm[y.next], perm[x.next]);
    };
    for (std::size_t r = 0; r < runStarts.size(); ++r) {
        const std::uint32_t end =
            r + 1 < runStarts.size() ? runStarts[r + 1] : static_cast<std::uint32_t>(count);
        if (runStarts[r] == end)
            continue;
        Head head{{}, runStarts[r], end};
        pathAt(perm[head.next], a);
        sortKey(std::string_view(a).substr(shared), head.key);
        heads.push_back(std::move(head));
    }
    std::make_heap(heads.begin(), heads.end(), after);
    std::vector<std::uint32_t> merged;
    merged.reserve(count);
    while (!heads.empty()) {
        std::pop_heap(heads.begin(), heads.end(), after);
        Head &head = heads.back();
        merged.push_back(perm[head.next]);
        if (++head.next == head.end) {
            heads.pop_back();
            continue;
        }
        pathAt(perm[head.next], a);
        sortKey(std::string_view(a).substr(shared), head.key);
        std::push_heap(heads.begin(), heads.end(), after);
    }
    return merged;
}

} // namespace twinsift
