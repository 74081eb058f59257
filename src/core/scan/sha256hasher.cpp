#include "sha256hasher.h"

#include "platform/filereader.h"

#include <openssl/evp.h>

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>

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

} // namespace

Sha256Hasher::Sha256Hasher() : m_context(EVP_MD_CTX_new()) {
    if (!m_context)
        throw std::bad_alloc();
    sha256Algorithm();
}

Sha256Hasher::~Sha256Hasher() {
    EVP_MD_CTX_free(m_context);
}

std::string Sha256Hasher::hex(const Sha256Digest &digest) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out(digest.size() * 2, '0');
    for (std::size_t i = 0; i < digest.size(); ++i) {
        out[2 * i] = digits[digest[i] >> 4];
        out[2 * i + 1] = digits[digest[i] & 0x0f];
    }
    return out;
}

bool Sha256Hasher::begin() {
    return EVP_DigestInit_ex2(m_context, sha256Algorithm(), nullptr) == 1;
}

void Sha256Hasher::update(const unsigned char *data, std::size_t length) {
    EVP_DigestUpdate(m_context, data, length);
}

bool Sha256Hasher::finish(Sha256Digest &digest) {
    unsigned length = 0;
    return EVP_DigestFinal_ex(m_context, digest.data(), &length) == 1 && length == digest.size();
}

HashOutcome Sha256Hasher::hashFile(const std::string &path, std::stop_token stop) {
    FileReader reader;
    if (const auto opened = reader.openAt(AT_FDCWD, path.c_str()); !opened) {
        HashOutcome outcome;
        outcome.error = opened.error();
        return outcome;
    }
    return hash(reader, std::move(stop));
}

HashOutcome Sha256Hasher::hash(FileReader &reader, std::stop_token stop) {
    using Status = HashOutcome::Status;
    HashOutcome outcome;
    const auto fail = [&outcome](int error) {
        outcome.status = Status::failed;
        outcome.error = error;
        return outcome;
    };
    if (!begin())
        return fail(EIO);
    // Only whole-file hashing reads; incremental users bring their own data.
    if (!m_buffer)
        m_buffer = std::make_unique<ReadBuffer>(chunkSize);
    for (;;) {
        if (stop.stop_requested()) {
            outcome.status = Status::cancelled;
            return outcome;
        }
        const auto n = reader.read(m_buffer->get(), chunkSize);
        if (!n)
            return fail(n.error());
        if (*n == 0)
            break;
        update(m_buffer->get(), *n);
    }
    Sha256Digest digest;
    if (!finish(digest))
        return fail(EIO);
    outcome.status = Status::ok;
    outcome.digest = hex(digest);
    return outcome;
}

} // namespace twinsift
