#include "modificationtimes.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace twinsift {

ModificationTimes ModificationTimes::read(const DuplicateScanResult &result, std::stop_token stop) {
    ModificationTimes times;
    std::size_t count = 0;
    for (const auto &group : result.groups)
        count += group.files.size();
    times.m_times.reserve(count);
    for (const auto &group : result.groups) {
        if (stop.stop_requested())
            break;
        for (const auto &file : group.files) {
            struct stat st;
            if (::fstatat(AT_FDCWD, file.url.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                times.set(file.url, unreadable);
                continue;
            }
            times.set(file.url,
                      static_cast<Time>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec);
        }
    }
    return times;
}

void ModificationTimes::set(const std::string &path, Time time) {
    auto [it, inserted] = m_times.try_emplace(path, time);
    if (!inserted) {
        if (it->second == unreadable)
            --m_unreadable;
        it->second = time;
    }
    if (time == unreadable)
        ++m_unreadable;
}

ModificationTimes::Time ModificationTimes::of(const std::string &path) const {
    const auto it = m_times.find(path);
    return it == m_times.end() ? unreadable : it->second;
}

} // namespace twinsift
