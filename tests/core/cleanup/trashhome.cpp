#include "trashhome.h"

#include "tempdir.h"

#include <glib.h>

#include <cstdlib>
#include <stdexcept>

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

std::optional<std::string> TrashHome::originalPathOf(const std::string &name) {
    std::string info;
    try {
        info = readFile(homePath() + "/.local/share/Trash/info/" + name + ".trashinfo");
    } catch (const std::runtime_error &) {
        return std::nullopt;
    }
    static constexpr std::string_view key = "\nPath=";
    const auto at = info.find(key);
    if (info.rfind("[Trash Info]\n", 0) != 0 || at == std::string::npos)
        return std::nullopt;
    const auto start = at + key.size();
    const std::string escaped = info.substr(start, info.find('\n', start) - start);
    char *raw = g_uri_unescape_string(escaped.c_str(), nullptr);
    if (!raw)
        return std::nullopt;
    std::string path(raw);
    g_free(raw);
    return path;
}

} // namespace twinsift::testing
