#include "modificationtimes.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

namespace twinsift {

ModificationTimes::ModificationTimes(const DuplicateScanResult &result) {
    m_groupStart.reserve(result.groups.size() + 1);
    std::size_t count = 0;
    for (const auto &group : result.groups) {
        m_groupStart.push_back(count);
        count += group.files.size();
    }
    m_groupStart.push_back(count);
    m_times.assign(count, unreadable);
}

ModificationTimes ModificationTimes::read(const DuplicateScanResult &result, std::stop_token stop) {
    ModificationTimes times(result);
    for (std::size_t g = 0; g < result.groups.size(); ++g) {
        if (stop.stop_requested())
            break;
        const auto &files = result.groups[g].files;
        for (std::size_t i = 0; i < files.size(); ++i) {
            struct stat st;
            if (::fstatat(AT_FDCWD, files[i].url.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
                times.set(g, i,
                          static_cast<Time>(st.st_mtim.tv_sec) * 1'000'000'000 +
                              st.st_mtim.tv_nsec);
        }
    }
    return times;
}

void ModificationTimes::set(std::size_t group, std::size_t file, Time time) {
    if (group + 1 >= m_groupStart.size())
        return;
    const std::size_t at = m_groupStart[group] + file;
    if (at < m_groupStart[group + 1])
        m_times[at] = time;
}

ModificationTimes::Time ModificationTimes::of(std::size_t group, std::size_t file) const {
    if (group + 1 >= m_groupStart.size())
        return unreadable;
    const std::size_t at = m_groupStart[group] + file;
    return at < m_groupStart[group + 1] ? m_times[at] : unreadable;
}

std::size_t ModificationTimes::unreadableCount() const {
    return static_cast<std::size_t>(std::count(m_times.begin(), m_times.end(), unreadable));
}

} // namespace twinsift
