#pragma once

#include "duplicatescanresult.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

#include <string>

namespace twinsift {

// One history entry: the summary numbers of one completed scan. Nothing
// about individual files is kept.
class RecentScanRecord {
    Q_GADGET
    QML_VALUE_TYPE(recentScanRecord)
    Q_PROPERTY(QString id READ idText CONSTANT)
    Q_PROPERTY(QDateTime scannedAt READ scannedAt CONSTANT)
    // Display text only; act on a folder through folderUrl.
    Q_PROPERTY(QString folderPath READ folderPathText CONSTANT)
    Q_PROPERTY(QUrl folderUrl READ folderUrl CONSTANT)
    Q_PROPERTY(qint64 filesScanned READ filesScanned CONSTANT)
    Q_PROPERTY(qint64 duplicateGroups READ duplicateGroups CONSTANT)
    Q_PROPERTY(qint64 duplicateFiles READ duplicateFiles CONSTANT)
    Q_PROPERTY(quint64 potentialSavings READ potentialSavings CONSTANT)
    Q_PROPERTY(qint64 ignoredSmallFiles READ ignoredSmallFiles CONSTANT)
    Q_PROPERTY(double elapsedSeconds READ elapsedSeconds CONSTANT)

public:
    RecentScanRecord() = default;
    RecentScanRecord(QUuid id, QDateTime scannedAt, std::string folderPath, qint64 filesScanned,
                     qint64 duplicateGroups, qint64 duplicateFiles, quint64 potentialSavings,
                     qint64 ignoredSmallFiles, double elapsedSeconds);

    // The entry for a finished scan, with a new identity and the time now.
    static RecentScanRecord fromResult(const DuplicateScanResult &result);

    QUuid id() const { return m_id; }
    // Upper-case canonical form without braces.
    QString idText() const;
    QDateTime scannedAt() const { return m_scannedAt; }
    // The standardised folder path, as bytes.
    const std::string &folderPath() const { return m_folderPath; }
    QString folderPathText() const;
    QUrl folderUrl() const;
    qint64 filesScanned() const { return m_filesScanned; }
    qint64 duplicateGroups() const { return m_duplicateGroups; }
    qint64 duplicateFiles() const { return m_duplicateFiles; }
    quint64 potentialSavings() const { return m_potentialSavings; }
    qint64 ignoredSmallFiles() const { return m_ignoredSmallFiles; }
    double elapsedSeconds() const { return m_elapsedSeconds; }

    friend bool operator==(const RecentScanRecord &, const RecentScanRecord &) = default;

private:
    QUuid m_id;
    QDateTime m_scannedAt;
    std::string m_folderPath;
    qint64 m_filesScanned = 0;
    qint64 m_duplicateGroups = 0;
    qint64 m_duplicateFiles = 0;
    quint64 m_potentialSavings = 0;
    qint64 m_ignoredSmallFiles = 0;
    double m_elapsedSeconds = 0;
};

} // namespace twinsift
