#include "cleanupjournal.h"

#include "paths.h"
#include "safemove.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSaveFile>

#include <cstring>
#include <mutex>

namespace twinsift::CleanupJournal {

namespace {

Q_LOGGING_CATEGORY(lcJournal, "twinsift.cleanup", QtInfoMsg)

constexpr int formatVersion = 1;

// One writer or reader at a time: a restore rewrites what a cleanup wrote.
std::mutex &journalMutex() {
    static std::mutex mutex;
    return mutex;
}

// Path bytes are not text: they travel as base64.
QString bytes(const std::string &value) {
    return QString::fromLatin1(
        QByteArray(value.data(), static_cast<qsizetype>(value.size())).toBase64());
}

std::optional<std::string> fromBytes(const QJsonValue &value) {
    if (!value.isString())
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(value.toString().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return decoded.decoded.toStdString();
}

// 64-bit numbers travel as decimal text: a JSON number is a double.
template <typename T> std::optional<T> number(const QJsonValue &value) {
    bool ok = false;
    const qulonglong n = value.toString().toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    return static_cast<T>(n);
}

std::optional<Trash::Entry> entryFrom(const QJsonObject &o) {
    const auto original = fromBytes(o.value("originalPath"));
    const auto folder = fromBytes(o.value("trashFolder"));
    const auto name = fromBytes(o.value("trashName"));
    const auto device = number<dev_t>(o.value("device"));
    const auto inode = number<ino_t>(o.value("inode"));
    const auto size = number<std::uint64_t>(o.value("size"));
    bool secondsOk = false;
    const qlonglong seconds = o.value("modificationSeconds").toString().toLongLong(&secondsOk);
    const QJsonValue nanoseconds = o.value("modificationNanoseconds");
    if (!original || !folder || !name || !device || !inode || !size || !secondsOk ||
        !nanoseconds.isDouble() || original->empty() || original->front() != '/' ||
        folder->empty() || folder->front() != '/' || name->empty() ||
        name->find('/') != std::string::npos)
        return std::nullopt;
    return Trash::Entry{*folder, *name, *original, *device,
                        *inode,  *size, seconds,   static_cast<long>(nanoseconds.toDouble())};
}

QJsonObject toJson(const Trash::Entry &e) {
    return QJsonObject{
        {"originalPath", bytes(e.originalPath)},
        {"trashFolder", bytes(e.folder)},
        {"trashName", bytes(e.name)},
        {"device", QString::number(static_cast<qulonglong>(e.device))},
        {"inode", QString::number(static_cast<qulonglong>(e.inode))},
        {"size", QString::number(static_cast<qulonglong>(e.size))},
        {"modificationSeconds", QString::number(static_cast<qlonglong>(e.modificationSeconds))},
        {"modificationNanoseconds", static_cast<double>(e.modificationNanoseconds)},
    };
}

void setAside(const QString &file) {
    if (const int error = safemove::setAside(QFile::encodeName(file).toStdString(), ".unreadable"))
        qCWarning(lcJournal) << "unreadable cleanup journal not set aside:" << std::strerror(error);
}

} // namespace

std::optional<QString> location() {
    return QFile::decodeName(
        QByteArray::fromStdString(paths::appending(paths::appDataHome(), "last-cleanup.json")));
}

bool write(const std::vector<Trash::Entry> &entries) {
    const auto file = location();
    if (!file)
        return false;
    std::lock_guard lock(journalMutex());
    QJsonArray list;
    for (const auto &e : entries)
        list.append(toJson(e));
    const QJsonObject root{{"version", formatVersion}, {"entries", list}};
    if (!QDir().mkpath(QFileInfo(*file).absolutePath()))
        return false;
    QSaveFile out(*file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    return out.commit();
}

std::vector<Trash::Entry> read() {
    const auto file = location();
    if (!file)
        return {};
    std::lock_guard lock(journalMutex());
    QFile in(*file);
    if (!in.exists())
        return {};
    if (!in.open(QIODevice::ReadOnly)) {
        qCWarning(lcJournal) << "cleanup journal unreadable:" << in.errorString();
        return {};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(in.readAll(), &error);
    in.close();
    const QJsonObject root = document.object();
    std::vector<Trash::Entry> entries;
    bool readable = error.error == QJsonParseError::NoError && document.isObject() &&
                    root.value("version").toInt() == formatVersion &&
                    root.value("entries").isArray();
    if (readable) {
        for (const QJsonValue &value : root.value("entries").toArray()) {
            auto entry = entryFrom(value.toObject());
            if (!entry) {
                readable = false;
                break;
            }
            entries.push_back(std::move(*entry));
        }
    }
    if (!readable) {
        qCWarning(lcJournal) << "cleanup journal unreadable; set aside:" << *file;
        setAside(*file);
        return {};
    }
    return entries;
}

} // namespace twinsift::CleanupJournal
