// twinsift-bench scan DIR [--min-bytes N] [--rescan | --forget] [--workers N] [--one-at-a-time]
//                         [--disk-cache] [--report-times]
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
// except for the times. --disk-cache keeps digests on disk as the app does,
// under $XDG_CACHE_HOME/Ambrivo/Twinsift, and uses those kept by earlier
// runs. --report-times adds when reports came: firstVerifiedSeconds, from
// the start of the scan to the first verified file, and longestStallSeconds,
// the longest time without a report from the start of hashing to the end.
#include "digestcache.h"
#include "digestmemory.h"
#include "duplicatescanner.h"
#include "hashworkers.h"
#include "platform/paths.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace twinsift;

namespace {

int usage() {
    std::fputs("usage: twinsift-bench scan DIR [--min-bytes N] [--rescan | --forget] "
               "[--workers N] [--one-at-a-time] [--disk-cache] [--report-times]\n",
               stderr);
    return 64;
}

// The output is written here rather than through a JSON library: every
// timed run pays for what the process loads, and loading Qt's libraries
// added some 2 ms to each, more than a peer's whole run on an empty folder.
// The layout is the one Qt's indented writer gives, keys in order.
void put(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// A JSON string of the text shown for path.
void putPath(const std::string &path) {
    const std::string shown = paths::displayText(path);
    std::string out = "\"";
    for (const char c : shown) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    put(out);
}

template <typename Number> void putNumber(Number value) {
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    put({digits, static_cast<std::size_t>(end - digits)});
}

template <typename Number> void putField(const char *name, Number value) {
    put("    \"");
    put(name);
    put("\": ");
    putNumber(value);
    put(",\n");
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3 || std::strcmp(argv[1], "scan") != 0)
        return usage();
    std::string folder = argv[2];
    std::uint64_t minBytes = 1024;
    bool rescan = false;
    bool forget = false;
    bool reportTimes = false;
    HashingOptions hashing;
    const DigestCache diskCache(DigestCache::defaultFolder());
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rescan") == 0) {
            rescan = true;
        } else if (std::strcmp(argv[i], "--forget") == 0) {
            forget = true;
        } else if (std::strcmp(argv[i], "--disk-cache") == 0) {
            hashing.digestCache = &diskCache;
        } else if (std::strcmp(argv[i], "--report-times") == 0) {
            reportTimes = true;
        } else if (std::strcmp(argv[i], "--no-edge-checks") == 0) {
            // Reads every candidate whole, as scans did before the checks:
            // for comparing the two.
            HashWorkers::setChecksEdges(false);
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
    using Clock = std::chrono::steady_clock;
    // Each hashing report's time, taken on the scanning thread.
    std::vector<std::pair<Clock::time_point, std::int64_t>> hashingReports;
    const auto started = Clock::now();
    const ScanOutcome outcome = DuplicateScanner::scanRemembering(
        folder, minBytes,
        [&](const DuplicateScanProgress &p) {
            ++reports;
            if (reportTimes && p.phase == DuplicateScanPhase::hashing)
                hashingReports.emplace_back(Clock::now(), p.filesHashed);
        },
        {}, forget ? nullptr : &DigestMemory::process(), hashing);
    const auto ended = Clock::now();

    if (const auto *error = std::get_if<DuplicateScanError>(&outcome)) {
        std::fprintf(stderr, "%s\n",
                     *error == DuplicateScanError::folderUnavailable
                         ? "the folder could not be scanned"
                         : "the scan stopped because of an internal error");
        return 2;
    }
    const auto &result = std::get<DuplicateScanResult>(outcome);

    // The groups are written one at a time, so the output never holds a
    // second copy of every duplicate path in memory.
    put("{\n");
    putField("duplicateFileCount", result.duplicateFileCount());
    putField("elapsedSeconds", result.elapsedSeconds);
    putField("filesHashed", result.filesHashed);
    putField("filesScanned", result.filesScanned);
    if (reportTimes) {
        const auto seconds = [](Clock::duration d) {
            return std::chrono::duration<double>(d).count();
        };
        double first = -1, stall = 0, stallStart = 0;
        std::int64_t stallAfter = 0;
        for (std::size_t i = 0; i < hashingReports.size(); ++i) {
            if (first < 0 && hashingReports[i].second > 0)
                first = seconds(hashingReports[i].first - started);
            const auto next = i + 1 < hashingReports.size() ? hashingReports[i + 1].first : ended;
            if (seconds(next - hashingReports[i].first) > stall) {
                stall = seconds(next - hashingReports[i].first);
                stallStart = seconds(hashingReports[i].first - started);
                stallAfter = hashingReports[i].second;
            }
        }
        putField("longestStallAfterFiles", stallAfter);
        putField("longestStallStartSeconds", stallStart);
        putField("firstVerifiedSeconds", first);
        putField("hashingStartSeconds",
                 hashingReports.empty() ? -1.0 : seconds(hashingReports.front().first - started));
        putField("longestStallSeconds", stall);
    }
    if (rescan)
        putField("firstScanSeconds", firstScanSeconds);
    putField("ignoredSmallFiles", result.ignoredSmallFiles);
    putField("reclaimableBytes", result.reclaimableBytes());
    putField("rememberedDigests", DigestMemory::process().size());
    putField("reports", reports);
    put("    \"rootURL\": ");
    putPath(result.rootURL);
    put(",\n");
    putField("skippedFiles", result.skippedFiles);
    put("    \"groups\": [");
    bool first = true;
    for (const auto &group : result.groups) {
        put(first ? "\n        {\"files\":[" : ",\n        {\"files\":[");
        for (std::size_t i = 0; i < group.files.size(); ++i) {
            if (i)
                put(",");
            putPath(group.files[i].url);
        }
        put("],\"hash\":\"");
        put(group.hash);
        put("\",\"size\":");
        putNumber(group.size);
        put("}");
        first = false;
    }
    put("\n    ]\n}\n");
    return 0;
}
