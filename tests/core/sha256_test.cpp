#include "duplicatescanner.h"
#include "sha256hasher.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace twinsift;
using twinsift::testing::TempDir;
using twinsift::testing::writeFile;

namespace {

std::string modPattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>(i % 251);
    return s;
}

std::string digestOf(const std::string &path) {
    const HashOutcome h = DuplicateScanner::sha256(path);
    EXPECT_EQ(h.status, HashOutcome::Status::ok) << path;
    return h.digest;
}

int openDescriptors() {
    int n = 0;
    if (DIR *d = ::opendir("/proc/self/fd")) {
        while (::readdir(d))
            ++n;
        ::closedir(d);
    }
    return n;
}

} // namespace

TEST(Sha256, knownDigestsAroundTheChunkBoundary) {
    TempDir dir;
    writeFile(dir / "empty", "");
    writeFile(dir / "abc", "abc");
    writeFile(dir / "one-chunk", modPattern(1048576));
    writeFile(dir / "chunk-plus-one", modPattern(1048577));

    EXPECT_EQ(digestOf(dir / "empty"),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(digestOf(dir / "abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Checked against sha256sum. A pattern that does not repeat at the
    // chunk size catches a second chunk read from the wrong offset.
    EXPECT_EQ(digestOf(dir / "one-chunk"),
              "631b84027d6b9e52b539c4e8373622d23032dfadc64d60af87339c9037e4f769");
    EXPECT_EQ(digestOf(dir / "chunk-plus-one"),
              "5769f52bc3eef28afa39c6fc68cadb7d0bd69812ae3a3d71452f519ec3c7aa56");
}

TEST(Sha256, sameContentUnderOtherNamesGivesSameTextAndHasherIsReusable) {
    TempDir dir;
    writeFile(dir / "one.jpg", "same bytes");
    writeFile(dir / "two copy.jpg", "same bytes");
    writeFile(dir / "other.jpg", "diff bytes");
    Sha256Hasher hasher;
    const auto a = hasher.hashFile(dir / "one.jpg");
    const auto b = hasher.hashFile(dir / "two copy.jpg");
    const auto c = hasher.hashFile(dir / "other.jpg");
    EXPECT_EQ(a.digest, b.digest);
    EXPECT_NE(a.digest, c.digest);
    EXPECT_EQ(a.digest.size(), 64u);
}

TEST(Sha256, openFailuresPassTheErrorOn) {
    TempDir dir;
    const HashOutcome missing = DuplicateScanner::sha256(dir / "gone");
    EXPECT_EQ(missing.status, HashOutcome::Status::failed);
    EXPECT_EQ(missing.error, ENOENT);

    // A link is never read through, even when it replaced a file.
    writeFile(dir / "target", "content");
    ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
    EXPECT_EQ(DuplicateScanner::sha256(dir / "link").status, HashOutcome::Status::failed);

    // A FIFO would block a plain open; it must fail at once instead.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    EXPECT_EQ(DuplicateScanner::sha256(dir / "fifo").status, HashOutcome::Status::failed);
}

TEST(Sha256, stopRequestedBeforehandReadsNothing) {
    TempDir dir;
    writeFile(dir / "f", "x");
    std::stop_source source;
    source.request_stop();
    EXPECT_EQ(DuplicateScanner::sha256(dir / "f", source.get_token()).status,
              HashOutcome::Status::cancelled);
}

TEST(Sha256, stopDuringALargeFileEndsWithinAChunk) {
    TempDir dir;
    // A sparse 4 GiB file: reading it costs no disk, only hashing time,
    // which is well over a second at any realistic SHA-256 speed.
    const std::string big = dir / "big.bin";
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 4LL << 30), 0);
    ::close(fd);

    const int descriptorsBefore = openDescriptors();
    std::stop_source source;
    HashOutcome outcome;
    std::thread worker([&] { outcome = DuplicateScanner::sha256(big, source.get_token()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto stopAt = std::chrono::steady_clock::now();
    source.request_stop();
    worker.join();
    const auto lag = std::chrono::steady_clock::now() - stopAt;

    EXPECT_EQ(outcome.status, HashOutcome::Status::cancelled);
    EXPECT_TRUE(outcome.digest.empty());
    // One chunk is about a millisecond; allow a loaded machine plenty.
    EXPECT_LT(lag, std::chrono::milliseconds(500));
    EXPECT_EQ(openDescriptors(), descriptorsBefore) << "the file must be closed on cancellation";
}
