#include "platform/Settings.h"

#include <QRegularExpression>
#include <limits>

namespace tolm::platform {

std::optional<qint64> Settings::countStart()
{
    const QString section = QString::fromLatin1(counterSection);
    const QString name = QString::fromLatin1(counterName);
    qint64 count = 0;
    if (const std::optional<QString> stored = readString(section, name)) {
        // Decimal digits only, with an optional sign, as the registry class
        // read integers; anything else ("abc", "0x10", "12a") counts as 0.
        static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
        const QString text = stored->trimmed();
        bool ok = decimal.match(text).hasMatch();
        if (ok)
            count = text.toLongLong(&ok);
        if (!ok || count == std::numeric_limits<qint64>::max())
            count = 0;
    }
    ++count;
    if (!writeString(section, name, QString::number(count)))
        return std::nullopt;
    return count;
}

} // namespace tolm::platform
