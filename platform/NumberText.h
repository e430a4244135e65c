#pragma once

#include <QString>

namespace tolm::platform {

// The decimal digits of a value with `separator` before every further group
// of three digits from the right, padded with spaces in front to `width`
// characters: (1234567, ".") -> "1.234.567"; (1234, ".", 8) -> "   1.234".
// An empty separator stands for ",".
QString groupedNumber(quint64 value, const QString& separator, int width = 0);

// A count of bytes in at most a few characters, in decimal units (1 kB =
// 1000 bytes, 1 MB = 1000 kB, 1 GB = 1000 MB, as file managers and disk
// makers count): 512kB, 1,50MB, 100MB, 2,50GB. Hundredths are cut, not
// rounded, so the figure never promises more than there is. `decimal` is
// the locale's decimal mark; the whole part, of four digits at most but on
// the largest disks, is not grouped.
QString shortSizeText(quint64 bytes, const QString& decimal);

// value × numerator ÷ denominator, the product taken in 128 bits so that it
// never wraps: the share of a gauge, of a bar, of a percentage. The
// denominator is not 0 and the result fits 64 bits.
quint64 scaledShare(quint64 value, quint64 numerator, quint64 denominator);

} // namespace tolm::platform
