#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <string>

// The figures a history card shows, as text. The words around them are the
// screen's; these decide only the numbers and their form.
namespace twinsift::recentscantexts {

// The folder's own name, or the whole path when it has none ("/").
QString folderName(const std::string &folderPath);

// Abbreviated month, day and year, then the short time, in locale's order.
QString scannedAt(const QDateTime &when, const QLocale &locale = QLocale());

// Two decimals with a point, whatever the locale: "3.00".
QString seconds(double elapsedSeconds);

// Decimal units from KB to TB, never plain bytes.
QString savings(quint64 bytes);

// Plain decimal digits, without grouping.
QString count(qint64 value);

} // namespace twinsift::recentscantexts
