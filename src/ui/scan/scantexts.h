#pragma once

#include "duplicateminimumfilesize.h"
#include "duplicatescanerror.h"
#include "duplicatescanprogress.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

namespace twinsift {

// Every word the scan controls show, chosen from the engine's values.
class ScanTexts {
    Q_DECLARE_TR_FUNCTIONS(ScanTexts)

public:
    // The setting as offered: "1 KB", "25 MB+".
    static QString minimumFileSizeLabel(DuplicateMinimumFileSize size);
    static QString scanError(DuplicateScanError error);

    // The progress line in its parts: what the scan is doing, then how many
    // small files it passed over. One part only before the first report.
    static QStringList progressParts(const std::optional<DuplicateScanProgress> &progress,
                                     DuplicateMinimumFileSize minimumSize);
    // The parts as one line, for the screen reader and the results view.
    static QString progressLine(const QStringList &parts);
};

} // namespace twinsift
