#include "platform/MemoryStatus.h"

#include "platform/NumberText.h"

#include <QHash>
#include <QList>
#include <limits>

namespace tolm::platform {

namespace {

quint64 saturatingAdd(quint64 a, quint64 b)
{
    return a > std::numeric_limits<quint64>::max() - b ? std::numeric_limits<quint64>::max() : a + b;
}

} // namespace

std::optional<MemoryStatus> MemoryStatus::fromMeminfo(const QByteArray& text)
{
    constexpr quint64 maxKiB = std::numeric_limits<quint64>::max() / 1024;
    QHash<QByteArray, quint64> kib;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QList<QByteArray> parts = line.mid(colon + 1).simplified().split(' ');
        bool ok = false;
        const quint64 value = parts.value(0).toULongLong(&ok);
        // Every line we use is counted in kB; a line in other units or with a
        // figure too large to hold in bytes is not used.
        if (!ok || value > maxKiB || (parts.size() > 1 && parts.at(1) != "kB"))
            continue;
        kib.insert(line.left(colon).trimmed(), value);
    }
    if (!kib.contains("MemTotal") || kib.value("MemTotal") == 0)
        return std::nullopt;

    MemoryStatus s;
    s.totalPhys = kib.value("MemTotal") * 1024;
    quint64 available = 0;
    if (kib.contains("MemAvailable"))
        available = kib.value("MemAvailable");
    else
        available
            = saturatingAdd(saturatingAdd(kib.value("MemFree"), kib.value("Buffers")), kib.value("Cached"));
    s.availPhys = qMin(available, s.totalPhys / 1024) * 1024;
    const quint64 swapTotal = kib.value("SwapTotal") * 1024;
    const quint64 swapFree = qMin(kib.value("SwapFree") * 1024, swapTotal);
    s.totalPageFile = saturatingAdd(s.totalPhys, swapTotal);
    s.availPageFile = saturatingAdd(s.availPhys, swapFree);
    // 128-bit product: used x 100 must not wrap, whatever the figures.
    const quint64 used = s.totalPhys - s.availPhys;
    s.load = quint32(scaledShare(used, 100, s.totalPhys));
    return s;
}

} // namespace tolm::platform
