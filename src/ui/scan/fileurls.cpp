#include "fileurls.h"

#include <QByteArray>

namespace twinsift::fileurls {

QUrl fromPath(std::string_view path) {
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

std::string toPath(const QUrl &url) {
    if (!url.isLocalFile() && !url.scheme().isEmpty())
        return {};
    // The fully encoded path keeps bytes that are not UTF-8 as %XX; decoding
    // that ourselves yields them untouched, where toLocalFile() would not.
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return bytes.toStdString();
}

} // namespace twinsift::fileurls
