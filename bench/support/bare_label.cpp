// The yardstick for the start-up figure: a bare Qt window showing one label,
// ending right after its first paint exactly as tolm does under TOLM_EXIT_AFTER_FIRST_PAINT.
#include <QApplication>
#include <QLabel>
#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Tolm 2000"));
    struct FirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                QMetaObject::invokeMethod(
                    qApp, [] { std::_Exit(0); }, Qt::QueuedConnection);
            return false;
        }
    } filter;
    label.installEventFilter(&filter);
    label.show();
    return app.exec();
}
