#include "sha256hasher.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

// One hasher for every file: a context not reset between files shows as a
// wrong digest.
TEST(Sha256, knownDigestsAroundTheChunkBoundary) {
    TempDir dir;
    writeFile(dir / "empty", "");
    writeFile(dir / "abc", "abc");
    writePattern(dir / "one-chunk", 1048576, 7);
    writePattern(dir / "chunk-plus-one", 1048577, 7);
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
              "c5da9a3a79ce56454a99468e78fe0ea40edcd5c13322f009319e08bafe9cdc82");
    EXPECT_EQ(digestOf(dir / "chunk-plus-one"),
              "dab00043110e892778cf5db4b00e48f1c2502592d15916afa04c4b8c7cfececb");
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
