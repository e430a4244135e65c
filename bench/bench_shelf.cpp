// Figures for the shelf windows: loading and saving a large shelf, one tick
// of the refresh timer and the heap allocations it makes, arranging, and the
// time to the first painted window.
#include "app/AppState.h"
#include "app/TPrincipal.h"
#include "bench/support/BusyShelf.h"
#include "gfx/Color.h"
#include "items/TSpButton.h"
#include "platform/Platform.h"
#include "store/ShelfFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

using namespace tolm;

// ---------------------------------------------------------------- allocations
//
// Every heap allocation of this program is counted: malloc and its kin,
// which Qt's strings, arrays and images allocate with, are replaced, and so
// is operator new, which allocates with malloc and so counts among them too;
// its calls are also counted apart. The C library's own allocator does the
// work.

namespace {
std::atomic<std::uint64_t> s_allocations { 0 };
std::atomic<std::uint64_t> s_newCalls { 0 };

void countAllocation()
{
    s_allocations.fetch_add(1, std::memory_order_relaxed);
}

void* newed(std::size_t size)
{
    s_newCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* newedAligned(std::size_t size, std::align_val_t align)
{
    s_newCalls.fetch_add(1, std::memory_order_relaxed);
    void* p = nullptr;
    if (posix_memalign(&p, std::max(std::size_t(align), sizeof(void*)), size ? size : 1) == 0)
        return p;
    throw std::bad_alloc();
}
} // namespace

extern "C" {
void* __libc_malloc(std::size_t size) noexcept;
void* __libc_calloc(std::size_t count, std::size_t size) noexcept;
void* __libc_realloc(void* p, std::size_t size) noexcept;
void* __libc_memalign(std::size_t align, std::size_t size) noexcept;
void __libc_free(void* p) noexcept;

void* malloc(std::size_t size) noexcept
{
    countAllocation();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept
{
    countAllocation();
    return __libc_calloc(count, size);
}

void* realloc(void* p, std::size_t size) noexcept
{
    countAllocation();
    return __libc_realloc(p, size);
}

void free(void* p) noexcept
{
    __libc_free(p);
}

void* memalign(std::size_t align, std::size_t size) noexcept
{
    countAllocation();
    return __libc_memalign(align, size);
}

void* aligned_alloc(std::size_t align, std::size_t size) noexcept
{
    countAllocation();
    return __libc_memalign(align, size);
}

int posix_memalign(void** out, std::size_t align, std::size_t size) noexcept
{
    if (align < sizeof(void*) || (align & (align - 1)) != 0)
        return EINVAL;
    countAllocation();
    void* p = __libc_memalign(align, size);
    if (!p)
        return ENOMEM;
    *out = p;
    return 0;
}
} // extern "C"

void* operator new(std::size_t size)
{
    return newed(size);
}

void* operator new[](std::size_t size)
{
    return newed(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    s_newCalls.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    s_newCalls.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}

void* operator new(std::size_t size, std::align_val_t align)
{
    return newedAligned(size, align);
}

void* operator new[](std::size_t size, std::align_val_t align)
{
    return newedAligned(size, align);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
    std::free(p);
}

namespace {

// Each benchmark runs in an empty shelf folder with a fresh shared state.
struct Scene {
    QTemporaryDir dir;
    AppState state { dir.path().toStdString() };
    TPrincipal* main { new TPrincipal };

    ~Scene()
    {
        const auto folders = state.openFolderWindows;
        for (const auto& w : folders)
            delete w.data();
        delete main;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

void addLaunchers(TPrincipal* window, int count)
{
    for (int i = 0; i < count; ++i) {
        AppState::get().pressPoint = QPoint((i % 40) * 40, (i / 40) * 40);
        TSpButton* item = window->commands().newLauncher();
        item->setComando(QStringLiteral("/usr/bin/programa-%1").arg(i));
        item->setCaption(QStringLiteral("Programa %1").arg(i));
        item->setHint(QStringLiteral("Un programa de prueba"));
    }
}

void BM_LoadShelf1000(benchmark::State& bench)
{
    Scene scene;
    addLaunchers(scene.main, 1000);
    scene.main->document().save();
    for (auto _ : bench)
        scene.main->document().load();
    bench.SetItemsProcessed(bench.iterations() * 1000);
}
BENCHMARK(BM_LoadShelf1000)->Unit(benchmark::kMillisecond);

void BM_SaveShelf1000(benchmark::State& bench)
{
    Scene scene;
    addLaunchers(scene.main, 1000);
    for (auto _ : bench)
        benchmark::DoNotOptimize(scene.main->document().save());
    bench.SetItemsProcessed(bench.iterations() * 1000);
}
BENCHMARK(BM_SaveShelf1000)->Unit(benchmark::kMillisecond);

// 100 clocks, 20 drive and 20 memory tiles across three shown windows.
void BM_TimerTick(benchmark::State& bench)
{
    const bool repaintsDue = bench.range(0) != 0;
    Scene scene;
    scene.main->resize(1000, 800);
    TSpButton* a = scene.main->commands().newFolder();
    AppState::get().pressPoint = QPoint(40, 0);
    TSpButton* b = scene.main->commands().newFolder();
    a->activate();
    b->activate();
    TPrincipal* windows[3] = { scene.main, TPrincipal::folderWindowOf(a), TPrincipal::folderWindowOf(b) };
    for (int i = 0; i < 140; ++i) {
        TPrincipal* window = windows[i % 3];
        window->resize(1000, 800);
        AppState::get().pressPoint = QPoint((i % 20) * 45, 50 + (i / 20) * 45);
        TSpButton* item = i < 100 ? window->commands().newClock()
            : i < 120             ? window->commands().newDrive()
                                  : window->commands().newMemory();
        // Without repaints due, drive and memory tiles wait on their countdown.
        if (!repaintsDue && i >= 100)
            item->settag2(255 << 8 | 200);
    }
    for (TPrincipal* window : windows)
        window->show();
    QCoreApplication::processEvents();
    for (auto _ : bench) {
        scene.main->refreshTimerItems();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_TimerTick)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A clock that stands where the benchmark puts it.
struct SteppedClock : platform::Clock {
    QDateTime at { QDate(2026, 3, 10), QTime(10, 0, 0) };
    QDateTime now() override { return at; }
};

// One tick of the busy shelf in its steady state, as the timer runs it once
// a second: the clock has moved on by a second since the last, so every
// clock's text changes, and the tiles refresh on every other tick. Reports
// the heap allocations of a tick ("allocs", every malloc, calloc, realloc and
// aligned allocation, operator new's among them) and its calls to operator
// new ("news"), both averaged over the ticks.
void BM_BusyShelfTick(benchmark::State& bench)
{
    SteppedClock clock;
    platform::Services replacement;
    replacement.clock = &clock;
    platform::ScopedServices use(replacement);
    Scene scene;
    // The benchmark ticks by itself; the window's own timer would add ticks
    // within the same second.
    scene.main->timer()->stop();
    busyShelf(scene.main, 0);
    const auto tick = [&] {
        clock.at = clock.at.addSecs(1);
        scene.main->refreshTimerItems();
        QCoreApplication::processEvents();
    };
    for (const auto& window : AppState::get().openFolderWindows)
        window->show();
    scene.main->show();
    QCoreApplication::processEvents();
    // The first ticks draw every tile whole and start the countdowns.
    for (int i = 0; i < 4; ++i)
        tick();
    const std::uint64_t allocations = s_allocations.load();
    const std::uint64_t newCalls = s_newCalls.load();
    for (auto _ : bench)
        tick();
    bench.counters["allocs"]
        = benchmark::Counter(double(s_allocations.load() - allocations), benchmark::Counter::kAvgIterations);
    bench.counters["news"]
        = benchmark::Counter(double(s_newCalls.load() - newCalls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_BusyShelfTick)->Unit(benchmark::kMicrosecond);

void BM_Arrange(benchmark::State& bench)
{
    const int count = static_cast<int>(bench.range(0));
    Scene scene;
    scene.main->resize(800, 600);
    for (auto _ : bench) {
        bench.PauseTiming();
        for (TSpButton* item : scene.main->items()) {
            scene.main->removeFromItemList(item);
            delete item;
        }
        // Items piled up near the top left in reverse reading order.
        for (int i = 0; i < count; ++i) {
            AppState::get().pressPoint = QPoint((count - i) % 7 * 10, (count - i) % 5 * 10);
            scene.main->commands().newLauncher();
        }
        bench.ResumeTiming();
        scene.main->commands().arrange();
    }
    bench.SetComplexityN(count);
}
BENCHMARK(BM_Arrange)->Arg(100)->Arg(400)->Arg(1600)->Unit(benchmark::kMillisecond)->Complexity();

// From creating the window to its first paint, for a 200-item shelf and for a
// bare window holding one label; the ratio of the two is the figure.
template <typename Make> double msToFirstPaint(Make make)
{
    QElapsedTimer timer;
    timer.start();
    QWidget* window = make();
    window->show();
    QPixmap first = window->grab();
    benchmark::DoNotOptimize(first);
    const double ms = timer.nsecsElapsed() / 1e6;
    // What the event loop would have handled by then; destroying thousands
    // of items with their events still queued costs far more than a run does.
    QCoreApplication::processEvents();
    delete window;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

void BM_StartupShelf200(benchmark::State& bench)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    {
        AppState state(folder);
        auto* main = new TPrincipal;
        addLaunchers(main, 200);
        main->document().save();
        delete main;
    }
    for (auto _ : bench) {
        AppState state(folder);
        bench.SetIterationTime(msToFirstPaint([] { return new TPrincipal; }) / 1000.0);
    }
}
BENCHMARK(BM_StartupShelf200)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_StartupBareLabel(benchmark::State& bench)
{
    for (auto _ : bench)
        bench.SetIterationTime(
            msToFirstPaint([] { return new QLabel(QStringLiteral("Tolm 2000")); }) / 1000.0);
}
BENCHMARK(BM_StartupBareLabel)->UseManualTime()->Unit(benchmark::kMillisecond);

// A main shelf file of `count` items of one kind, `side` pixels square, on a
// grid 100 to a row, in a 1200 x 900 window: most items lie beyond the
// window's edges, as on a shelf that grew over years.
void writeGridShelf(
    const std::filesystem::path& folder, int count, store::Clase clase, int side, const char* menu)
{
    store::ShelfHeader header;
    header.right = 1200;
    header.bottom = 900;
    header.color = gfx::clBtnFace;
    std::vector<std::uint8_t> bytes;
    store::writeHeader(header, bytes);
    store::writeRecord(store::writeFontDialog(store::FontDialogState {}), bytes);
    for (int i = 0; i < count; ++i) {
        store::SpButtonState item;
        item.left = (i % 100) * side;
        item.top = (i / 100) * side;
        item.width = side;
        item.height = side;
        item.clase = std::uint8_t(clase);
        item.popupMenu = std::string("Principal.") + menu;
        store::writeRecord(store::writeSpButton(item), bytes);
    }
    store::writeFileAtomically(folder / TPrincipal::kMainFileName, bytes);
}

// From creating the main window, which reads its file, to its first paint.
void firstPaintOfGrid(benchmark::State& bench, store::Clase clase, int side, const char* menu)
{
    const int count = static_cast<int>(bench.range(0));
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    writeGridShelf(folder, count, clase, side, menu);
    for (auto _ : bench) {
        AppState state(folder);
        bench.SetIterationTime(msToFirstPaint([] { return new TPrincipal; }) / 1000.0);
    }
    bench.SetComplexityN(count);
    bench.SetItemsProcessed(bench.iterations() * count);
}

void BM_FirstPaintClocks(benchmark::State& bench)
{
    firstPaintOfGrid(bench, store::Clase::Reloj, 40, "MenuReloj");
}
BENCHMARK(BM_FirstPaintClocks)
    ->Arg(2500)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_FirstPaintButtons(benchmark::State& bench)
{
    firstPaintOfGrid(bench, store::Clase::Normal, 20, "MenuBoton");
}
BENCHMARK(BM_FirstPaintButtons)
    ->Arg(5000)
    ->Arg(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The counts are only as good as the replacement of the allocator: a
    // build where Qt's allocations bypass it says so.
    const std::uint64_t allocations = s_allocations.load();
    const std::uint64_t newCalls = s_newCalls.load();
    QByteArray* probe = new QByteArray(100, 'x');
    benchmark::DoNotOptimize(probe->data());
    delete probe;
    if (s_allocations.load() - allocations < 2 || s_newCalls.load() - newCalls < 1)
        std::fprintf(stderr, "warning: heap allocations are not counted; allocs and news mean nothing\n");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
