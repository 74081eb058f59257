#include "modalsheets.h"

namespace twinsift {

QList<QPointer<QQuickItem>> &ModalSheets::openSheets() {
    static QList<QPointer<QQuickItem>> sheets;
    return sheets;
}

void ModalSheets::opened(QQuickItem *sheet) {
    if (!sheet || openSheets().contains(sheet))
        return;
    openSheets().append(sheet);
    ++m_revision;
    emit changed();
}

void ModalSheets::closed(QQuickItem *sheet) {
    if (openSheets().removeAll(sheet) == 0)
        return;
    ++m_revision;
    emit changed();
}

bool ModalSheets::hidden(const QQuickItem *control) {
    if (!control || !control->window())
        return false;
    bool sheetInWindow = false;
    for (const QPointer<QQuickItem> &sheet : openSheets()) {
        if (!sheet || sheet->window() != control->window())
            continue;
        sheetInWindow = true;
        // The sheet, what it holds, and what holds it stay.
        if (sheet == control || sheet->isAncestorOf(control) || control->isAncestorOf(sheet))
            return false;
    }
    return sheetInWindow;
}

} // namespace twinsift
