// Reading and writing item records: 10,000 items, either all without a
// glyph or half of them with a 36 x 36 24-bit glyph (a BMP of about 4 KB).
// Reading a 100,000-item shelf file of about 45 MB as `tolm-shelf check`
// does, straight into item states, and as the window does, through records.
// And reading 20 MB hostile shelf files the way the window does: how long it
// takes to refuse them, and how much memory reading adds to the file's bytes.
#include "store/ShelfFile.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Records and megabytes a second, as rates over the measured time.
void countRecords(benchmark::State& state, std::size_t records, std::size_t bytes)
{
    using benchmark::Counter;
    state.counters["records/s"] = Counter(double(state.iterations()) * double(records), Counter::kIsRate);
    state.counters["MB/s"]
        = Counter(double(state.iterations()) * double(bytes) / (1 << 20), Counter::kIsRate);
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
    countRecords(state, kItems, bytes.size());
    state.counters["file_KB"] = double(bytes.size()) / 1024;
}

// A large shelf of ordinary launchers: texts of some forty bytes, a few with
// letters past ASCII, every handler and a size format; about 450 bytes an item.
constexpr int kShelfItems = 100000;

const std::vector<std::uint8_t>& largeShelf()
{
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> out;
        writeHeader({}, out);
        writeRecord(writeFontDialog({}), out);
        for (int i = 0; i < kShelfItems; ++i) {
            const std::string n = std::to_string(i);
            SpButtonState s;
            s.left = (i % 20) * 40;
            s.top = (i / 20) * 40;
            s.tipo = 1;
            s.width = 80;
            s.height = 40;
            s.caption = "Programa " + n;
            s.popupMenu = "Principal.MenuBoton";
            s.comando = "/usr/bin/programa-de-configuración-" + n;
            s.directorio = "/home/usuario/Proyectos/carpeta-" + std::to_string(i % 97);
            s.fichIcono = "/usr/share/icons/hicolor/48x48/apps/programa-" + n + ".png";
            s.param = "--abrir \"/home/usuario/informe " + n + ".txt\"";
            s.tag1 = i % 5;
            writeRecord(writeSpButton(s), out);
        }
        return out;
    }();
    return bytes;
}

// 0: straight into item states, as `tolm-shelf check` reads;
// 1: each record built first, then read into its state, as the window reads.
void readShelf(benchmark::State& state)
{
    const auto& bytes = largeShelf();
    const bool throughRecords = state.range(0) != 0;
    for (auto _ : state) {
        ShelfReader reader(bytes);
        if (throughRecords) {
            benchmark::DoNotOptimize(readFontDialog(reader.nextRecord()));
            while (!reader.atEnd())
                benchmark::DoNotOptimize(readSpButton(reader.nextRecord()));
        } else {
            benchmark::DoNotOptimize(reader.nextFontDialog());
            while (!reader.atEnd())
                benchmark::DoNotOptimize(reader.nextItem());
        }
    }
    state.SetLabel(throughRecords ? "through records" : "straight to states");
    countRecords(state, kShelfItems + 1, bytes.size());
    state.counters["file_MB"] = double(bytes.size()) / (1 << 20);
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

struct Hostile {
    const char* what;
    const char* className;
    const char* property; // empty: the unit is whole properties
    ValueTag tag;
    std::vector<std::uint8_t> unit;
};

const Hostile kHostile[] {
    { "list of Int8", "TSpButton", "Left", ValueTag::List, { 2, 5 } },
    { "set of one-letter members", "TSpButton", "Font.Style", ValueTag::Set, { 1, 'a' } },
    { "small unknown properties", "TSpButton", "", ValueTag::Null, { 1, 'A', 8 } },
    { "collection of empty elements", "TSpButton", "Items", ValueTag::Collection, { 1, 0 } },
    { "list of booleans, other class", "TThing", "P", ValueTag::List, { 8 } },
};

std::vector<std::uint8_t> hostileShelf(const Hostile& h)
{
    std::vector<std::uint8_t> out;
    writeHeader({}, out);
    writeRecord(writeFontDialog({}), out);
    writeRecordHead(h.className, "", out);
    if (*h.property) {
        writeShortString(h.property, out);
        out.push_back(static_cast<std::uint8_t>(h.tag));
    }
    while (out.size() < (20u << 20))
        out.insert(out.end(), h.unit.begin(), h.unit.end());
    if (*h.property)
        out.push_back(0);
    writeRecordEnd(out);
    return out;
}

// The window's loop: the font dialog, then every item through its typed reader.
void readLikeTheWindow(std::span<const std::uint8_t> bytes)
{
    try {
        ShelfReader reader(bytes);
        benchmark::DoNotOptimize(readFontDialog(reader.nextRecord()));
        while (!reader.atEnd()) {
            const Record record = reader.nextRecord();
            benchmark::DoNotOptimize(readSpButton(record));
        }
    } catch (const StreamError&) { }
}

std::size_t residentBytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return std::size_t(resident) * std::size_t(::sysconf(_SC_PAGESIZE));
}

// What reading adds to the bytes already held: a child's peak less what it
// shared with us when it started.
double addedMegabytes(std::span<const std::uint8_t> bytes)
{
    const std::size_t before = residentBytes();
    const pid_t pid = ::fork();
    if (pid == 0) {
        readLikeTheWindow(bytes);
        ::_exit(0);
    }
    int status = 0;
    rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    const double peak = double(usage.ru_maxrss) * 1024;
    return peak > double(before) ? (peak - double(before)) / (1 << 20) : 0;
}

void readHostile(benchmark::State& state)
{
    const Hostile& h = kHostile[state.range(0)];
    const auto bytes = hostileShelf(h);
    for (auto _ : state)
        readLikeTheWindow(bytes);
    // The time is what refusing the file takes; it is not spread over the bytes,
    // most of which are never read.
    state.SetLabel(h.what);
    state.counters["file_MB"] = double(bytes.size()) / (1 << 20);
    state.counters["added_MB"] = addedMegabytes(bytes);
}

} // namespace

BENCHMARK(readHostile)
    ->ArgName("kind")
    ->DenseRange(0, std::size(kHostile) - 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(readShelf)->ArgName("records")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(readItems)->ArgName("glyphs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(writeItems)->ArgName("glyphs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
