// Times one cleanup run over a tree it makes: SETS sets of COPIES files of
// SIZE bytes each, all but the first copy of every set marked. The Trash is
// a scratch home's, on the same disk as the tree. Prints one JSON object and
// fails when the report's counts or bytes are off.
//     twinsift-cleanupbench DIR [SETS] [COPIES] [SIZE] [same-names]
#include "cleanuprun.h"
#include "duplicatescanner.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace twinsift;

namespace {

void makeFolders(const std::string &path) {
    for (std::size_t slash = 1; slash != std::string::npos;) {
        slash = path.find('/', slash + 1);
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    }
}

bool write(const std::string &path, const std::string &bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    return ::close(fd) == 0 && ok;
}

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [SETS] [COPIES] [SIZE] [same-names]\n", argv[0]);
        return 2;
    }
    const std::string base = argv[1];
    const int sets = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int copies = argc > 3 ? std::atoi(argv[3]) : 3;
    const std::size_t size = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 4096;
    // Every set's files named alike, as photos of one camera are: each name
    // meets its own earlier copies in the Trash.
    const bool sameNames = argc > 5 && std::string(argv[5]) == "same-names";
    const std::string home = base + "/home", tree = base + "/tree";
    makeFolders(home + "/.local/share");
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", home.c_str(), 1);

    for (int s = 0; s < sets; ++s) {
        std::string content(size, 'x');
        const std::string tag = std::to_string(s) + ";";
        content.replace(0, tag.size(), tag);
        const std::string folder = tree + "/" + std::to_string(s / 100) + "/" + std::to_string(s);
        makeFolders(folder);
        for (int c = 0; c < copies; ++c)
            if (!write(folder + "/" + (sameNames ? "copy" : std::to_string(s) + "-copy") +
                           std::to_string(c) + ".bin",
                       content))
                return 1;
    }

    const auto outcome = DuplicateScanner::scan(tree, 1, [](const DuplicateScanProgress &) {});
    const auto *result = std::get_if<DuplicateScanResult>(&outcome);
    if (!result || result->groups.size() != std::size_t(sets)) {
        std::fprintf(stderr, "scan did not find the sets\n");
        return 1;
    }
    std::vector<DuplicateFile> selected;
    for (const DuplicateFile &f : result->scannedFiles)
        if (f.url.find("copy0.bin") == std::string::npos)
            selected.push_back(f);

    const auto start = std::chrono::steady_clock::now();
    const auto ran = CleanupRun::run(*result, selected, [](const std::string &) { return false; });
    const double seconds = since(start);
    const auto *report = std::get_if<CleanupReport>(&ran);
    if (!report) {
        std::fprintf(stderr, "the run stopped (reason %d)\n",
                     static_cast<int>(std::get<CleanupStop>(ran).reason));
        return 1;
    }
    const std::uint64_t expectedBytes = std::uint64_t(selected.size()) * size;
    const bool exact = report->movedPaths.size() == selected.size() &&
                       report->movedBytes == expectedBytes && report->failures.empty();
    std::printf("{\"sets\": %d, \"marked\": %zu, \"moved\": %zu, \"movedBytes\": %llu, "
                "\"failures\": %zu, \"seconds\": %.3f, \"microsecondsPerFile\": %.1f}\n",
                sets, selected.size(), report->movedPaths.size(),
                static_cast<unsigned long long>(report->movedBytes), report->failures.size(),
                seconds, seconds * 1e6 / double(selected.size()));
    return exact ? 0 : 1;
}
