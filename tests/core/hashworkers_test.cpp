#include "duplicatescanner.h"
#include "hashworkers.h"
#include "platform/filereader.h"
#include "platform/spinningdisk.h"
#include "scanrecorder.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

constexpr std::size_t chunk = HashWorkers::chunkSize;

// Everything a caller can observe of one scan, and whether the progress
// callback ever ran off the calling thread or twice at once.
struct Observed : ScanRecorder {
    bool oneThreadAtATime = true;

    Observed(const std::string &folder, const HashingOptions &options) {
        const auto caller = std::this_thread::get_id();
        std::atomic<int> inside = 0;
        onReport = [&](const DuplicateScanProgress &) {
            oneThreadAtATime &= inside++ == 0 && std::this_thread::get_id() == caller;
            --inside;
        };
        runRemembering(folder, nullptr, options);
        onReport = nullptr;
        std::get<DuplicateScanResult>(outcome).elapsedSeconds = 0;
    }
};

// Writes the files out and drops them from the page cache, so that workers
// find their data missing and read ahead. Only a few: once written out,
// every deleted file costs the disk a discard.
void dropFromPageCache(const std::vector<std::string> &paths) {
    for (const auto &path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << path;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

} // namespace

// Hashing on many workers, started during the walk, gives what reading one
// file at a time after the walk gives: the same groups in the same order,
// the same counts and the very same sequence of reports, all sent from the
// scanning thread. The tree holds hard links, links, hidden and package
// folders, odd names, files that straddle the 1 MiB chunk, a file whose read
// fails half-way, and two thousand small files in many folders.
TEST(ParallelHashing, manyWorkersGiveWhatOneFileAtATimeGives) {
    TempDir dir;
    // Five copies each of 400 contents, four contents to a size.
    for (int i = 0; i < 2000; ++i)
        writePattern(dir / ("d" + std::to_string(i % 40) + "/f" + std::to_string(i) + ".dat"),
                     1024 + static_cast<std::uint64_t>(i % 100) * 61,
                     static_cast<std::uint32_t>(i % 400));
    for (const std::uint64_t size : {chunk - 1, chunk, chunk + 1, 3 * chunk + 5})
        for (const char *copy : {"big/a-", "big/b-", "Big/c-"})
            writePattern(dir / (copy + std::to_string(size)), size, size == chunk ? 1 : 2);
    writePattern(dir / "big/odd-3145733", 3 * chunk + 5, 3);
    ASSERT_EQ(::link((dir / "d1/f1.dat").c_str(), (dir / "d2/linked").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "d3/f3.dat").c_str(), (dir / "d3/symlink").c_str()), 0);
    writePattern(dir / ".hidden/f0.dat", 1024, 0);
    writePattern(dir / "Photos.photoslibrary/f0.dat", 1024, 0);
    writePattern(dir / "caf\xc3\xa9 \xff\xfe/f0 copy.dat", 1024, 0);
    writePattern(dir / "breaks-half-way", 2 * chunk, 9);
    writePattern(dir / "breaks-copy", 2 * chunk, 9);
    FileReader::failReadsOf("breaks-half-way", chunk + 10, EIO);

    const Observed one(dir.path(), {1, true});
    FileReader::failReadsOf("breaks-half-way", chunk + 10, EIO);
    const Observed many(dir.path(), {4, false});
    FileReader::failReadsOf("", 0, 0);

    EXPECT_EQ(one.result(), many.result());
    EXPECT_EQ(one.reports, many.reports);
    EXPECT_TRUE(one.oneThreadAtATime && many.oneThreadAtATime);
    EXPECT_EQ(many.result().skippedFiles, 1);
    EXPECT_EQ(many.result().filesHashed, 2000 + 13 + 3);
    EXPECT_EQ(many.result().groups.size(), 400u + 4);
}

