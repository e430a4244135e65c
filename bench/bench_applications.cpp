// Figures for "Aplicación...": listing 1,000 installed applications, and
// opening the picker on them up to its first painted window.
#include "dialogs/ApplicationPicker.h"
#include "platform/Applications.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tolm;

namespace {

// Entries of the size distributions ship: a name, a generic name and a
// comment each translated into 30 languages, keywords, and lines the
// listing does not read.
struct Folder {
    QTemporaryDir dir;

    explicit Folder(int count)
    {
        const QStringList languages
            = QStringLiteral("ar bg ca cs da de el en_GB eo es et eu fi fr gl he hu it "
                             "ja ko lt nl pl pt pt_BR ro ru sk sv zh_CN")
                  .split(u' ');
        QDir(dir.path()).mkpath(QStringLiteral("applications/vendor"));
        for (int i = 0; i < count; ++i) {
            QByteArray text = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
            text += QStringLiteral("Name=Programa %1\n").arg(i).toUtf8();
            for (const QString& language : languages) {
                text += QStringLiteral("Name[%1]=Programa %2 (%1)\nGenericName[%1]=Herramienta %2\n"
                                       "Comment[%1]=Hace algo útil con los archivos, número %2\n")
                            .arg(language)
                            .arg(i)
                            .toUtf8();
            }
            text += "Keywords=uno;dos;tres;\nExec=programa %U\nIcon=programa\nTerminal=false\n"
                    "Categories=Utility;\nMimeType=text/plain;text/x-csrc;\nStartupNotify=true\n";
            // A tenth of them in a vendor subfolder, as some packages put them.
            const QString name = QStringLiteral("applications/%1programa-%2.desktop")
                                     .arg(i % 10 == 0 ? QStringLiteral("vendor/") : QString())
                                     .arg(i);
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write(text);
        }
    }
    QStringList folders() const { return { dir.filePath(QStringLiteral("applications")) }; }
};

void BM_ListApplications(benchmark::State& bench)
{
    const Folder folder(int(bench.range(0)));
    for (auto _ : bench) {
        const auto applications = platform::listApplications(folder.folders(), {}, QStringLiteral("es_ES"));
        benchmark::DoNotOptimize(applications.size());
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(BM_ListApplications)->Arg(1000)->Unit(benchmark::kMillisecond);

// From listing to the picker's first paint, icons of the rows shown included.
void BM_OpenPicker(benchmark::State& bench)
{
    const Folder folder(int(bench.range(0)));
    for (auto _ : bench) {
        QElapsedTimer timer;
        timer.start();
        ApplicationPicker picker(platform::listApplications(folder.folders(), {}, QStringLiteral("es_ES")));
        picker.show();
        benchmark::DoNotOptimize(picker.grab());
        bench.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_OpenPicker)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
