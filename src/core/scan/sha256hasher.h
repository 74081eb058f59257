#pragma once

#include <array>
#include <memory>
#include <stop_token>
#include <string>

struct evp_md_ctx_st;

namespace twinsift {
class FileReader;
class ReadBuffer;
} // namespace twinsift

namespace twinsift {

using Sha256Digest = std::array<unsigned char, 32>;

// The outcome of digesting one file.
struct HashOutcome {
    enum class Status { ok, failed, cancelled };
    Status status = Status::failed;
    std::string digest; // 64 lower-case hex characters when ok
    int error = 0;      // errno when failed
};

// SHA-256 of whole files, streamed in 1 MiB chunks through one reused buffer
// and one reused OpenSSL context. Not safe for concurrent use; make one per
// thread.
class Sha256Hasher {
public:
    static constexpr std::size_t chunkSize = 1024 * 1024;

    Sha256Hasher();
    ~Sha256Hasher();
    Sha256Hasher(const Sha256Hasher &) = delete;
    Sha256Hasher &operator=(const Sha256Hasher &) = delete;

    // Cancellation is checked before every read and after every update, so a
    // stop takes effect within one chunk.
    HashOutcome hashFile(const std::string &path, std::stop_token stop = {});
    // The rest of a file already open, so that the file checked is the file
    // digested.
    HashOutcome hash(FileReader &reader, std::stop_token stop = {});

    // Incremental use, for content that arrives in pieces.
    bool begin();
    void update(const unsigned char *data, std::size_t length);
    bool finish(Sha256Digest &digest);

    static std::string hex(const Sha256Digest &digest);

private:
    evp_md_ctx_st *m_context = nullptr;
    std::unique_ptr<ReadBuffer> m_buffer;
};

} // namespace twinsift
