#include "ShelfFixture.h"
#include "gfx/Color.h"

#include <QSet>

namespace {

// The warm colours of the folder picture: its yellow body and its shades.
QSet<QRgb> yellowsOf(const QImage& glyph)
{
    QSet<QRgb> found;
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            const QColor c = glyph.pixelColor(x, y);
            if (c.red() > 120 && c.green() > 100 && c.blue() < c.red() / 2)
                found.insert(c.rgb() | 0xFF000000u);
        }
    }
    return found;
}

struct Seen {
    int yellow { 0 };
    int black { 0 };
};

// What the inside of the item (its bevel left out) shows.
Seen look(TSpButton* item, const QSet<QRgb>& yellows)
{
    const QImage image = item->grab().toImage().convertToFormat(QImage::Format_RGB32);
    Seen seen;
    for (int y = 2; y < image.height() - 2; ++y) {
        for (int x = 2; x < image.width() - 2; ++x) {
            const QRgb p = image.pixel(x, y) | 0xFF000000u;
            seen.yellow += yellows.contains(p);
            seen.black += p == qRgb(0, 0, 0);
        }
    }
    return seen;
}

} // namespace

// A cut folder waits greyed, picture and caption, until it is pasted; a
// folder the user cannot tell from the others could be deleted unseen.
TEST_F(ShelfTest, ACutFolderIsDrawnGreyUntilItIsPasted)
{
    TPrincipal* main = startMain();
    main->setGeometry(0, 0, 300, 200);
    main->show();
    for (const int tipo : { 0, 1, 7 }) { // 40x40 picture only, 80x40 with caption, 40x20 small
        SCOPED_TRACE(tipo);
        state().pressPoint = { 10, 10 };
        TSpButton* folder = main->commands().newFolder();
        folder->setTipo(tipo);
        folder->refreshGlyph();
        const QSet<QRgb> own = yellowsOf(folder->Glyph());
        ASSERT_FALSE(own.isEmpty());
        const Seen before = look(folder, own);
        EXPECT_GT(before.yellow, 0);

        state().currentItem = folder;
        main->commands().cut();
        ASSERT_EQ(state().cutBuffer(), folder);
        const Seen cut = look(folder, own);
        EXPECT_EQ(cut.yellow, 0);
        // The outline and the caption are grey too.
        EXPECT_EQ(cut.black, 0);

        state().pressPoint = { 100, 100 };
        main->commands().paste();
        EXPECT_EQ(state().cutBuffer(), nullptr);
        EXPECT_EQ(look(folder, own).yellow, before.yellow);
        EXPECT_EQ(folder->pos(), QPoint(100, 100));
        state().currentItem = folder;
        main->commands().deleteFolder();
    }
}
