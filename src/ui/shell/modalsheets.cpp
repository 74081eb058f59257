#include "modalsheets.h"

namespace twinsift {

void ModalSheets::opened(QQuickItem *sheet) {
    if (!sheet || m_open.contains(sheet))
        return;
    m_open.append(sheet);
    ++m_revision;
    emit changed();
}

void ModalSheets::closed(QQuickItem *sheet) {
    if (m_open.removeAll(sheet) == 0)
        return;
    ++m_revision;
    emit changed();
}

bool ModalSheets::hides(QQuickItem *control) const {
    if (!control || !control->window())
        return false;
    bool sheetInWindow = false;
    for (const QPointer<QQuickItem> &sheet : m_open) {
        if (!sheet || sheet->window() != control->window())
            continue;
        sheetInWindow = true;
        if (sheet == control || sheet->isAncestorOf(control))
            return false;
    }
    return sheetInWindow;
}

} // namespace twinsift
