// twinsift-bench scan DIR [--min-bytes N] [--rescan | --forget] [--workers N] [--one-at-a-time]
//
// Runs the scan engine with no window and prints one JSON object, so the
// bench scripts and the peer comparison can read exactly what the app would
// show. With --rescan the folder is scanned twice in this process, as the
// results screen does after a cleanup, and the second scan is printed, with
// the first one's time as firstScanSeconds. With --forget the scan keeps no
// digests for later scans, so that what the memory of digests costs shows as
// the difference in peak memory; rememberedDigests says how many it holds.
// --workers sets how many threads hash; --one-at-a-time reads files as on a
// spinning disk, one at a time after the walk. Neither changes the output
// except for the times.
#include "digestmemory.h"
#include "duplicatescanner.h"
#include "platform/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace twinsift;

namespace {

int usage() {
    std::fputs("usage: twinsift-bench scan DIR [--min-bytes N] [--rescan | --forget] "
               "[--workers N] [--one-at-a-time]\n",
               stderr);
    return 64;
}

QString text(const std::string &path) {
    return QString::fromStdString(paths::displayText(path));
}

void writeOut(const QByteArray &bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3 || std::strcmp(argv[1], "scan") != 0)
        return usage();
    std::string folder = argv[2];
    std::uint64_t minBytes = 1024;
    bool rescan = false;
    bool forget = false;
    HashingOptions hashing;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rescan") == 0) {
            rescan = true;
        } else if (std::strcmp(argv[i], "--forget") == 0) {
            forget = true;
        } else if (std::strcmp(argv[i], "--one-at-a-time") == 0) {
            hashing.oneFileAtATime = true;
        } else if (std::strcmp(argv[i], "--workers") == 0 && i + 1 < argc) {
            hashing.workers = static_cast<unsigned>(std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--min-bytes") == 0 && i + 1 < argc) {
            const char *value = argv[++i];
            const char *end = value + std::strlen(value);
            auto [ptr, ec] = std::from_chars(value, end, minBytes);
            if (ec != std::errc() || ptr != end || value == end) {
                std::fprintf(stderr, "twinsift-bench: --min-bytes needs a whole number, not '%s'\n",
                             value);
                return 64;
            }
        } else {
            return usage();
        }
    }

    std::int64_t reports = 0;
    double firstScanSeconds = 0;
    if (rescan) {
        const ScanOutcome first = DuplicateScanner::scanRemembering(
            folder, minBytes, [](const DuplicateScanProgress &) {}, {}, &DigestMemory::process(),
            hashing);
        if (const auto *done = std::get_if<DuplicateScanResult>(&first))
            firstScanSeconds = done->elapsedSeconds;
    }
    const ScanOutcome outcome = DuplicateScanner::scanRemembering(
        folder, minBytes, [&reports](const DuplicateScanProgress &) { ++reports; }, {},
        forget ? nullptr : &DigestMemory::process(), hashing);

    if (const auto *error = std::get_if<DuplicateScanError>(&outcome)) {
        const auto message = description(*error);
        std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
        return 2;
    }
    const auto &result = std::get<DuplicateScanResult>(outcome);

    // The groups are written one at a time, so the output never holds a
    // second copy of every duplicate path in memory.
    QJsonObject summary{
        {"rootURL", text(result.rootURL)},
        {"filesScanned", static_cast<qint64>(result.filesScanned)},
        {"filesHashed", static_cast<qint64>(result.filesHashed)},
        {"skippedFiles", static_cast<qint64>(result.skippedFiles)},
        {"ignoredSmallFiles", static_cast<qint64>(result.ignoredSmallFiles)},
        {"elapsedSeconds", result.elapsedSeconds},
        {"duplicateFileCount", static_cast<qint64>(result.duplicateFileCount())},
        {"reclaimableBytes", static_cast<qint64>(result.reclaimableBytes())},
        {"reports", static_cast<qint64>(reports)},
        {"rememberedDigests", static_cast<qint64>(DigestMemory::process().size())},
    };
    if (rescan)
        summary.insert("firstScanSeconds", firstScanSeconds);
    QByteArray head = QJsonDocument(summary).toJson(QJsonDocument::Indented);
    head.truncate(head.lastIndexOf('}'));
    head = head.trimmed();
    head.append(",\n    \"groups\": [");
    writeOut(head);
    bool first = true;
    for (const auto &group : result.groups) {
        QJsonArray files;
        for (const auto &file : group.files)
            files.append(text(file.url));
        const QJsonObject object{{"hash", QString::fromStdString(group.hash)},
                                 {"size", static_cast<qint64>(group.size)},
                                 {"files", files}};
        writeOut(first ? "\n        " : ",\n        ");
        writeOut(QJsonDocument(object).toJson(QJsonDocument::Compact));
        first = false;
    }
    writeOut("\n    ]\n}\n");
    return 0;
}
