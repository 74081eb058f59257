#pragma once

#include "duplicatescanresult.h"
#include "resultreview.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace twinsift {

// The controller's published result: either no result, or one completed
// scan. The scan result itself is shared read-only between copies, so
// handing it to QML or to the results screen never copies the file lists and
// nobody can change it.
class ScanResultValue {
    Q_GADGET
    QML_VALUE_TYPE(scanResultValue)
    Q_PROPERTY(bool hasValue READ hasValue CONSTANT)
    Q_PROPERTY(QString rootPath READ rootPath CONSTANT)
    Q_PROPERTY(qint64 filesScanned READ filesScanned CONSTANT)
    Q_PROPERTY(qint64 filesHashed READ filesHashed CONSTANT)
    Q_PROPERTY(qint64 skippedFiles READ skippedFiles CONSTANT)
    Q_PROPERTY(qint64 ignoredSmallFiles READ ignoredSmallFiles CONSTANT)
    Q_PROPERTY(qint64 groupCount READ groupCount CONSTANT)
    Q_PROPERTY(qint64 duplicateFileCount READ duplicateFileCount CONSTANT)
    Q_PROPERTY(quint64 reclaimableBytes READ reclaimableBytes CONSTANT)
    Q_PROPERTY(double elapsedSeconds READ elapsedSeconds CONSTANT)

public:
    ScanResultValue() = default;
    explicit ScanResultValue(DuplicateScanResult result);
    // With the review's groupings worked out beside the scan, so that the
    // results screen has its category counts for its first frame.
    ScanResultValue(DuplicateScanResult result, ResultReview::Groupings groupings);

    bool hasValue() const { return m_result != nullptr; }

    // The scan result; an empty one when there is none.
    const DuplicateScanResult &core() const;
    std::shared_ptr<const DuplicateScanResult> shared() const { return m_result; }
    // None when the result came without them.
    std::shared_ptr<const ResultReview::Groupings> groupings() const { return m_groupings; }

    // Display text of the scanned folder; never a path to act on.
    QString rootPath() const;
    qint64 filesScanned() const { return core().filesScanned; }
    qint64 filesHashed() const { return core().filesHashed; }
    qint64 skippedFiles() const { return core().skippedFiles; }
    qint64 ignoredSmallFiles() const { return core().ignoredSmallFiles; }
    qint64 groupCount() const { return static_cast<qint64>(core().groups.size()); }
    qint64 duplicateFileCount() const { return core().duplicateFileCount(); }
    quint64 reclaimableBytes() const { return core().reclaimableBytes(); }
    double elapsedSeconds() const { return core().elapsedSeconds; }

    // Two values are the same when they hold the same published result.
    friend bool operator==(const ScanResultValue &a, const ScanResultValue &b) {
        return a.m_result == b.m_result;
    }

private:
    std::shared_ptr<const DuplicateScanResult> m_result;
    std::shared_ptr<const ResultReview::Groupings> m_groupings;
};

} // namespace twinsift
