#include "cleanuprestore.h"

#include "cleanuplock.h"

namespace twinsift::CleanupRestore {

RestoreReport run(const std::vector<Trash::Entry> &entries) {
    const CleanupLock lock;
    RestoreReport report;
    for (const Trash::Entry &entry : entries) {
        if (const auto back = Trash::putBack(entry, true); !back) {
            report.failures.push_back({entry, back.error()});
            continue;
        }
        report.restored.push_back(entry);
        report.restoredBytes += entry.size;
    }
    return report;
}

std::vector<Trash::Entry> stillInTrash(const std::vector<Trash::Entry> &entries) {
    std::vector<Trash::Entry> out;
    for (const Trash::Entry &entry : entries)
        if (Trash::holds(entry))
            out.push_back(entry);
    return out;
}

} // namespace twinsift::CleanupRestore
