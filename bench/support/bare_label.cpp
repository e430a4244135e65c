// The yardstick for the start-up figure: a bare Qt window showing one label,
// ending after its first paint exactly as tolm does under TOLM_EXIT_AFTER_FIRST_PAINT.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Tolm 2000"));
    struct FirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
            return false;
        }
    } filter;
    label.installEventFilter(&filter);
    label.show();
    return app.exec();
}
