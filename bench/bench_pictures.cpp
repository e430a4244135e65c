// Figures for the item pictures: one in-place refresh of a clock, a drive
// and a memory tile, a full paint of a window of 100 mixed items, and the
// full paint of one launcher with its stored picture (argument 0) or with
// its icon drawn from its source at pixel ratio 1 or 2.
#include "app/AppState.h"
#include "app/TPrincipal.h"
#include "items/TSpButton.h"
#include "tests/support/FakePlatform.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using tolm::store::Clase;

namespace {

struct World {
    World() { fake.drives.add("c:\\", tolm::platform::DriveFixed, 64ull << 30, 23ull << 30, "SISTEMA"); }
    QTemporaryDir dir;
    AppState state { dir.path().toStdString() };
    tolm::test::FakePlatform fake;
    tolm::platform::ScopedServices use { fake.services() };
};

TSpButton* makeItem(QWidget* parent, Clase clase, int tipo)
{
    auto* item = new TSpButton(parent);
    item->setClase(clase);
    item->setTipo(tipo);
    if (clase == Clase::Disco) {
        item->createPictureCache();
        item->setDirectorio("c:\\");
        item->settag1(-2);
    }
    return item;
}

void inPlace(benchmark::State& run, Clase clase)
{
    World world;
    std::unique_ptr<TSpButton> item(makeItem(nullptr, clase, 1));
    QImage target(item->size(), QImage::Format_RGB32);
    item->render(&target);
    for (auto _ : run) {
        world.state.second = (world.state.second + 1) % 60;
        item->setTag(item->Tag() | TSpButton::kTagTimerRepaint);
        item->render(&target);
        item->setTag(item->Tag() & ~TSpButton::kTagTimerRepaint);
    }
}

void BM_ClockRefreshInPlace(benchmark::State& run)
{
    inPlace(run, Clase::Reloj);
}
void BM_DriveRefreshInPlace(benchmark::State& run)
{
    inPlace(run, Clase::Disco);
}
void BM_MemoryRefreshInPlace(benchmark::State& run)
{
    inPlace(run, Clase::Memoria);
}

void BM_FullPaintOf100Items(benchmark::State& run)
{
    World world;
    TPrincipal* window = new TPrincipal();
    window->resize(800, 500);
    const Clase kinds[] = { Clase::Normal, Clase::Carpeta, Clase::Reloj, Clase::Disco, Clase::Memoria };
    for (int i = 0; i < 100; ++i) {
        TSpButton* item = makeItem(window, kinds[i % 5], i % 10);
        item->move((i % 10) * 80, (i / 10) * 50);
        if (item->clase() <= Clase::Carpeta) {
            item->setCaption("Elemento");
            item->settag1(1);
            item->refreshGlyph();
        }
    }
    QImage target(window->size(), QImage::Format_RGB32);
    for (auto _ : run)
        window->render(&target);
    delete window;
}

void BM_LauncherPaint(benchmark::State& run)
{
    World world;
    const int ratio = int(run.range(0));
    if (ratio > 0) {
        QIcon icon;
        for (int size : { 16, 32, 64 }) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::blue);
            icon.addPixmap(pixmap);
        }
        world.fake.icons.sources["prog"] = { icon };
    }
    std::unique_ptr<TSpButton> item(makeItem(nullptr, Clase::Normal, 0));
    item->settag1(1);
    item->setFichIcono("prog");
    item->refreshGlyph();
    QImage target(item->size() * std::max(ratio, 1), QImage::Format_RGB32);
    target.setDevicePixelRatio(std::max(ratio, 1));
    for (auto _ : run)
        item->render(&target);
}

BENCHMARK(BM_ClockRefreshInPlace)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DriveRefreshInPlace)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryRefreshInPlace)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullPaintOf100Items)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LauncherPaint)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
