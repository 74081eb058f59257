#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace twinsift {

// A file's place among every copy of a result's exact sets: the copies of the
// first set in the set's order, then those of the second, and so on. Marks,
// protection answers and modification times are all kept by it, so a rule
// over tens of thousands of sets never hashes a path.
using FileId = std::uint32_t;

// One yes or no per file of a result's exact sets, a bit each: the KEEP/TRASH
// marks, and the copies of them that undo and the views compare against.
class FileMarks {
public:
    FileMarks() = default;
    explicit FileMarks(std::size_t files) : m_size(files), m_words((files + 63) / 64, 0) {}

    std::size_t size() const { return m_size; }
    std::size_t count() const { return m_count; }
    bool empty() const { return m_count == 0; }

    bool test(FileId id) const { return id < m_size && (m_words[id / 64] >> (id % 64)) & 1u; }
    void set(FileId id, bool marked) {
        if (id >= m_size || test(id) == marked)
            return;
        m_words[id / 64] ^= std::uint64_t{1} << (id % 64);
        if (marked)
            ++m_count;
        else
            --m_count;
    }
    void clear() {
        std::fill(m_words.begin(), m_words.end(), 0);
        m_count = 0;
    }

    // Calls visit(id) for every marked file, in order.
    template <typename Visit> void forEach(Visit visit) const {
        scan(visit, [](auto w, auto) { return w; });
    }
    // Calls visit(id) for every file whose mark differs from other's, in
    // order; other has the same size.
    template <typename Visit> void forEachDifference(const FileMarks &other, Visit visit) const {
        scan(visit, [&other](std::uint64_t w, std::size_t i) { return w ^ other.m_words[i]; });
    }

    friend bool operator==(const FileMarks &a, const FileMarks &b) {
        return a.m_size == b.m_size && a.m_count == b.m_count && a.m_words == b.m_words;
    }

private:
    template <typename Visit, typename Word> void scan(Visit &visit, Word word) const {
        for (std::size_t i = 0; i < m_words.size(); ++i)
            for (std::uint64_t w = word(m_words[i], i); w != 0; w &= w - 1)
                visit(static_cast<FileId>(i * 64 + static_cast<std::size_t>(std::countr_zero(w))));
    }

    std::size_t m_size = 0;
    std::size_t m_count = 0;
    std::vector<std::uint64_t> m_words;
};

} // namespace twinsift
