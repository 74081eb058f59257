#include "pathorder.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <system_error>
#include <thread>
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

std::atomic<std::uint64_t> orderedPaths = 0;

// Fewer files than this are sorted on the calling thread alone: starting
// a thread would cost more than it saves.
constexpr std::size_t parallelFrom = 4096;

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

std::uint64_t PathOrder::pathsOrdered() {
    return orderedPaths.load(std::memory_order_relaxed);
}

void PathOrder::sortKey(std::string_view path, std::string &key) const {
    sortKeyWith(m_collator, path, key);
}

void PathOrder::sortKeyWith(const UCollator *collator, std::string_view path, std::string &key) {
    thread_local std::vector<UChar> utf16;
    const int32_t length = toUtf16(path, utf16);
    std::size_t room = std::max<std::size_t>(64, key.capacity());
    for (;;) {
        key.resize(room);
        const int32_t needed =
            ucol_getSortKey(collator, utf16.data(), length, reinterpret_cast<uint8_t *>(key.data()),
                            static_cast<int32_t>(room));
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
    orderedPaths.fetch_add(count, std::memory_order_relaxed);
    std::vector<std::uint32_t> perm(count);
    std::iota(perm.begin(), perm.end(), 0u);
    const auto runEnd = [&](std::size_t r) {
        return r + 1 < runStarts.size() ? runStarts[r + 1] : static_cast<std::uint32_t>(count);
    };

    // Paths that begin with the same folders compare as the rest of them
    // do: no collation element spans a "/". So a run's files are keyed by
    // their names alone, and runs are compared by every path below the
    // folder all of them share, which makes the keys short and quick to
    // compute. With French accent order, accents compare from the end of the
    // whole string, and only whole paths will do.
    UErrorCode status = U_ZERO_ERROR;
    const bool wholePaths =
        ucol_getAttribute(m_collator, UCOL_FRENCH_COLLATION, &status) == UCOL_ON;
    std::string common, a, b;
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
    const auto below = [shared](std::string_view path) { return path.substr(shared); };
    const auto name = [wholePaths](std::string_view path) {
        return wholePaths ? path : path.substr(path.rfind('/') + 1);
    };

    // Each run in order by its own keys, and the keys of its first and last
    // file below the shared folder. The runs are shared out among threads,
    // each with its own collator, by their number of files.
    std::vector<std::string> firstKeys(runStarts.size()), lastKeys(runStarts.size());
    const auto sortRuns = [&](const UCollator *collator, std::size_t from, std::size_t to) {
        KeyStore store;
        std::vector<std::string_view> keys;
        std::string key, x, y;
        const auto tieBreak = [&](std::uint32_t i, std::uint32_t j) {
            pathAt(i, x);
            pathAt(j, y);
            return x < y;
        };
        for (std::size_t r = from; r < to; ++r) {
            const std::uint32_t begin = runStarts[r], end = runEnd(r);
            if (begin >= end)
                continue;
            store.clear();
            keys.clear();
            for (std::uint32_t i = begin; i < end; ++i) {
                pathAt(i, x);
                sortKeyWith(collator, name(x), key);
                keys.push_back(store.add(key));
            }
            std::stable_sort(perm.begin() + begin, perm.begin() + end,
                             [&](std::uint32_t i, std::uint32_t j) {
                                 if (const int c = keys[i - begin].compare(keys[j - begin]); c)
                                     return c < 0;
                                 return tieBreak(i, j);
                             });
            pathAt(perm[begin], x);
            sortKeyWith(collator, below(x), firstKeys[r]);
            // A run of one file has its first key as its last.
            if (end - begin > 1) {
                pathAt(perm[end - 1], x);
                sortKeyWith(collator, below(x), lastKeys[r]);
            }
        }
    };
    const unsigned threads =
        count < parallelFrom ? 1u : std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    if (threads == 1) {
        sortRuns(m_collator, 0, runStarts.size());
    } else {
        std::vector<std::unique_ptr<UCollator, decltype(&ucol_close)>> clones;
        std::vector<std::thread> helpers;
        std::vector<std::exception_ptr> failures(threads);
        const auto sortShare = [&](unsigned t, const UCollator *collator, std::size_t from,
                                   std::size_t to) {
            try {
                sortRuns(collator, from, to);
            } catch (...) {
                failures[t] = std::current_exception();
            }
        };
        std::size_t from = 0;
        for (unsigned t = 1; t <= threads; ++t) {
            // Runs up to the t-th share of the files.
            std::size_t to = from;
            const std::size_t upTo = count * t / threads;
            while (to < runStarts.size() && (t == threads || runStarts[to] < upTo))
                ++to;
            if (t == threads) {
                sortShare(0, m_collator, from, to);
                break;
            }
            UErrorCode cloned = U_ZERO_ERROR;
            clones.emplace_back(ucol_clone(m_collator, &cloned), &ucol_close);
            if (U_FAILURE(cloned) || !clones.back()) {
                // Without a collator of its own, this share is sorted later.
                clones.pop_back();
                continue;
            }
            try {
                helpers.emplace_back(sortShare, t, clones.back().get(), from, to);
            } catch (const std::system_error &) {
                continue; // no thread to spare: this share is sorted later
            }
            from = to;
        }
        for (auto &helper : helpers)
            helper.join();
        for (const auto &failure : failures)
            if (failure)
                std::rethrow_exception(failure);
    }
    if (runStarts.size() <= 1)
        return perm;

    // Runs whose key ranges do not overlap simply follow one another, which
    // is what a walk of folders that hold only files, or only folders, gives.
    // Equal keys at a boundary leave the order to the raw bytes, which only
    // the merge below weighs file by file.
    std::vector<std::uint32_t> runs;
    for (std::uint32_t r = 0; r < runStarts.size(); ++r)
        if (runStarts[r] < runEnd(r))
            runs.push_back(r);
    std::sort(runs.begin(), runs.end(), [&](std::uint32_t x, std::uint32_t y) {
        if (const int c = firstKeys[x].compare(firstKeys[y]); c != 0)
            return c < 0;
        return x < y;
    });
    const auto lastKey = [&](std::uint32_t r) -> const std::string & {
        return runEnd(r) - runStarts[r] > 1 ? lastKeys[r] : firstKeys[r];
    };
    bool apart = true;
    for (std::size_t k = 1; k < runs.size() && apart; ++k)
        apart = lastKey(runs[k - 1]) < firstKeys[runs[k]];
    if (apart) {
        std::vector<std::uint32_t> chained;
        chained.reserve(count);
        for (const auto r : runs)
            chained.insert(chained.end(), perm.begin() + runStarts[r], perm.begin() + runEnd(r));
        return chained;
    }
    std::vector<std::string>().swap(lastKeys);

    // Otherwise the runs are merged file by file: a folder's files and a
    // sibling folder's, or its subfolder's, may interleave.
    struct Head {
        std::string key;
        std::uint32_t next; // position in perm
        std::uint32_t end;
    };
    std::vector<Head> heads;
    heads.reserve(runs.size());
    const auto after = [&](const Head &x, const Head &y) {
        if (const int c = x.key.compare(y.key); c != 0)
            return c > 0;
        pathAt(perm[y.next], a);
        pathAt(perm[x.next], b);
        return a < b;
    };
    for (const auto r : runs)
        heads.push_back({std::move(firstKeys[r]), runStarts[r], runEnd(r)});
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
        sortKey(below(a), head.key);
        std::push_heap(heads.begin(), heads.end(), after);
    }
    return merged;
}

} // namespace twinsift
