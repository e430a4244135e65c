#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label("Tolm 2000");
    label.show();
    return app.exec();
}
