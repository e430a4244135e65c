#include "gfx/ProgramIcon.h"

#include "gfx/Bitmaps.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace tolm::gfx {

QImage programIconImage(int size)
{
    static const QImage art = iconImage("tolm");
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

namespace {

// Draws each size when it is asked for and keeps none: a window takes its
// icon once, and seven sizes kept for good would take 360 kB.
class ProgramIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        painter->drawImage(rect, programIconImage(std::max(rect.width(), rect.height())));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return QPixmap::fromImage(programIconImage(std::max(size.width(), size.height())));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int size : kProgramIconSizes)
            sizes.append(QSize(size, size));
        return sizes;
    }
    QString key() const override { return QStringLiteral("tolm-program"); }
    QIconEngine* clone() const override { return new ProgramIconEngine; }
};

} // namespace

QIcon programIcon()
{
    return QIcon(new ProgramIconEngine);
}

} // namespace tolm::gfx
