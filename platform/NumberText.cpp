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

QString shortSizeText(quint64 n)
{
    const quint64 m = n / 1024;
    const quint64 g = m / 1024;
    auto hundredths = [](quint64 remainder) {
        const quint64 h = remainder * 100 / 1024;
        return QString::number(h / 10) + QString::number(h % 10);
    };
    if (n < 1024)
        return QString::number(n) + QStringLiteral("KB");
    if (m < 100)
        return QString::number(m) + u',' + hundredths(n % 1024) + QStringLiteral("MB");
    if (m < 1024)
        return QString::number(m) + QStringLiteral("MB");
    return QString::number(g) + u',' + hundredths(m % 1024) + QStringLiteral("GB");
}

quint64 scaledShare(quint64 value, quint64 numerator, quint64 denominator)
{
    __extension__ using Wide = unsigned __int128;
    return quint64(Wide(value) * numerator / denominator);
}

} // namespace tolm::platform
