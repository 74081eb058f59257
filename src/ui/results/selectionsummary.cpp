#include "selectionsummary.h"

#include "bytetexts.h"

namespace twinsift {

SelectionSummary::SelectionSummary(const ResultReview &review, const ReviewProtection &protection,
                                   QObject *parent)
    : QObject(parent), m_review(review), m_protection(protection) {}

QString SelectionSummary::bytesText() const {
    return ByteTexts::bytes(m_bytes);
}

QString SelectionSummary::countText() const {
    return tr("%1 selected for Trash").arg(m_count);
}

QString SelectionSummary::bytesLabel() const {
    return tr("%1 selected").arg(bytesText());
}

QString SelectionSummary::reviewSummaryText() const {
    return tr("%n files · %1", nullptr, m_count).arg(bytesText());
}

void SelectionSummary::indexOrder() {
    if (m_orderOfFile.size() == m_review.fileCount())
        return;
    const auto &ids = m_review.duplicateFileIds();
    m_orderOfFile.assign(m_review.fileCount(), -1);
    for (std::size_t k = 0; k < ids.size(); ++k)
        m_orderOfFile[ids[k]] = static_cast<int>(k);
}

void SelectionSummary::recount() {
    m_count = 0;
    m_bytes = 0;
    // Without marks there is nothing to order, and the list of duplicates
    // need not be worked out here.
    if (!m_review.marks().empty()) {
        const auto &files = m_review.duplicateFiles();
        const auto &ids = m_review.duplicateFileIds();
        for (std::size_t k = 0; k < files.size(); ++k)
            if (isSelected(ids[k])) {
                ++m_count;
                m_bytes += files[k].size;
            }
    }
    showFiles();
}

void SelectionSummary::showFiles() {
    std::vector<int> places;
    if (m_count > 0) {
        places.reserve(static_cast<std::size_t>(m_count));
        const auto &ids = m_review.duplicateFileIds();
        for (std::size_t k = 0; k < ids.size(); ++k)
            if (isSelected(ids[k]))
                places.push_back(static_cast<int>(k));
    }
    auto list = places.empty() ? nullptr : m_review.sharedDuplicateFiles();
    m_files.setFiles(m_review.result().rootURL, std::move(list), std::move(places));
}

void SelectionSummary::follow(const std::vector<FileId> &changed) {
    indexOrder();
    const auto &files = m_review.duplicateFiles();
    std::vector<int> moved;
    for (const FileId id : changed) {
        const int order = id < m_orderOfFile.size() ? m_orderOfFile[id] : -1;
        // A protected file is never selected, whatever its mark says.
        if (order < 0 || m_protection.isProtectedPlace(id))
            continue;
        // Its mark flipped, and with it whether a cleanup would move it.
        const auto &file = files[static_cast<std::size_t>(order)];
        if (m_review.isMarked(id)) {
            ++m_count;
            m_bytes += file.size;
        } else {
            --m_count;
            m_bytes -= file.size;
        }
        moved.push_back(order);
    }
    // A few moves are told one by one; many at once as one new list, which
    // the view follows in a few runs.
    constexpr std::size_t oneByOne = 32;
    if (moved.size() <= oneByOne && m_files.lists(m_review.sharedDuplicateFiles())) {
        for (const int place : moved) {
            if (m_review.isMarked(m_review.duplicateFileIds()[static_cast<std::size_t>(place)]))
                m_files.addFile(place);
            else
                m_files.removeFile(place);
        }
        return;
    }
    showFiles();
}

} // namespace twinsift
