#pragma once

#include <QString>

namespace tolm::platform {

// The decimal digits of a value with `separator` before every further group
// of three digits from the right, padded with spaces in front to `width`
// characters: (1234567, ".") -> "1.234.567"; (1234, ".", 8) -> "   1.234".
// An empty separator stands for ",".
QString groupedNumber(quint64 value, const QString& separator, int width = 0);

// A count of kilobytes in at most a few characters: 512KB, 1,50MB, 100MB,
// 2,50GB. Hundredths are cut, not rounded; the decimal mark is always ",".
QString shortSizeText(quint64 kilobytes);

// value × numerator ÷ denominator, the product taken in 128 bits so that it
// never wraps: the share of a gauge, of a bar, of a percentage. The
// denominator is not 0 and the result fits 64 bits.
quint64 scaledShare(quint64 value, quint64 numerator, quint64 denominator);

} // namespace tolm::platform
