#include "ItemsTestSupport.h"
#include "app/TPrincipal.h"
#include "items/ItemFont.h"
#include "items/ItemReports.h"

#include <QApplication>
#include <climits>

using namespace tolm;
using tolm::store::Clase;

namespace {

// A shelf file can hold any 32-bit figure. Every stored figure the item does
// arithmetic on is tried at both ends of the range, one at a time and all at
// once, on every kind of item: the item shows, paints, ticks and saves. Built
// with the sanitizers this catches any overflow on the way; in every build a
// launcher saves exactly what it read.
class ExtremeValuesTest : public tolm::test::ShelfItemsTest {
protected:
    // A launcher with a picture, a caption and its own font, so that margin,
    // spacing and font height all take part in its layout.
    store::SpButtonState launcherState()
    {
        TSpButton seed;
        seed.setTipo(int(store::Tipo::T120x40));
        seed.setCaption(QStringLiteral("Calculadora"));
        QImage glyph(16, 16, QImage::Format_RGB32);
        glyph.fill(qRgb(0, 0, 128));
        seed.setGlyph(glyph);
        store::FontState font;
        font.name = "Sans";
        seed.setOwnFont(font);
        store::SpButtonState state = seed.toState(kMenu);
        state.margin = 2;
        state.tag1 = 1;
        return state;
    }

    static constexpr const char* kMenu = "Principal.MenuBoton";
};

TEST_F(ExtremeValuesTest, ItemsShowPaintAndSaveWhateverFiguresTheFileHolds)
{
    const char* const figures[] = { "Left", "Top", "Width", "Height", "Font.Height", "Font.Size", "Margin",
        "Spacing", "tag1", "tag2" };
    std::vector<std::vector<store::Property>> records;
    for (const char* name : figures) {
        for (const std::int32_t value : { INT_MIN, INT_MAX })
            records.push_back({ { name, store::Value::integerValue(value) } });
    }
    // The point size whose pixel height is exactly 2^31.
    records.push_back({ { "Font.Size", store::Value::integerValue(1610612736) } });
    for (const std::int32_t value : { INT_MIN, INT_MAX }) {
        records.emplace_back();
        for (const char* name : figures)
            records.back().push_back({ name, store::Value::integerValue(value) });
    }

    const Clase kinds[] = { Clase::Normal, Clase::Carpeta, Clase::Reloj, Clase::Disco, Clase::Memoria };
    shelf()->show();
    for (const auto& record : records) {
        for (const Clase kind : kinds) {
            SCOPED_TRACE(testing::Message() << record.front().name << " = " << record.front().value.integer
                                            << " (" << record.size() << " figures), kind " << int(kind));
            store::SpButtonState stored = launcherState();
            stored.clase = std::uint8_t(kind);
            // Through the reader's own setters, as a file would set them.
            for (const store::Property& property : record)
                store::applySpButtonProperty(stored, property);

            auto* item = new TSpButton(shelf());
            if (kind == Clase::Disco)
                item->createPictureCache();
            item->fromState(stored);
            if (item->isTimerDriven())
                state.addTimerItem(item);
            item->isCovered();
            const QImage picture = item->grab().toImage();
            ASSERT_EQ(picture.size(), item->size());
            EXPECT_EQ(item->surface().size(), item->size());
            if (item->isTimerDriven())
                items::refreshOnTick(*item);
            item->setDown(true);
            item->grab();
            item->setDown(false);
            QApplication::processEvents();

            store::SpButtonState saved = item->toState(kMenu);
            if (kind >= Clase::Reloj) {
                // The tile's own picture refreshes these; everything else stays as read.
                saved.tag = stored.tag;
                saved.tag1 = stored.tag1;
                saved.tag2 = stored.tag2;
                saved.comando = stored.comando;
                saved.hint = stored.hint;
            }
            EXPECT_EQ(saved, stored);
            delete item;
        }
    }
}

TEST_F(ExtremeValuesTest, FontHeightsBecomeAPixelSizeInRange)
{
    struct Case {
        std::int32_t height;
        int pixels;
    };
    const Case cases[] = {
        { -11, 11 }, // character height
        { 15, 12 }, // cell height, less the internal leading
        { 0, 1 },
        { INT_MIN, items::kMaxFontPixels },
        { INT_MIN + 1, items::kMaxFontPixels },
        { INT_MAX, items::kMaxFontPixels },
        { -items::kMaxFontPixels - 1, items::kMaxFontPixels },
    };
    for (const Case& c : cases) {
        store::FontState font;
        font.height = c.height;
        EXPECT_EQ(items::qtFont(font).pixelSize(), c.pixels) << "height " << c.height;
    }
}

} // namespace