// The workers on their own: small and large files mixed in one batch, some
// started early and some listed at the end, files around the chunk size,
// far more unopenable names than the workers keep open, a file that breaks
// half-way, one of another size than expected, and a folder, none of them in
// the page cache. Each job comes back exactly once, with the digest a plain
// read gives.
TEST(ParallelHashing, everyJobComesBackOnceWithItsDigestOrItsFailure) {
    TempDir dir;
    struct Expect {
        std::string path;
        std::uint64_t size;
        bool ok;
    };
    std::vector<Expect> jobs;
    std::vector<std::string> written;
    for (const std::uint64_t size : {std::uint64_t{1}, std::uint64_t{4000}, chunk - 1, chunk,
                                     chunk + 1, 2 * chunk + 7, std::uint64_t{70000}}) {
        const auto path = dir / ("f" + std::to_string(size));
        writePattern(path, size, static_cast<std::uint32_t>(size));
        jobs.push_back({path, size, true});
        written.push_back(path);
    }
    for (int i = 0; i < 100; ++i)
        jobs.push_back({dir / ("missing-" + std::to_string(i)), 10, false});
    writePattern(dir / "breaks", 3 * chunk, 5);
    written.push_back(dir / "breaks");
    dropFromPageCache(written);
    jobs.push_back({dir / "breaks", 3 * chunk, false});
    jobs.push_back({dir / "f4000", 3999, false});
    makeDirs(dir / "folder");
    jobs.push_back({dir / "folder", 4096, false});

    FileReader::failReadsOf("breaks", chunk + chunk / 2, EIO);
    std::map<std::uint32_t, HashWorkers::Done> done;
    {
        HashWorkers workers({3, 4}, {});
        std::vector<std::uint32_t> parallel, serial;
        std::vector<HashWorkers::Job> early;
        for (std::uint32_t id = 0; id < jobs.size(); ++id) {
            if (id % 3 == 0)
                early.push_back({id, jobs[id].size, false, 0, 0, jobs[id].path});
            else
                (id % 3 == 1 ? parallel : serial).push_back(id);
        }
        workers.add(early);
        workers.finish(parallel, serial, [&](std::uint32_t id, HashWorkers::Job &job) {
            job.size = jobs[id].size;
            job.path = jobs[id].path;
        });
        std::vector<HashWorkers::Done> batch;
        while (done.size() < jobs.size() && workers.take(batch, 1)) {
            for (const auto &d : batch)
                EXPECT_TRUE(done.emplace(d.id, d).second) << "twice: " << jobs[d.id].path;
            batch.clear();
        }
    }
    FileReader::failReadsOf("", 0, 0);
    ASSERT_EQ(done.size(), jobs.size());
    for (const auto &[id, d] : done) {
        EXPECT_EQ(d.ok(), jobs[id].ok) << jobs[id].path;
        if (d.ok()) {
            EXPECT_EQ(Sha256Hasher::hex(d.digest), Sha256Hasher().hashFile(jobs[id].path).digest);
        }
    }
}

// A disk spins when its queue says so, a partition when its disk does, a
// mapped device when a disk below it does; virtual disks never do, whatever
// they claim, and neither does a filesystem without a block device.
TEST(ParallelHashing, onlyRealSpinningDisksAreReadOneFileAtATime) {
    TempDir sys;
    const auto disk = [&](const std::string &name, const char *rotational, const char *driver,
                          const char *model) {
        const auto at = sys / ("devices/" + name);
        writeFile(at + "/queue/rotational", std::string(rotational) + "\n");
        writeFile(at + "/device/model", std::string(model) + "\n");
        makeDirs(sys / ("bus/drivers/" + std::string(driver)));
        EXPECT_EQ(::symlink((sys / ("bus/drivers/" + std::string(driver))).c_str(),
                            (at + "/device/driver").c_str()),
                  0);
        return at;
    };
    const auto link = [&](const std::string &target, const std::string &name) {
        makeDirs(sys / "dev/block");
        makeDirs(sys / "class/block");
        EXPECT_EQ(::symlink(target.c_str(), (sys / ("dev/block/" + name)).c_str()), 0);
    };
    const auto sda = disk("sda", "1", "sd", "ST2000DM008-2FR1");
    writeFile(sda + "/sda1/partition", "1\n");
    link(sda + "/sda1", "8:1");
    ASSERT_EQ(::symlink((sda + "/sda1").c_str(), (sys / "class/block/sda1").c_str()), 0);
    link(disk("sdb", "0", "sd", "Samsung SSD 870"), "8:16");
    link(disk("vda", "1", "virtio_blk", ""), "254:0");
    link(disk("sdc", "1", "sd", "QEMU HARDDISK"), "8:32");
    const auto dm = sys / "devices/dm-0";
    writeFile(dm + "/queue/rotational", "0\n");
    makeDirs(dm + "/slaves/sda1");
    link(dm, "253:0");

    EXPECT_TRUE(isSpinningDisk(makedev(8, 1), sys.path()));
    EXPECT_TRUE(isSpinningDisk(makedev(253, 0), sys.path()));
    EXPECT_FALSE(isSpinningDisk(makedev(8, 16), sys.path()));
    EXPECT_FALSE(isSpinningDisk(makedev(254, 0), sys.path()));
    EXPECT_FALSE(isSpinningDisk(makedev(8, 32), sys.path()));
    EXPECT_FALSE(isSpinningDisk(makedev(0, 45), sys.path()));
    EXPECT_FALSE(isSpinningDisk(makedev(9, 9), sys.path()));
}
