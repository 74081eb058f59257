#include "scantexts.h"

namespace twinsift {

QString ScanTexts::minimumFileSizeLabel(DuplicateMinimumFileSize size) {
    switch (size.value()) {
    case DuplicateMinimumFileSize::oneKB:
        return tr("1 KB");
    case DuplicateMinimumFileSize::tenKB:
        return tr("10 KB");
    case DuplicateMinimumFileSize::oneHundredKB:
        return tr("100 KB");
    case DuplicateMinimumFileSize::oneMB:
        return tr("1 MB");
    case DuplicateMinimumFileSize::twentyFiveMB:
        return tr("25 MB+");
    case DuplicateMinimumFileSize::fiveHundredMB:
        return tr("500 MB+");
    case DuplicateMinimumFileSize::oneGB:
        return tr("1024 MB+");
    }
    return {};
}

QString ScanTexts::scanError(DuplicateScanError error) {
    switch (error) {
    case DuplicateScanError::folderUnavailable:
        return tr("The selected folder could not be accessed.");
    case DuplicateScanError::internalError:
        return tr("The scan stopped because of an internal error.");
    }
    return {};
}

QStringList ScanTexts::progressParts(const std::optional<DuplicateScanProgress> &progress,
                                     DuplicateMinimumFileSize minimumSize) {
    if (!progress)
        return {tr("Preparing scan\u2026")};
    const auto &p = *progress;
    const QString ignored =
        tr("%1 (under %2 ignored)").arg(p.ignoredSmallFiles).arg(minimumFileSizeLabel(minimumSize));
    if (p.phase == DuplicateScanPhase::enumerating)
        return {tr("Scanning files \u2014 %1 eligible").arg(p.filesScanned), ignored};
    if (p.candidateFiles != 0)
        return {tr("Verifying duplicates \u2014 %1 of %2 candidate files")
                    .arg(p.filesHashed)
                    .arg(p.candidateFiles),
                ignored};
    return {tr("No hash candidates"), ignored};
}

QString ScanTexts::progressLine(const QStringList &parts) {
    return parts.join(tr(" \u00b7 "));
}

} // namespace twinsift
