#include "trashinfo.h"

#include "trash.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace twinsift::Trash::detail {

namespace {

// name split before its extension: "photo.jpg" -> "photo", ".jpg". A leading
// dot starts no extension, and one too long to be an extension is none.
std::pair<std::string_view, std::string_view> stemAndExtension(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot > 16)
        return {name, {}};
    return {name.substr(0, dot), name.substr(dot)};
}

// Cuts text to at most limit bytes without splitting a UTF-8 sequence.
std::string_view cut(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80)
        --end;
    return text.substr(0, end);
}

} // namespace

std::string trashName(std::string_view name, unsigned attempt, std::size_t limit,
                      std::optional<std::mt19937_64> &random) {
    std::string tag;
    if (attempt > 0 && attempt < 9) {
        tag = "." + std::to_string(attempt + 1);
    } else if (attempt >= 9) {
        char hex[20];
        std::snprintf(hex, sizeof hex, ".%08llx",
                      static_cast<unsigned long long>((*random)() & 0xffffffffULL));
        tag = hex;
    }
    auto [stem, extension] = stemAndExtension(name);
    if (stem.size() + tag.size() + extension.size() > limit) {
        if (tag.size() + extension.size() >= limit)
            extension = {};
        stem = cut(stem, limit - tag.size() - extension.size());
    }
    std::string out(stem);
    out += tag;
    out += extension;
    return out;
}

std::string infoText(std::string_view path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    std::string text = "[Trash Info]\nPath=";
    text += percentEncoded(path);
    text += "\nDeletionDate=";
    text += date;
    text += "\n";
    return text;
}

int writeInfo(int info, const std::string &infoName, const std::string &text) {
    const int fd = ::openat(info, infoName.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    std::size_t written = 0;
    int error = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error && errno != EINTR)
        error = errno;
    if (error)
        ::unlinkat(info, infoName.c_str(), 0);
    return error;
}

} // namespace twinsift::Trash::detail
