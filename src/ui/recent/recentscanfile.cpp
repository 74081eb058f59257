#include "recentscanfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>
#include <QTimeZone>

#include <cmath>
#include <limits>

namespace twinsift::recentscanfile {

namespace {

const QString kDuplicateFiles = QStringLiteral("duplicateFiles");
const QString kDuplicateGroups = QStringLiteral("duplicateGroups");
const QString kElapsedSeconds = QStringLiteral("elapsedSeconds");
const QString kFilesScanned = QStringLiteral("filesScanned");
const QString kFolderPath = QStringLiteral("folderPath");
const QString kId = QStringLiteral("id");
const QString kIgnoredSmallFiles = QStringLiteral("ignoredSmallFiles");
const QString kPotentialSavings = QStringLiteral("potentialSavings");
const QString kScannedAt = QStringLiteral("scannedAt");

const QString dateFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'");

// Qt's ISO parser also takes fractions and offsets; the file holds neither.
const QRegularExpression &strictDate() {
    static const QRegularExpression re(
        QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$"));
    return re;
}

const QRegularExpression &uuidForm() {
    static const QRegularExpression re(QStringLiteral(
        "^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    return re;
}

// A JSON number without a fraction, within the range of T.
template <typename T> std::optional<T> integer(const QJsonValue &value) {
    if (!value.isDouble())
        return std::nullopt;
    const QVariant v = value.toVariant();
    if (v.typeId() == QMetaType::LongLong) {
        const qint64 n = v.toLongLong();
        if (n < 0 && std::numeric_limits<T>::min() == 0)
            return std::nullopt;
        return static_cast<T>(n);
    }
    // Integers beyond the signed 64-bit range arrive as doubles.
    const double d = value.toDouble();
    if (std::trunc(d) != d || d < static_cast<double>(std::numeric_limits<T>::min()) ||
        d >= std::ldexp(1.0, std::numeric_limits<T>::digits))
        return std::nullopt;
    return static_cast<T>(d);
}

std::optional<RecentScanRecord> decodeRecord(const QJsonValue &element) {
    if (!element.isObject())
        return std::nullopt;
    const QJsonObject o = element.toObject();

    const auto filesScanned = integer<qint64>(o.value(kFilesScanned));
    const auto duplicateGroups = integer<qint64>(o.value(kDuplicateGroups));
    const auto duplicateFiles = integer<qint64>(o.value(kDuplicateFiles));
    const auto potentialSavings = integer<quint64>(o.value(kPotentialSavings));
    const auto ignoredSmallFiles = integer<qint64>(o.value(kIgnoredSmallFiles));
    const QJsonValue elapsed = o.value(kElapsedSeconds);
    const QJsonValue folder = o.value(kFolderPath);
    const QJsonValue id = o.value(kId);
    const QJsonValue scannedAt = o.value(kScannedAt);
    if (!filesScanned || !duplicateGroups || !duplicateFiles || !potentialSavings ||
        !ignoredSmallFiles || !elapsed.isDouble() || !folder.isString() || !id.isString() ||
        !scannedAt.isString())
        return std::nullopt;

    const QString idText = id.toString();
    if (!uuidForm().match(idText).hasMatch())
        return std::nullopt;
    const QUuid uuid = QUuid::fromString(idText);

    const QString dateText = scannedAt.toString();
    if (!strictDate().match(dateText).hasMatch())
        return std::nullopt;
    QDateTime date = QDateTime::fromString(dateText, Qt::ISODate);
    if (!date.isValid())
        return std::nullopt;
    date = date.toUTC();

    return RecentScanRecord(uuid, date, folder.toString().toStdString(), *filesScanned,
                            *duplicateGroups, *duplicateFiles, *potentialSavings,
                            *ignoredSmallFiles, elapsed.toDouble());
}

} // namespace

QByteArray encode(const QList<RecentScanRecord> &records) {
    QJsonArray array;
    for (const auto &r : records) {
        // Paths that are not UTF-8 cannot be JSON text; they are written
        // with U+FFFD in place of each invalid sequence.
        const QString folder =
            QString::fromUtf8(r.folderPath().data(), static_cast<qsizetype>(r.folderPath().size()));
        QJsonObject o{
            {kDuplicateFiles, r.duplicateFiles()},
            {kDuplicateGroups, r.duplicateGroups()},
            {kElapsedSeconds, r.elapsedSeconds()},
            {kFilesScanned, r.filesScanned()},
            {kFolderPath, folder},
            {kId, r.idText()},
            {kIgnoredSmallFiles, r.ignoredSmallFiles()},
            {kScannedAt, r.scannedAt().toUTC().toString(dateFormat)},
        };
        // QJsonValue holds integers as signed 64-bit values; savings beyond
        // 8 EiB, which no disk comes near, could only be written as a double.
        if (r.potentialSavings() <= static_cast<quint64>(std::numeric_limits<qint64>::max()))
            o.insert(kPotentialSavings, static_cast<qint64>(r.potentialSavings()));
        else
            o.insert(kPotentialSavings, static_cast<double>(r.potentialSavings()));
        array.append(o);
    }
    QByteArray bytes = QJsonDocument(array).toJson(QJsonDocument::Indented);
    // Outside strings JSON has no "/", so every one of them is inside a
    // string and may be escaped.
    bytes.replace("/", "\\/");
    return bytes;
}

std::optional<QList<RecentScanRecord>> decode(const QByteArray &bytes) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QList<RecentScanRecord> records;
    const QJsonArray array = document.array();
    records.reserve(array.size());
    for (const QJsonValue &element : array) {
        auto record = decodeRecord(element);
        if (!record)
            return std::nullopt;
        records.append(std::move(*record));
    }
    return records;
}

} // namespace twinsift::recentscanfile
