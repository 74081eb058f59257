#pragma once

#include "indextable.h"

#include <QAbstractListModel>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace twinsift {

// Turns a list model's rows into a new list by removing the rows that left,
// inserting the rows that arrived and announcing the rows whose content
// changed, so a view keeps its delegates and its scroll position for
// everything that stayed. Rows are matched by a key; rows that stayed but
// changed their relative order are removed and inserted again.
//
// Rows are keyed by keyOf(row), unique within one list: a string_view or a
// PairKey. Row needs operator== on what a view shows. The model's own
// begin/end calls are the hooks, as those are protected members of
// QAbstractItemModel; KeyedListModel below hands them out.
struct RowUpdateHooks {
    std::function<void(int, int)> beginRemove;
    std::function<void()> endRemove;
    std::function<void(int, int)> beginInsert;
    std::function<void()> endInsert;
    std::function<void(int, int)> changed;
};

// A key of two parts, such as a group's id and a file's path, hashed by its
// second part alone: callers put the part that tells rows apart second, so
// hashing the first as well would only cost time.
struct PairKey {
    std::string_view first;
    std::string_view second;

    friend bool operator==(const PairKey &a, const PairKey &b) {
        // Rows that point at the very same strings, as the rows of one
        // result mostly do, are equal without reading them.
        const auto same = [](std::string_view x, std::string_view y) {
            return (x.data() == y.data() && x.size() == y.size()) || x == y;
        };
        return same(a.second, b.second) && same(a.first, b.first);
    }
};

struct RowKeyHash {
    std::size_t operator()(std::string_view key) const {
        return std::hash<std::string_view>{}(key);
    }
    std::size_t operator()(const PairKey &key) const { return (*this)(key.second); }
};

