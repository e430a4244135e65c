#include "platform/MemoryStatus.h"

#include "platform/NumberText.h"

#include <QByteArrayView>
#include <algorithm>
#include <array>
#include <limits>
#include <optional>

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
    // The lines used, read in place: the file is read every second.
    enum { MemTotal, MemAvailable, MemFree, Buffers, Cached, SwapTotal, SwapFree, LineCount };
    constexpr std::array<QByteArrayView, LineCount> names { "MemTotal", "MemAvailable", "MemFree", "Buffers",
        "Cached", "SwapTotal", "SwapFree" };
    std::array<std::optional<quint64>, LineCount> kib;
    const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    for (QByteArrayView rest(text); !rest.isEmpty();) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const auto name = std::find(names.cbegin(), names.cend(), line.first(colon).trimmed());
        if (name == names.cend())
            continue;
        // The figure and its unit are the first two words after the colon.
        std::array<QByteArrayView, 2> words;
        int count = 0;
        QByteArrayView after = line.sliced(colon + 1);
        while (count < 2) {
            qsizetype i = 0;
            while (i < after.size() && isBlank(after.at(i)))
                ++i;
            qsizetype j = i;
            while (j < after.size() && !isBlank(after.at(j)))
                ++j;
            if (i == j)
                break;
            words[std::size_t(count++)] = after.sliced(i, j - i);
            after = after.sliced(j);
        }
        bool ok = false;
        const quint64 value = words[0].toULongLong(&ok);
        // Every line we use is counted in kB; a line in other units or with a
        // figure too large to hold in bytes is not used.
        if (!ok || value > maxKiB || (count > 1 && words[1] != "kB"))
            continue;
        kib[std::size_t(name - names.cbegin())] = value;
    }
    const auto value = [&](int line) { return kib[std::size_t(line)].value_or(0); };
    if (value(MemTotal) == 0)
        return std::nullopt;

    MemoryStatus s;
    s.totalPhys = value(MemTotal) * 1024;
    quint64 available = 0;
    if (kib[MemAvailable])
        available = value(MemAvailable);
    else
        available = saturatingAdd(saturatingAdd(value(MemFree), value(Buffers)), value(Cached));
    s.availPhys = qMin(available, s.totalPhys / 1024) * 1024;
    const quint64 swapTotal = value(SwapTotal) * 1024;
    const quint64 swapFree = qMin(value(SwapFree) * 1024, swapTotal);
    s.totalPageFile = saturatingAdd(s.totalPhys, swapTotal);
    s.availPageFile = saturatingAdd(s.availPhys, swapFree);
    // 128-bit product: used x 100 must not wrap, whatever the figures.
    const quint64 used = s.totalPhys - s.availPhys;
    s.load = quint32(scaledShare(used, 100, s.totalPhys));
    return s;
}

} // namespace tolm::platform
