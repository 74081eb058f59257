// twinsift-floor hash [--threads N] < PATHS   (paths ending each with a NUL)
// twinsift-floor stat DIR [--threads N]
//
// What a scan cannot do without, on this machine, with nothing else: read
// and SHA-256 the given files whole, or list a tree and read every entry's
// attributes, spread over N threads (default: one per core). A scanner that
// proves its sets by SHA-256 reads and digests at least every file of a set;
// one that keys remembered digests by size and times reads the attributes of
// every file. bench/compare sets our times beside these. Prints
// {"seconds": S, "files": N, "bytes": B}; the time leaves out reading the
// list.
#include <openssl/evp.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iostream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::atomic<std::uint64_t> files = 0, bytes = 0;

// As the scan reads: 1 MiB at a time into one buffer per thread.
void hashAll(const std::vector<std::string> &paths, std::atomic<std::size_t> &next) {
    std::vector<unsigned char> buffer(1 << 20);
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> md(EVP_MD_CTX_new(),
                                                                     &EVP_MD_CTX_free);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    for (std::size_t i; (i = next++) < paths.size();) {
        const int fd = ::open(paths[i].c_str(), O_RDONLY | O_CLOEXEC | O_NOATIME);
        if (fd < 0) {
            std::fprintf(stderr, "twinsift-floor: %s: %s\n", paths[i].c_str(),
                         std::strerror(errno));
            std::exit(1);
        }
        EVP_DigestInit_ex(md.get(), EVP_sha256(), nullptr);
        ssize_t n;
        while ((n = ::read(fd, buffer.data(), buffer.size())) > 0) {
            EVP_DigestUpdate(md.get(), buffer.data(), static_cast<std::size_t>(n));
            bytes += static_cast<std::uint64_t>(n);
        }
        EVP_DigestFinal_ex(md.get(), digest, &length);
        ::close(fd);
        ++files;
    }
}

// Folders wait here for whichever thread is free; the walk is over once
// none waits and none is being listed.
struct Folders {
    std::mutex mutex;
    std::condition_variable ready;
    std::vector<std::string> waiting;
    unsigned listing = 0;
};

void statAll(Folders &folders) {
    std::unique_lock lock(folders.mutex);
    for (;;) {
        folders.ready.wait(lock, [&] { return !folders.waiting.empty() || folders.listing == 0; });
        if (folders.waiting.empty())
            return;
        const std::string folder = std::move(folders.waiting.back());
        folders.waiting.pop_back();
        ++folders.listing;
        lock.unlock();
        std::vector<std::string> found;
        if (DIR *dir = ::opendir(folder.c_str())) {
            const int fd = ::dirfd(dir);
            while (const dirent *entry = ::readdir(dir)) {
                if (entry->d_name[0] == '.')
                    continue;
                struct stat st;
                if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                if (S_ISDIR(st.st_mode))
                    found.push_back(folder + "/" + entry->d_name);
                else
                    ++files;
            }
            ::closedir(dir);
        }
        lock.lock();
        --folders.listing;
        for (auto &f : found)
            folders.waiting.push_back(std::move(f));
        folders.ready.notify_all();
    }
}

int usage() {
    std::fputs("usage: twinsift-floor hash [--threads N] < PATHS\n"
               "       twinsift-floor stat DIR [--threads N]\n",
               stderr);
    return 64;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2)
        return usage();
    const std::string mode = argv[1];
    int i = 2;
    std::string root;
    if (mode == "stat") {
        if (argc < 3)
            return usage();
        root = argv[i++];
    } else if (mode != "hash") {
        return usage();
    }
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    if (i + 1 < argc && std::strcmp(argv[i], "--threads") == 0)
        threads = static_cast<unsigned>(std::max(1, std::atoi(argv[i + 1])));
    else if (i < argc)
        return usage();

    std::vector<std::string> paths;
    if (mode == "hash") {
        std::string all{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
        for (std::size_t from = 0, end; (end = all.find('\0', from)) != std::string::npos;
             from = end + 1)
            paths.emplace_back(all, from, end - from);
    }
    Folders folders;
    folders.waiting.push_back(root);
    std::atomic<std::size_t> next = 0;
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back([&] { mode == "hash" ? hashAll(paths, next) : statAll(folders); });
    for (auto &thread : pool)
        thread.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("{\"seconds\": %.6f, \"files\": %llu, \"bytes\": %llu}\n", seconds,
                static_cast<unsigned long long>(files.load()),
                static_cast<unsigned long long>(bytes.load()));
    return 0;
}
