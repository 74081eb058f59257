#include "readahead.h"

#include "platform/filereader.h"

#include <fcntl.h>
#include <unistd.h>

namespace twinsift {
namespace {

// The folder of the file being read, kept open while its files follow one
// another, so the kernel resolves each folder once instead of every file's
// whole path. When a folder cannot be opened the whole path is used, so the
// file's own open reports the real error.
class FolderHandle {
public:
    FolderHandle() = default;
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;
    ~FolderHandle() { close(); }

    // Opens path's file: its name relative to its folder where possible.
    int openFile(FileReader &reader, const std::string &path) {
        const auto slash = path.rfind('/');
        if (slash == std::string::npos)
            return reader.open(path);
        const std::string_view folder = slash == 0 ? "/" : std::string_view(path).substr(0, slash);
        if (m_fd < 0 || folder != m_path) {
            close();
            m_path.assign(folder);
            m_fd = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        }
        if (m_fd < 0)
            return reader.open(path);
        return reader.openAt(m_fd, path.c_str() + slash + 1);
    }

private:
    void close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_path.clear();
    }

    std::string m_path;
    int m_fd = -1;
};

} // namespace

ReadAhead::ReadAhead(std::size_t fileCount, std::function<const std::string &(std::size_t)> pathOf,
                     std::stop_token stop)
    : m_pathOf(std::move(pathOf)), m_ring(ringSize),
      m_onStop(stop, std::function<void()>([this] { requestStop(); })) {
    for (std::size_t i = 0; i < ringSize; ++i)
        m_buffers.emplace_back(new unsigned char[chunkSize]);
    m_reader = std::thread([this, fileCount] { readAll(fileCount); });
}

ReadAhead::~ReadAhead() {
    requestStop();
    m_reader.join();
}

void ReadAhead::requestStop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_readable.notify_all();
    m_writable.notify_all();
}

bool ReadAhead::waitForFreeSlot() {
    std::unique_lock lock(m_mutex);
    m_writable.wait(lock, [this] { return m_stopping || m_published - m_released < ringSize; });
    return !m_stopping;
}

void ReadAhead::publish(Chunk chunk) {
    {
        std::lock_guard lock(m_mutex);
        m_ring[m_published % ringSize] = chunk;
        ++m_published;
    }
    m_readable.notify_one();
}

void ReadAhead::readAll(std::size_t fileCount) {
    FolderHandle folder;
    for (std::size_t file = 0; file < fileCount; ++file) {
        FileReader reader;
        if (!waitForFreeSlot())
            return;
        if (const int error = folder.openFile(reader, m_pathOf(file)); error != 0) {
            publish({file, -1, error, nullptr});
            continue;
        }
        for (;;) {
            // The stop is seen before every read, so a stop costs at most
            // the read already under way.
            if (!waitForFreeSlot())
                return;
            unsigned char *buffer = m_buffers[m_published % ringSize].get();
            int error = 0;
            const ssize_t n = reader.read(buffer, chunkSize, &error);
            publish({file, n, error, buffer});
            if (n <= 0)
                break;
        }
    }
}

bool ReadAhead::next(Chunk &chunk) {
    std::unique_lock lock(m_mutex);
    m_readable.wait(lock, [this] { return m_stopping || m_published > m_released; });
    if (m_stopping)
        return false;
    chunk = m_ring[m_released % ringSize];
    return true;
}

void ReadAhead::release() {
    {
        std::lock_guard lock(m_mutex);
        ++m_released;
    }
    m_writable.notify_one();
}

} // namespace twinsift
