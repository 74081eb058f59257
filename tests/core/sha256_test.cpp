#include "sha256hasher.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
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

} // namespace

// One hasher for every file: a context not reset between files shows as a
// wrong digest.
TEST(Sha256, knownDigestsAroundTheChunkBoundary) {
    TempDir dir;
    writeFile(dir / "empty", "");
    writeFile(dir / "abc", "abc");
    writeFile(dir / "one-chunk", modPattern(1048576));
    writeFile(dir / "chunk-plus-one", modPattern(1048577));
    Sha256Hasher hasher;
    const auto digestOf = [&](const std::string &path) {
        const HashOutcome h = hasher.hashFile(path);
        EXPECT_EQ(h.status, HashOutcome::Status::ok) << path;
        return h.digest;
    };

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

TEST(Sha256, openFailuresPassTheErrorOn) {
    TempDir dir;
    Sha256Hasher hasher;
    const HashOutcome missing = hasher.hashFile(dir / "gone");
    EXPECT_EQ(missing.status, HashOutcome::Status::failed);
    EXPECT_EQ(missing.error, ENOENT);

    // A link is never read through, even when it replaced a file.
    writeFile(dir / "target", "content");
    ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
    EXPECT_EQ(hasher.hashFile(dir / "link").status, HashOutcome::Status::failed);

    // A FIFO would block a plain open; it must fail at once instead.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    EXPECT_EQ(hasher.hashFile(dir / "fifo").status, HashOutcome::Status::failed);
}
