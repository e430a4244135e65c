// Reading and writing item records: 10,000 items, either all without a
// glyph or half of them with a 36 x 36 24-bit glyph (a BMP of about 4 KB).
#include "store/ShelfFile.h"

#include <benchmark/benchmark.h>

using namespace tolm::store;

namespace {

constexpr int kItems = 10000;

std::vector<std::uint8_t> glyph36()
{
    constexpr int side = 36, row = side * 3; // 108 bytes a row, already a multiple of four
    std::vector<std::uint8_t> bmp(54 + row * side);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = std::uint8_t(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, std::uint32_t(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, side);
    put32(22, side);
    bmp[26] = 1;
    bmp[28] = 24;
    for (std::size_t i = 54; i < bmp.size(); ++i)
        bmp[i] = std::uint8_t(i * 7);
    return bmp;
}

std::vector<SpButtonState> items(bool withGlyphs)
{
    std::vector<SpButtonState> list;
    const auto glyph = glyph36();
    for (int i = 0; i < kItems; ++i) {
        SpButtonState s;
        s.left = (i % 20) * 40;
        s.top = (i / 20) * 40;
        s.width = 40;
        s.height = 40;
        s.caption = "Programa " + std::to_string(i);
        s.comando = "/usr/bin/programa" + std::to_string(i);
        s.directorio = "/home/usuario";
        s.popupMenu = "Principal.MenuBoton";
        s.tag1 = 1;
        if (withGlyphs && i % 2 == 0) {
            s.glyphBmp = glyph;
            s.margin = 1;
        }
        list.push_back(s);
    }
    return list;
}

std::vector<std::uint8_t> records(const std::vector<SpButtonState>& list)
{
    std::vector<std::uint8_t> out;
    for (const auto& s : list)
        writeRecord(writeSpButton(s), out);
    return out;
}

void readItems(benchmark::State& state)
{
    const auto bytes = records(items(state.range(0) != 0));
    for (auto _ : state) {
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            SpButtonState item = readSpButton(readRecord(bytes, pos));
            benchmark::DoNotOptimize(item);
        }
    }
    state.SetItemsProcessed(state.iterations() * kItems);
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
    state.counters["file_KB"] = double(bytes.size()) / 1024;
}

void writeItems(benchmark::State& state)
{
    const auto list = items(state.range(0) != 0);
    const std::size_t size = records(list).size();
    std::vector<std::uint8_t> out;
    out.reserve(size);
    for (auto _ : state) {
        out.clear();
        for (const auto& s : list)
            writeRecord(writeSpButton(s), out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kItems);
    state.SetBytesProcessed(state.iterations() * std::int64_t(size));
}

} // namespace

BENCHMARK(readItems)->ArgName("glyphs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(writeItems)->ArgName("glyphs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
