#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct UCollator;

namespace twinsift {

// The order in which a file manager lists paths: case ignored, digit runs
// compared by value, following the user's collation locale. Ties fall back to
// the raw bytes so that the order is total and the same on every run.
//
// One instance is not safe for concurrent use; make one per thread.
class PathOrder {
public:
    PathOrder();
    ~PathOrder();
    PathOrder(const PathOrder &) = delete;
    PathOrder &operator=(const PathOrder &) = delete;

    // The permutation that puts paths in order: result[k] is the index of the
    // k-th path. Sort keys are computed once per path, which is much faster
    // than comparing inside the sort.
    std::vector<std::uint32_t> order(const std::vector<std::string_view> &paths) const;
    // The same over count paths that pathAt(i) gives, without a list of them.
    std::vector<std::uint32_t>
    order(std::size_t count, const std::function<std::string_view(std::size_t)> &pathAt) const;

    // The same for paths that come in runs, each run the files of one
    // folder, starting at runStarts (ascending, the first 0). pathAt(i, out)
    // writes path i into out; it is called from several threads at once.
    // Only one run's sort keys are held at a time per thread, plus two per
    // run, so memory does not grow with the length of every path. Runs whose
    // files interleave cost a second key per file.
    std::vector<std::uint32_t>
    orderRuns(std::size_t count, const std::vector<std::uint32_t> &runStarts,
              const std::function<void(std::size_t, std::string &)> &pathAt) const;

    // Paths that orderRuns has put in order in this process so far. Tests
    // read it to prove that a rescan reused an earlier order.
    static std::uint64_t pathsOrdered();

    // Sorts any list by the path that key(element) gives, stably.
    template <typename T, typename Key> void sort(std::vector<T> &items, Key key) const {
        std::vector<std::string_view> paths;
        paths.reserve(items.size());
        for (const auto &item : items)
            paths.push_back(key(item));
        const auto perm = order(paths);
        std::vector<T> sorted;
        sorted.reserve(items.size());
        for (auto i : perm)
            sorted.push_back(std::move(items[i]));
        items = std::move(sorted);
    }

    // The ICU locale used: the user's LC_ALL / LC_COLLATE / LANG, or the
    // root locale for C and POSIX.
    static std::string collationLocale();

private:
    class KeyStore;
    void sortKey(std::string_view path, std::string &key) const;
    static void sortKeyWith(const UCollator *collator, std::string_view path, std::string &key);

    UCollator *m_collator = nullptr;
};

} // namespace twinsift
