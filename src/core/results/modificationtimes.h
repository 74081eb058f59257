#pragma once

#include "duplicatescanresult.h"

#include <cstdint>
#include <limits>
#include <stop_token>
#include <vector>

namespace twinsift {

// The modification times of the files of a result's exact sets, as the keep
// oldest and keep newest marks compare them. Read on a worker, once per
// result, then looked up by position: set g, copy i, as result.groups holds
// them. A rule over tens of thousands of sets then costs no hashing of paths.
class ModificationTimes {
public:
    // Nanoseconds since the epoch. A file whose time could not be read counts
    // as older than any other, so keepOldest keeps it and keepNewest
    // never picks it over a file with a real time.
    using Time = std::int64_t;
    static constexpr Time unreadable = std::numeric_limits<Time>::min();

    ModificationTimes() = default;
    // Laid out like result's sets, every time unreadable until set.
    explicit ModificationTimes(const DuplicateScanResult &result);

    // lstat of every file of every exact set. Stops early when asked to; the
    // caller then throws the partial answer away.
    static ModificationTimes read(const DuplicateScanResult &result, std::stop_token stop = {});

    void set(std::size_t group, std::size_t file, Time time);
    // Unreadable for a position outside the layout.
    Time of(std::size_t group, std::size_t file) const;
    std::size_t unreadableCount() const;

private:
    // Where each set's copies start in m_times; one more entry than sets.
    std::vector<std::size_t> m_groupStart;
    std::vector<Time> m_times;
};

} // namespace twinsift
