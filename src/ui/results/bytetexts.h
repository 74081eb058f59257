#pragma once

#include "formatbytes.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

#include <cstdint>

namespace twinsift {

// Byte counts in words: "Zero KB", "1 byte", "512 bytes", "12.4 MB",
// "2,500 TB", with the locale's digits, separators and decimal point.
class ByteTexts {
    Q_DECLARE_TR_FUNCTIONS(ByteTexts)

public:
    static QString text(const ByteAmount &amount, const QLocale &locale = QLocale());
    static QString bytes(std::uint64_t bytes) { return text(byteAmount(bytes)); }
    // Never plain bytes: for totals, where "1 KB" reads better than "12 bytes".
    static QString bytesKBToTB(std::uint64_t bytes) { return text(byteAmountKBToTB(bytes)); }
};

} // namespace twinsift
