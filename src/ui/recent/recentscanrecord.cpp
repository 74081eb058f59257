#include "recentscanrecord.h"

#include "fileurls.h"
#include "paths.h"

namespace twinsift {

RecentScanRecord::RecentScanRecord(QUuid id, QDateTime scannedAt, std::string folderPath,
                                   qint64 filesScanned, qint64 duplicateGroups,
                                   qint64 duplicateFiles, quint64 potentialSavings,
                                   qint64 ignoredSmallFiles, double elapsedSeconds)
    : m_id(id), m_scannedAt(std::move(scannedAt)), m_folderPath(std::move(folderPath)),
      m_filesScanned(filesScanned), m_duplicateGroups(duplicateGroups),
      m_duplicateFiles(duplicateFiles), m_potentialSavings(potentialSavings),
      m_ignoredSmallFiles(ignoredSmallFiles), m_elapsedSeconds(elapsedSeconds) {}

RecentScanRecord RecentScanRecord::fromResult(const DuplicateScanResult &result) {
    return RecentScanRecord(
        QUuid::createUuid(), QDateTime::currentDateTimeUtc(), paths::standardized(result.rootURL),
        result.filesScanned, static_cast<qint64>(result.groups.size()), result.duplicateFileCount(),
        result.reclaimableBytes(), result.ignoredSmallFiles, result.elapsedSeconds);
}

QString RecentScanRecord::idText() const {
    return m_id.toString(QUuid::WithoutBraces).toUpper();
}

QString RecentScanRecord::folderPathText() const {
    return QString::fromStdString(paths::displayText(m_folderPath));
}

QUrl RecentScanRecord::folderUrl() const {
    return fileurls::fromPath(m_folderPath);
}

} // namespace twinsift
