#include "paths.h"

#include <unicode/unistr.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace twinsift::paths {

namespace {

std::string currentFolder() {
    std::vector<char> buf(PATH_MAX);
    for (;;) {
        if (::getcwd(buf.data(), buf.size()))
            return buf.data();
        if (errno != ERANGE)
            return "/";
        buf.resize(buf.size() * 2);
    }
}

} // namespace

std::string standardized(std::string_view path) {
    std::string absolute;
    if (path.empty() || path.front() != '/') {
        absolute = currentFolder();
        absolute.push_back('/');
    }
    absolute.append(path);

    std::vector<std::string_view> parts;
    std::string_view rest = absolute;
    while (!rest.empty()) {
        const auto slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    if (parts.empty())
        return "/";
    std::string out;
    for (auto part : parts) {
        out.push_back('/');
        out.append(part);
    }
    return out;
}

std::string resolvingSymlinks(std::string_view path) {
    const std::string standard = standardized(path);
    // Walk back to the longest prefix that exists, resolve it, re-append the rest.
    std::string prefix = standard;
    std::string suffix;
    for (;;) {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(prefix.c_str(), nullptr),
                                                         &std::free);
        if (real) {
            std::string out = real.get();
            if (!suffix.empty()) {
                if (out != "/")
                    out.push_back('/');
                out.append(suffix);
            }
            return out;
        }
        if (prefix == "/")
            return standard;
        const auto slash = prefix.rfind('/');
        const std::string last = prefix.substr(slash + 1);
        suffix = suffix.empty() ? last : last + "/" + suffix;
        prefix = slash == 0 ? std::string("/") : prefix.substr(0, slash);
    }
}

std::string homeDirectory() {
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::string dataHome() {
    if (const char *data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        return data;
    return appending(homeDirectory(), ".local/share");
}

std::string appDataHome() {
    return appending(dataHome(), "Ambrivo/Twinsift");
}

void makeFolders(const std::string &folder, unsigned mode) {
    for (std::size_t slash = 1; slash != std::string::npos;) {
        slash = folder.find('/', slash + 1);
        ::mkdir(folder.substr(0, slash).c_str(), static_cast<mode_t>(mode));
    }
}

std::string_view lastComponent(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos || path == "/")
        return path;
    return path.substr(slash + 1);
}

std::string parent(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return ".";
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

std::string appending(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (out.empty() || out.back() != '/')
        out.push_back('/');
    out.append(name);
    return out;
}

std::string displayText(std::string_view path) {
    std::string out;
    icu::UnicodeString::fromUTF8(icu::StringPiece(path.data(), static_cast<int32_t>(path.size())))
        .toUTF8String(out);
    return out;
}

} // namespace twinsift::paths
