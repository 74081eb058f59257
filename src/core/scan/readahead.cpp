#include "readahead.h"

#include "platform/filereader.h"

#include <fcntl.h>
#include <unistd.h>

namespace twinsift {
namespace {

// A file worth starting in what is left of a buffer; with less room the
// buffer is handed over and the file starts in a fresh one.
constexpr std::size_t minimumRoom = 64 * 1024;
// Files that fail to open take no room; this bounds how many one buffer
// carries, so their pieces still reach the caller in good time.
constexpr std::size_t maximumPieces = 1024;

std::atomic<std::uint64_t> openedFiles = 0;

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

    Result<void> openFile(FileReader &reader, const std::string &path) {
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
    for (auto &slot : m_ring) {
        slot.buffer.reset(new unsigned char[bufferSize]);
        slot.pieces.reserve(maximumPieces);
    }
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

ReadAhead::Slot *ReadAhead::acquireSlot() {
    std::unique_lock lock(m_mutex);
    m_writable.wait(lock, [this] { return m_stopping || m_published - m_released < ringSize; });
    if (m_stopping)
        return nullptr;
    Slot *slot = &m_ring[m_published % ringSize];
    slot->pieces.clear();
    return slot;
}

void ReadAhead::publish() {
    {
        std::lock_guard lock(m_mutex);
        ++m_published;
    }
    m_readable.notify_one();
}

void ReadAhead::releaseSlot() {
    {
        std::lock_guard lock(m_mutex);
        ++m_released;
    }
    m_writable.notify_one();
}

void ReadAhead::readAll(std::size_t fileCount) {
    FolderHandle folder;
    Slot *slot = nullptr;
    std::size_t filled = 0;
    const auto handOver = [&] {
        publish();
        filled = 0;
        slot = acquireSlot();
        return slot != nullptr;
    };
    if (!(slot = acquireSlot()))
        return;

    for (std::size_t file = 0; file < fileCount; ++file) {
        if ((bufferSize - filled < minimumRoom || slot->pieces.size() >= maximumPieces) &&
            !handOver())
            return;
        FileReader reader;
        openedFiles.fetch_add(1, std::memory_order_relaxed);
        if (const auto opened = folder.openFile(reader, m_pathOf(file)); !opened) {
            slot->pieces.push_back({file, nullptr, 0, true, opened.error()});
            continue;
        }
        const auto startPiece = [&](unsigned char *data) {
            return &slot->pieces.emplace_back(
                Piece{file, data, 0, false, 0, reader.device(), reader.inode()});
        };
        Piece *piece = startPiece(slot->buffer.get() + filled);
        for (;;) {
            if (filled == bufferSize) {
                if (!handOver())
                    return;
                piece = startPiece(slot->buffer.get());
            }
            // The stop is seen before every read, so a stop costs at most
            // the read already under way.
            if (m_stopping.load(std::memory_order_relaxed))
                return;
            const auto n = reader.read(slot->buffer.get() + filled, bufferSize - filled);
            if (!n || *n == 0) {
                piece->last = true;
                piece->error = n ? 0 : n.error();
                break;
            }
            piece->length += *n;
            filled += *n;
        }
    }
    if (!slot->pieces.empty())
        publish();
}

std::uint64_t ReadAhead::filesOpened() {
    return openedFiles.load(std::memory_order_relaxed);
}

bool ReadAhead::next(Piece &piece) {
    if (m_holdingSlot && m_nextPiece == m_ring[m_released % ringSize].pieces.size()) {
        m_holdingSlot = false;
        releaseSlot();
    }
    if (!m_holdingSlot) {
        std::unique_lock lock(m_mutex);
        m_readable.wait(lock, [this] { return m_stopping || m_published > m_released; });
        if (m_stopping)
            return false;
        m_holdingSlot = true;
        m_nextPiece = 0;
    }
    piece = m_ring[m_released % ringSize].pieces[m_nextPiece++];
    return true;
}

} // namespace twinsift
