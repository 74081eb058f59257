#include "reviewmarks.h"

#include <utility>

namespace twinsift {

ReviewMarks::ReviewMarks(const ResultIndex &index, std::function<bool(FileId)> isProtected)
    : m_index(index), m_isProtected(std::move(isProtected)), m_marks(index.fileCount()) {
    m_committed.marks = m_reported = m_marks;
}

bool ReviewMarks::isMarked(const DuplicateFile &file) const {
    if (const auto id = m_index.fileIdOf(file.url))
        return m_marks.test(*id);
    return m_elsewhere.contains(file.url);
}

const std::set<std::string> &ReviewMarks::paths() const {
    if (!m_paths) {
        m_paths = m_elsewhere;
        m_marks.forEach([this](FileId id) { m_paths->insert(m_index.file(id).url); });
    }
    return *m_paths;
}

std::vector<std::string> ReviewMarks::takeForNewResult() const {
    std::vector<std::string> marked(m_elsewhere.begin(), m_elsewhere.end());
    m_marks.forEach([&](FileId id) { marked.push_back(m_index.file(id).url); });
    return marked;
}

void ReviewMarks::rebase(std::vector<std::string> marked) {
    m_history.clear();
    m_marks = FileMarks(m_index.fileCount());
    m_elsewhere.clear();
    for (auto &path : marked) {
        if (const auto id = m_index.fileIdOf(path))
            m_marks.set(*id, true);
        else
            m_elsewhere.insert(std::move(path));
    }
    m_committed = {m_marks, m_elsewhere};
    m_reported = m_marks;
    changed();
}

void ReviewMarks::clear() {
    m_marks.clear();
    m_elsewhere.clear();
}

bool ReviewMarks::commit() {
    const bool swept = sweepProtected();
    changed();
    // A change the sweep took straight back changed nothing: no step.
    if (m_marks == m_committed.marks && m_elsewhere == m_committed.elsewhere)
        return swept;
    m_history.record(std::exchange(m_committed, {m_marks, m_elsewhere}));
    return swept;
}

bool ReviewMarks::undo() {
    auto step = m_history.takeNewest();
    if (!step)
        return false;
    m_marks = std::move(step->marks);
    m_elsewhere = std::move(step->elsewhere);
    const bool swept = sweepProtected();
    // What the sweep takes away now is not a step of its own.
    m_committed = {m_marks, m_elsewhere};
    changed();
    return swept;
}

bool ReviewMarks::sweepProtected() {
    std::vector<FileId> protectedFiles;
    m_marks.forEach([&](FileId id) {
        if (m_isProtected(id))
            protectedFiles.push_back(id);
    });
    for (const FileId id : protectedFiles)
        m_marks.set(id, false);
    return !protectedFiles.empty();
}

std::vector<FileId> ReviewMarks::takeChanges() {
    std::vector<FileId> changes;
    m_marks.forEachDifference(m_reported, [&](FileId id) { changes.push_back(id); });
    m_reported = m_marks;
    return changes;
}

} // namespace twinsift
