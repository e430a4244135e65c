// Writes the program icon as the PNG files of the hicolor icon theme,
// DIR/NxN/apps/tolm.png, from the same drawing the windows show. Run by the
// build, so the installed icons never drift from the compiled-in one.
#include "gfx/ProgramIcon.h"

#include <QDir>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const int size : tolm::gfx::kProgramIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + QStringLiteral("/tolm.png");
        const QImage image = tolm::gfx::programIconImage(size);
        if (image.isNull() || !QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(file));
            return 1;
        }
    }
    return 0;
}
