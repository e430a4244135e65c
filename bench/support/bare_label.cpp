// The yardstick for the start-up and idle figures: a bare Qt window showing
// one label. By default it ends right after its first paint exactly as tolm
// does under TOLM_EXIT_AFTER_FIRST_PAINT; with --tick it stays up and shows
// the time, changed once a second, as the floor a clock program idles at.
#include "FirstPaint.h"

#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool tick = argc > 1 && std::strcmp(argv[1], "--tick") == 0;
    QLabel label(QStringLiteral("Tolm 2000"));
    struct FirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                QMetaObject::invokeMethod(
                    qApp,
                    [] {
                        std::printf("painted %lld\n", monotonicNs());
                        std::fflush(stdout);
                        std::_Exit(0);
                    },
                    Qt::QueuedConnection);
            return false;
        }
    } filter;
    QTimer timer;
    if (tick) {
        QObject::connect(&timer, &QTimer::timeout, &label,
            [&label] { label.setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))); });
        timer.start(1000);
    } else {
        label.installEventFilter(&filter);
    }
    label.show();
    return app.exec();
}
