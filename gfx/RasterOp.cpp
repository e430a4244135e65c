#include "gfx/RasterOp.h"

namespace tolm::gfx {

std::uint8_t penModeTable(PenMode mode)
{
    // The pen mode number minus one is a 4-entry table indexed by pen * 2 + dest;
    // spread it over the 8 entries of pattern * 4 + source * 2 + dest, ignoring source.
    const unsigned r2 = unsigned(mode) - 1u;
    std::uint8_t table = 0;
    for (unsigned i = 0; i < 8; ++i) {
        const unsigned pen = (i >> 2) & 1u;
        const unsigned dest = i & 1u;
        if ((r2 >> (pen * 2 + dest)) & 1u)
            table |= std::uint8_t(1u << i);
    }
    return table;
}

QRgb combinePixel(std::uint8_t table, QRgb p, QRgb s, QRgb d)
{
    std::uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!((table >> i) & 1u))
            continue;
        r |= ((i & 4u) ? p : ~p) & ((i & 2u) ? s : ~s) & ((i & 1u) ? d : ~d);
    }
    return 0xFF000000u | (r & 0x00FFFFFFu);
}

void combineRun(std::uint8_t table, QRgb* d, const QRgb* s, QRgb p, int n)
{
    p |= 0xFF000000u;
    switch (table) {
    case 0xCC:
        for (int i = 0; i < n; ++i)
            d[i] = s[i] | 0xFF000000u;
        return;
    case 0xF0:
        for (int i = 0; i < n; ++i)
            d[i] = p;
        return;
    case 0x00:
        for (int i = 0; i < n; ++i)
            d[i] = 0xFF000000u;
        return;
    case 0xFF:
        for (int i = 0; i < n; ++i)
            d[i] = 0xFFFFFFFFu;
        return;
    case 0x5A:
        for (int i = 0; i < n; ++i)
            d[i] = (d[i] ^ p) | 0xFF000000u;
        return;
    case 0x66:
        for (int i = 0; i < n; ++i)
            d[i] = (d[i] ^ s[i]) | 0xFF000000u;
        return;
    case 0x88:
        for (int i = 0; i < n; ++i)
            d[i] = (d[i] & s[i]) | 0xFF000000u;
        return;
    case 0xEE:
        for (int i = 0; i < n; ++i)
            d[i] = (d[i] | s[i]) | 0xFF000000u;
        return;
    case 0x55:
        for (int i = 0; i < n; ++i)
            d[i] = ~d[i] | 0xFF000000u;
        return;
    case 0xAA:
        return;
    default:
        break;
    }
    for (int i = 0; i < n; ++i)
        d[i] = combinePixel(table, p, s ? s[i] : 0u, d[i]);
}

} // namespace tolm::gfx
