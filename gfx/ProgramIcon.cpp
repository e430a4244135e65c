#include "gfx/ProgramIcon.h"

#include "gfx/Bitmaps.h"

#include <QPixmap>

namespace tolm::gfx {

QImage programIconImage(int size)
{
    const QImage art = iconImage("tolm");
    if (art.isNull() || size <= 0)
        return {};
    if (size == art.width())
        return art;
    QImage image = art;
    const int factor = (size + art.width() - 1) / art.width();
    if (factor > 1)
        image = art.scaled(
            art.width() * factor, art.height() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

QIcon programIcon()
{
    QIcon icon;
    for (const int size : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}

} // namespace tolm::gfx
