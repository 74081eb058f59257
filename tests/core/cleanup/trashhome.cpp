#include "trashhome.h"

#include "tempdir.h"

#include <cstdlib>

namespace twinsift::testing {
namespace {

std::string &homePath() {
    static std::string path;
    return path;
}

} // namespace

void TrashHome::SetUp() {
    homePath() = makeScratchHome();
    // Cleanup runs lock against each other in here, never in the host's.
    const std::string runtime = homePath() + "/run";
    makeDirs(runtime);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

void TrashHome::TearDown() {
    removeTree(homePath());
}

std::string TrashHome::trashFiles() {
    return homePath() + "/.local/share/Trash/files";
}

void TrashHome::emptyTrash() {
    removeTree(homePath() + "/.local/share/Trash");
}

} // namespace twinsift::testing
