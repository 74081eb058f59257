#include "sha256hasher.h"

#include "platform/filereader.h"

#include <openssl/evp.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

namespace twinsift {
namespace {

// Fetched once per process: EVP_sha256() would look the implementation up
// again for every file.
const EVP_MD *sha256Algorithm() {
    static EVP_MD *md = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    if (!md)
        throw std::runtime_error("OpenSSL has no SHA-256");
    return md;
}

std::string hex(const unsigned char *bytes, unsigned length) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out(length * 2, '0');
    for (unsigned i = 0; i < length; ++i) {
        out[2 * i] = digits[bytes[i] >> 4];
        out[2 * i + 1] = digits[bytes[i] & 0x0f];
    }
    return out;
}

} // namespace

Sha256Hasher::Sha256Hasher()
    : m_context(EVP_MD_CTX_new()), m_buffer(new unsigned char[chunkSize]) {
    if (!m_context)
        throw std::bad_alloc();
    sha256Algorithm();
}

Sha256Hasher::~Sha256Hasher() { EVP_MD_CTX_free(m_context); }

HashOutcome Sha256Hasher::hashFile(const std::string &path, std::stop_token stop) {
    HashOutcome outcome;
    FileReader reader;
    if (const int error = reader.open(path); error != 0) {
        outcome.error = error;
        return outcome;
    }
    if (EVP_DigestInit_ex2(m_context, sha256Algorithm(), nullptr) != 1) {
        outcome.error = EIO;
        return outcome;
    }
    for (;;) {
        if (stop.stop_requested()) {
            outcome.status = HashOutcome::Status::cancelled;
            return outcome;
        }
        int error = 0;
        const ssize_t n = reader.read(m_buffer.get(), chunkSize, &error);
        if (n < 0) {
            outcome.error = error;
            return outcome;
        }
        if (n == 0)
            break;
        EVP_DigestUpdate(m_context, m_buffer.get(), static_cast<std::size_t>(n));
        if (stop.stop_requested()) {
            outcome.status = HashOutcome::Status::cancelled;
            return outcome;
        }
        // A scan runs on its own worker; yielding lets a busy machine's other
        // threads, the interface among them, in between large chunks.
        std::this_thread::yield();
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    if (EVP_DigestFinal_ex(m_context, digest, &length) != 1) {
        outcome.error = EIO;
        return outcome;
    }
    outcome.status = HashOutcome::Status::ok;
    outcome.digest = hex(digest, length);
    return outcome;
}

} // namespace twinsift
