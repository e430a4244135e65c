#include "platform/NumberText.h"

namespace tolm::platform {

QString groupedNumber(quint64 value, const QString& separator, int width)
{
    const QString digits = QString::number(value);
    const QString sep = separator.isEmpty() ? QStringLiteral(",") : separator;
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += sep;
        out += digits.at(i);
    }
    if (out.size() < width)
        out.prepend(QString(width - out.size(), u' '));
    return out;
}

QString shortSizeText(quint64 bytes, const QString& decimal)
{
    constexpr quint64 kB = 1000, MB = kB * 1000, GB = MB * 1000;
    auto withHundredths = [&](quint64 unit) {
        const quint64 h = bytes % unit / (unit / 100);
        return QString::number(bytes / unit) + decimal + QString::number(h / 10) + QString::number(h % 10);
    };
    if (bytes < MB)
        return QString::number(bytes / kB) + QStringLiteral("kB");
    if (bytes < 100 * MB)
        return withHundredths(MB) + QStringLiteral("MB");
    if (bytes < GB)
        return QString::number(bytes / MB) + QStringLiteral("MB");
    return withHundredths(GB) + QStringLiteral("GB");
}

quint64 scaledShare(quint64 value, quint64 numerator, quint64 denominator)
{
    __extension__ using Wide = unsigned __int128;
    return quint64(Wide(value) * numerator / denominator);
}

} // namespace tolm::platform