template <typename Row> struct KeyedRowUpdate {
    using Hooks = RowUpdateHooks;

    // Beyond this many separate runs of removals and insertions the views
    // spend longer following the runs than rebuilding, so the whole list is
    // replaced in one removal and one insertion.
    static constexpr std::size_t maxRuns = 16;

    template <typename KeyOf>
    static void apply(std::vector<Row> &rows, std::vector<Row> next, const Hooks &hooks,
                      KeyOf keyOf) {
        if (rows.empty() || next.empty()) {
            replaceAll(rows, std::move(next), hooks);
            return;
        }
        // The old rows, then the new ones, by index in one flat table of
        // their keys' hashes: a node per key, as a std::unordered_map holds
        // them, cost most of a sort of a large result.
        const auto old = static_cast<std::uint32_t>(rows.size());
        const auto keyAt = [&](std::uint32_t i) {
            return keyOf(i < old ? rows[i] : next[i - old]);
        };
        std::vector<std::size_t> hashes(rows.size() + next.size());
        for (std::uint32_t i = 0; i < hashes.size(); ++i)
            hashes[i] = RowKeyHash{}(keyAt(i));
        IndexTable table(
            [&hashes](std::uint32_t i) { return hashes[i]; },
            [&keyAt](std::uint32_t a, std::uint32_t b) { return keyAt(a) == keyAt(b); },
            rows.size());
        for (std::uint32_t i = 0; i < old; ++i)
            table.findOrAdd(i);

        // Old positions of the new rows that existed before, in new order;
        // the longest increasing run of them stays in place.
        std::vector<int> matchedOld;
        std::vector<int> matchedNew;
        for (std::size_t j = 0; j < next.size(); ++j) {
            // An index past the old rows would be a key repeated among the
            // new ones, which no list holds.
            if (const auto held = table.findOrAdd(old + static_cast<std::uint32_t>(j));
                held < old) {
                matchedOld.push_back(static_cast<int>(held));
                matchedNew.push_back(static_cast<int>(j));
            }
        }
        const std::vector<int> keptPositions = longestIncreasing(matchedOld);
        std::vector<int> oldKept(rows.size(), -1);
        std::vector<int> newToOld(next.size(), -1);
        for (int p : keptPositions) {
            oldKept[static_cast<std::size_t>(matchedOld[static_cast<std::size_t>(p)])] = 1;
            newToOld[static_cast<std::size_t>(matchedNew[static_cast<std::size_t>(p)])] =
                matchedOld[static_cast<std::size_t>(p)];
        }
        move(rows, std::move(next), oldKept, newToOld, hooks);
    }

    // For lists that both ascend by orderOf(row): one merge finds the rows
    // that stay, with no hashing.
    template <typename Order>
    static void applySorted(std::vector<Row> &rows, std::vector<Row> next, const Hooks &hooks,
                            Order orderOf) {
        std::vector<int> oldKept(rows.size(), -1);
        std::vector<int> newToOld(next.size(), -1);
        for (std::size_t i = 0, j = 0; i < rows.size() && j < next.size();) {
            const auto a = orderOf(rows[i]);
            const auto b = orderOf(next[j]);
            if (a < b) {
                ++i;
            } else if (b < a) {
                ++j;
            } else {
                oldKept[i] = 1;
                newToOld[j] = static_cast<int>(i);
                ++i;
                ++j;
            }
        }
        move(rows, std::move(next), oldKept, newToOld, hooks);
    }

private:
    static void move(std::vector<Row> &rows, std::vector<Row> next, const std::vector<int> &oldKept,
                     const std::vector<int> &newToOld, const Hooks &hooks) {
        const std::size_t runs = countRuns(oldKept) + countRuns(newToOld);
        if (runs > maxRuns) {
            replaceAll(rows, std::move(next), hooks);
            return;
        }

        // Removals from the back, so earlier indices stay valid.
        for (int i = static_cast<int>(rows.size()) - 1; i >= 0;) {
            if (oldKept[static_cast<std::size_t>(i)] >= 0) {
                --i;
                continue;
            }
            int first = i;
            while (first > 0 && oldKept[static_cast<std::size_t>(first - 1)] < 0)
                --first;
            hooks.beginRemove(first, i);
            rows.erase(rows.begin() + first, rows.begin() + i + 1);
            hooks.endRemove();
            i = first - 1;
        }

        // What is left is the kept rows in new order; insert the arrivals and
        // remember which kept rows show something new.
        std::vector<char> changed(next.size(), 0);
        for (std::size_t j = 0; j < next.size();) {
            if (newToOld[j] >= 0) {
                changed[j] = !(rows[j] == next[j]);
                rows[j] = std::move(next[j]);
                ++j;
                continue;
            }
            std::size_t last = j;
            while (last + 1 < next.size() && newToOld[last + 1] < 0)
                ++last;
            hooks.beginInsert(static_cast<int>(j), static_cast<int>(last));
            rows.insert(
                rows.begin() + static_cast<std::ptrdiff_t>(j),
                std::make_move_iterator(next.begin() + static_cast<std::ptrdiff_t>(j)),
                std::make_move_iterator(next.begin() + static_cast<std::ptrdiff_t>(last) + 1));
            hooks.endInsert();
            j = last + 1;
        }
        for (std::size_t j = 0; j < changed.size();) {
            if (!changed[j]) {
                ++j;
                continue;
            }
            std::size_t last = j;
            while (last + 1 < changed.size() && changed[last + 1])
                ++last;
            hooks.changed(static_cast<int>(j), static_cast<int>(last));
            j = last + 1;
        }
    }

    static void replaceAll(std::vector<Row> &rows, std::vector<Row> next, const Hooks &hooks) {
        if (!rows.empty()) {
            hooks.beginRemove(0, static_cast<int>(rows.size()) - 1);
            rows.clear();
            hooks.endRemove();
        }
        if (!next.empty()) {
            hooks.beginInsert(0, static_cast<int>(next.size()) - 1);
            rows = std::move(next);
            hooks.endInsert();
        }
    }

    // Runs of entries below zero: rows that leave, or rows that arrive.
    static std::size_t countRuns(const std::vector<int> &flags) {
        std::size_t runs = 0;
        bool inRun = false;
        for (const int flag : flags) {
            const bool gap = flag < 0;
            if (gap && !inRun)
                ++runs;
            inRun = gap;
        }
        return runs;
    }

    // Positions (into values) of one longest strictly increasing subsequence.
    static std::vector<int> longestIncreasing(const std::vector<int> &values) {
        std::vector<int> tails;
        std::vector<int> tailPos;
        std::vector<int> previous(values.size(), -1);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const auto it = std::lower_bound(tails.begin(), tails.end(), values[i]);
            const auto k = static_cast<std::size_t>(it - tails.begin());
            if (k > 0)
                previous[i] = tailPos[k - 1];
            if (it == tails.end()) {
                tails.push_back(values[i]);
                tailPos.push_back(static_cast<int>(i));
            } else {
                *it = values[i];
                tailPos[k] = static_cast<int>(i);
            }
        }
        std::vector<int> positions(tails.size());
        int p = tailPos.empty() ? -1 : tailPos.back();
        for (std::size_t k = positions.size(); k-- > 0;) {
            positions[k] = p;
            p = previous[static_cast<std::size_t>(p)];
        }
        return positions;
    }
};

// A list model whose rows move to new ones through KeyedRowUpdate.
class KeyedListModel : public QAbstractListModel {
protected:
    using QAbstractListModel::QAbstractListModel;

    RowUpdateHooks rowUpdateHooks() {
        return {
            [this](int first, int last) { beginRemoveRows({}, first, last); },
            [this] { endRemoveRows(); },
            [this](int first, int last) { beginInsertRows({}, first, last); },
            [this] { endInsertRows(); },
            [this](int first, int last) { emit dataChanged(index(first), index(last)); },
        };
    }
};

} // namespace twinsift
