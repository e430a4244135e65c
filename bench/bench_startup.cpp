// Start-up to the first painted main window, as whole processes: tolm with a
// 200-item shelf against a bare Qt window with one label. The ratio of the two
// times is the figure.
#include "app/AppState.h"
#include "app/TPrincipal.h"
#include "bench/support/FirstPaint.h"
#include "items/TSpButton.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString s_binDir;

double runOnce(const QString& program, const QString& workDir)
{
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(workDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TOLM_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), workDir + QStringLiteral("/config"));
    process.setProcessEnvironment(env);
    return msToFirstPaint(process, 30000) / 1e3;
}

void BM_StartTolmWith200Items(benchmark::State& bench)
{
    QTemporaryDir dir;
    {
        AppState state(dir.path().toStdString());
        auto* main = new TPrincipal;
        for (int i = 0; i < 200; ++i) {
            AppState::get().pressPoint = QPoint((i % 20) * 40, (i / 20) * 40);
            TSpButton* item = i % 10 == 0 ? main->commands().newClock() : main->commands().newLauncher();
            item->setCaption(QStringLiteral("Programa %1").arg(i));
        }
        main->resize(800, 400);
        main->document().save();
        delete main;
    }
    for (auto _ : bench)
        bench.SetIterationTime(runOnce(s_binDir + QStringLiteral("/../app/tolm"), dir.path()));
}
BENCHMARK(BM_StartTolmWith200Items)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_StartBareLabel(benchmark::State& bench)
{
    QTemporaryDir dir;
    for (auto _ : bench)
        bench.SetIterationTime(runOnce(s_binDir + QStringLiteral("/bare_label"), dir.path()));
}
BENCHMARK(BM_StartBareLabel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    s_binDir = QCoreApplication::applicationDirPath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
