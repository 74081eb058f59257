#include "recentscantexts.h"

#include "bytetexts.h"
#include "paths.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace twinsift::recentscantexts {

QString folderName(const std::string &folderPath) {
    std::string_view name = paths::lastComponent(folderPath);
    if (name.empty())
        name = folderPath;
    return QString::fromStdString(paths::displayText(name));
}

QString scannedAt(const QDateTime &when, const QLocale &locale) {
    // Qt has no abbreviated date style; the long one without its weekday and
    // with the short month name is the same content in the locale's order.
    QString format = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("d{4}[^dMy]*"));
    format.remove(weekday);
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    format = format.trimmed();
    // Hours and minutes only, though some locales' short time has seconds.
    QString time = locale.timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[^Hhm]s+"));
    time.remove(seconds);
    const QDateTime local = when.toLocalTime();
    return locale.toString(local, format) + QLatin1Char(' ') + locale.toString(local.time(), time);
}

QString seconds(double elapsedSeconds) {
    // QString::asprintf formats numbers in the C locale on every system.
    return QString::asprintf("%.2f", elapsedSeconds);
}

QString savings(quint64 bytes) {
    const auto limited = std::min<quint64>(bytes, std::numeric_limits<qint64>::max());
    return ByteTexts::bytesKBToTB(limited);
}

QString count(qint64 value) {
    return QString::number(value);
}

} // namespace twinsift::recentscantexts
