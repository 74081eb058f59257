#pragma once

#include "duplicatescanresult.h"

#include <cstdint>
#include <limits>
#include <stop_token>
#include <string>
#include <unordered_map>

namespace twinsift {

// The modification times of the files of a result's exact sets, as the keep
// oldest and keep newest marks compare them. Read on a worker, once per
// result, then only looked up.
class ModificationTimes {
public:
    // Nanoseconds since the epoch. A file whose time could not be read counts
    // as older than any other, so "Keep Oldest" keeps it and "Keep Newest"
    // never picks it over a file with a real time.
    using Time = std::int64_t;
    static constexpr Time unreadable = std::numeric_limits<Time>::min();

    ModificationTimes() = default;

    // lstat of every file of every exact set. Stops early, with what it has,
    // when asked to; the caller then throws the partial answer away.
    static ModificationTimes read(const DuplicateScanResult &result, std::stop_token stop = {});

    void set(const std::string &path, Time time);
    Time of(const std::string &path) const;
    std::size_t size() const { return m_times.size(); }
    std::size_t unreadableCount() const { return m_unreadable; }

private:
    std::unordered_map<std::string, Time> m_times;
    std::size_t m_unreadable = 0;
};

} // namespace twinsift
