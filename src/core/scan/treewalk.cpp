#include "treewalk.h"

#include "fileidentity.h"
#include "platform/fileattributes.h"
#include "platform/folderwalker.h"

#include <cstdlib>
#include <memory>

namespace twinsift {
namespace {

constexpr std::int64_t walkReportInterval = 25;

DuplicateScanProgress walkReport(const WalkOutput &w) {
    return {DuplicateScanPhase::enumerating, w.filesScanned, 0, 0, w.ignoredSmallFiles};
}

} // namespace

WalkEnd walkTree(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                 const DuplicateScanner::ProgressCallback &progress, const std::stop_token &stop,
                 const WalkListener &listener, WalkOutput &out) {
    // Security-scoped access has no counterpart here: access is the process's own.
    if (const auto chosen = FileAttributes::readFollowingLinks(folder);
        !chosen || !chosen->isDirectory)
        return WalkEnd::folderUnavailable;

    // Children are named below the absolute form of the folder, so every
    // DuplicateFile carries an absolute path even if the caller's was relative.
    // The kernel makes that form: dropping ".." by text would step back from
    // where a linked folder leads, and walk a different tree.
    std::string base = folder;
    if (base.empty() || base.front() != '/') {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr),
                                                         &std::free);
        if (!real)
            return WalkEnd::folderUnavailable;
        base = real.get();
    }

    // Whatever went wrong below the root, the file or folder is skipped.
    FolderWalker walker(base, [&out](const std::string &, const WalkError &) { ++out.skipped; });
    if (!walker.start())
        return WalkEnd::folderUnavailable;
    listener.rooted(walker.root(), walker.rootFd());

    const auto counted = [&] {
        if ((out.filesScanned + out.ignoredSmallFiles) % walkReportInterval == 0)
            progress(walkReport(out));
    };

    std::uint64_t listing = 0;
    while (true) {
        if (stop.stop_requested())
            return WalkEnd::cancelled;
        if (!walker.next())
            break;
        const auto attributes = walker.attributes();
        if (!attributes) {
            ++out.skipped;
            continue;
        }
        if (!attributes->isRegularFile || attributes->isSymbolicLink)
            continue;
        if (!attributes->fileSize) {
            ++out.skipped;
            continue;
        }
        const std::uint64_t size = *attributes->fileSize;
        if (size < minimumFileSizeBytes) {
            ++out.ignoredSmallFiles;
            counted();
            continue;
        }
        ++out.filesScanned;
        if (walker.foldersEntered() != listing) {
            listing = walker.foldersEntered();
            out.files.enterFolder(walker.folder());
        }
        out.files.add(walker.name(), size, FileIdentity::of(*attributes));
        listener.found(static_cast<std::uint32_t>(out.files.size() - 1), attributes->linkCount);
        counted();
    }
    if (stop.stop_requested())
        return WalkEnd::cancelled;
    progress(walkReport(out));
    return WalkEnd::complete;
}

} // namespace twinsift
