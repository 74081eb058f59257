#include "recentscanfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>
#include <QTimeZone>
#include <QUuid>

#include <cctype>
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

// QJsonValue keeps integers as signed 64-bit values and turns larger ones
// into doubles, which lose digits above 2^53. Such integers therefore travel
// through Qt's JSON as strings: a NUL, a tag made afresh for each file, a
// colon and the digits. No string in a file can carry the tag by chance.
class BigIntegers {
public:
    BigIntegers()
        : m_prefix(QStringLiteral("%1%2:").arg(QChar(0)).arg(
              QUuid::createUuid().toString(QUuid::Id128))) {}

    QJsonValue wrap(quint64 value) const { return m_prefix + QString::number(value); }

    // The value of a string made by wrap(), or of one that stands for a long
    // integer of the file (see markLongIntegers).
    std::optional<quint64> unwrap(const QJsonValue &value) const {
        const QString text = value.toString();
        if (!value.isString() || !text.startsWith(m_prefix))
            return std::nullopt;
        bool ok = false;
        const quint64 n = QStringView(text).mid(m_prefix.size()).toULongLong(&ok);
        return ok ? std::optional<quint64>(n) : std::nullopt;
    }

    // Every integer of 19 digits or more outside a string becomes a string
    // made by wrap(). Only plain integers qualify: a sign, fraction,
    // exponent or leading zero leaves the number to the JSON parser.
    QByteArray markLongIntegers(const QByteArray &json) const {
        const QByteArray prefix = escapedPrefix();
        QByteArray out;
        out.reserve(json.size());
        bool inString = false;
        for (qsizetype i = 0; i < json.size();) {
            const char c = json[i];
            if (inString) {
                out.append(c);
                if (c == '\\' && i + 1 < json.size())
                    out.append(json[++i]);
                else if (c == '"')
                    inString = false;
                ++i;
                continue;
            }
            if (c == '"')
                inString = true;
            if (!isNumberChar(c)) {
                out.append(c);
                ++i;
                continue;
            }
            qsizetype end = i;
            bool digitsOnly = true;
            for (; end < json.size() && isNumberChar(json[end]); ++end)
                digitsOnly = digitsOnly && std::isdigit(static_cast<unsigned char>(json[end]));
            const QByteArrayView number(json.constData() + i, end - i);
            if (digitsOnly && number.size() >= 19 && number.front() != '0')
                out.append('"').append(prefix).append(number).append('"');
            else
                out.append(number);
            i = end;
        }
        return out;
    }

    // Puts the integers that wrap() made back in place of their strings.
    QByteArray unmarkIntegers(const QByteArray &json) const {
        const QByteArray marker = '"' + escapedPrefix();
        QByteArray out;
        out.reserve(json.size());
        qsizetype from = 0;
        for (qsizetype at; (at = json.indexOf(marker, from)) >= 0;) {
            const qsizetype digits = at + marker.size();
            const qsizetype close = json.indexOf('"', digits);
            out.append(json.constData() + from, at - from);
            out.append(json.constData() + digits, close - digits);
            from = close + 1;
        }
        out.append(json.constData() + from, json.size() - from);
        return out;
    }

private:
    static bool isNumberChar(char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.' ||
               c == 'e' || c == 'E';
    }
    // The prefix as it stands inside a JSON string.
    QByteArray escapedPrefix() const { return "\\u0000" + m_prefix.mid(1).toLatin1(); }

    QString m_prefix;
};

// A JSON number without a fraction, within the range of T.
template <typename T> std::optional<T> integer(const QJsonValue &value, const BigIntegers &big) {
    if (const auto n = big.unwrap(value)) {
        if (*n > static_cast<quint64>(std::numeric_limits<T>::max()))
            return std::nullopt;
        return static_cast<T>(*n);
    }
    if (!value.isDouble())
        return std::nullopt;
    const QVariant v = value.toVariant();
    if (v.typeId() == QMetaType::LongLong) {
        const qint64 n = v.toLongLong();
        if (n < 0 && std::numeric_limits<T>::min() == 0)
            return std::nullopt;
        return static_cast<T>(n);
    }
    // Integers written with an exponent arrive as doubles.
    const double d = value.toDouble();
    if (std::trunc(d) != d || d < static_cast<double>(std::numeric_limits<T>::min()) ||
        d >= std::ldexp(1.0, std::numeric_limits<T>::digits))
        return std::nullopt;
    return static_cast<T>(d);
}

std::optional<RecentScanRecord> decodeRecord(const QJsonValue &element, const BigIntegers &big) {
    if (!element.isObject())
        return std::nullopt;
    const QJsonObject o = element.toObject();

    const auto filesScanned = integer<qint64>(o.value(kFilesScanned), big);
    const auto duplicateGroups = integer<qint64>(o.value(kDuplicateGroups), big);
    const auto duplicateFiles = integer<qint64>(o.value(kDuplicateFiles), big);
    const auto potentialSavings = integer<quint64>(o.value(kPotentialSavings), big);
    const auto ignoredSmallFiles = integer<qint64>(o.value(kIgnoredSmallFiles), big);
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
    const BigIntegers big;
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
        if (r.potentialSavings() <= static_cast<quint64>(std::numeric_limits<qint64>::max()))
            o.insert(kPotentialSavings, static_cast<qint64>(r.potentialSavings()));
        else
            o.insert(kPotentialSavings, big.wrap(r.potentialSavings()));
        array.append(o);
    }
    QByteArray bytes = big.unmarkIntegers(QJsonDocument(array).toJson(QJsonDocument::Indented));
    // Outside strings JSON has no "/", so every one of them is inside a
    // string and may be escaped.
    bytes.replace("/", "\\/");
    return bytes;
}

std::optional<QList<RecentScanRecord>> decode(const QByteArray &bytes) {
    const BigIntegers big;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(big.markLongIntegers(bytes), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QList<RecentScanRecord> records;
    const QJsonArray array = document.array();
    records.reserve(array.size());
    for (const QJsonValue &element : array) {
        auto record = decodeRecord(element, big);
        if (!record)
            return std::nullopt;
        records.append(std::move(*record));
    }
    return records;
}

} // namespace twinsift::recentscanfile
