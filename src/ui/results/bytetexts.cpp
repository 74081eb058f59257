#include "bytetexts.h"

namespace twinsift {

QString ByteTexts::text(const ByteAmount &amount, const QLocale &locale) {
    if (amount.unit == ByteUnit::bytes)
        return amount.whole == 1 ? tr("1 byte") : tr("%1 bytes").arg(amount.whole);
    if (amount.whole == 0 && amount.decimals == 0)
        return tr("Zero KB");
    // Large counts are grouped in every locale, the C one included.
    QLocale numbers = locale;
    numbers.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    QString number = numbers.toString(static_cast<qulonglong>(amount.whole));
    if (amount.decimals > 0)
        number += numbers.decimalPoint() +
                  numbers.toString(static_cast<qulonglong>(amount.fraction))
                      .rightJustified(amount.decimals, numbers.zeroDigit().front());
    switch (amount.unit) {
    case ByteUnit::bytes:
    case ByteUnit::KB:
        return tr("%1 KB").arg(number);
    case ByteUnit::MB:
        return tr("%1 MB").arg(number);
    case ByteUnit::GB:
        return tr("%1 GB").arg(number);
    case ByteUnit::TB:
        return tr("%1 TB").arg(number);
    }
    return number;
}

} // namespace twinsift
