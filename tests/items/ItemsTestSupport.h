#pragma once

#include "app/AppState.h"
#include "app/TPrincipal.h"
#include "gfx/Bitmaps.h"
#include "gfx/Color.h"
#include "items/ClockPicture.h"
#include "items/TSpButton.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace tolm::test {

// Every item test runs with the fake platform (Spanish locale, exact drives
// and memory), an application state, and a clock fixed at
// Wednesday 24 September 2025, 10:15:07.
class ItemsTest : public ::testing::Test {
public:
    void SetUp() override
    {
        state.hour = 10;
        state.minute = 15;
        state.second = 7;
    }

    // An item of a kind and format, not on any window.
    std::unique_ptr<TSpButton> makeItem(store::Clase clase, int tipo)
    {
        auto item = std::make_unique<TSpButton>();
        item->setClase(clase);
        item->setTipo(tipo);
        if (clase == store::Clase::Disco)
            item->createPictureCache();
        return item;
    }
    // Paints the item completely and returns what it drew.
    static const QImage& paintWhole(TSpButton& item)
    {
        item.grab();
        return item.surface();
    }
    // What the refresh timer does to repaint an item in place.
    static void paintInPlace(TSpButton& item)
    {
        item.setTimerRepaint(true);
        item.grab();
        item.setTimerRepaint(false);
    }

    // The item drawn into an image of the given pixel ratio, as a screen of
    // that density would show it.
    static QImage rendered(TSpButton& item, qreal ratio)
    {
        QImage image(item.size() * ratio, QImage::Format_ARGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        item.render(&image);
        return image;
    }

    static QRgb rgb(gfx::Color c) { return gfx::toQRgb(c); }

    // Whether w x h pixels of `image` at (x, y) equal those of `source` at (sx, sy).
    static bool sameBlock(
        const QImage& image, int x, int y, const QImage& source, int sx, int sy, int w, int h)
    {
        for (int j = 0; j < h; ++j) {
            for (int i = 0; i < w; ++i) {
                if ((image.pixel(x + i, y + j) & 0xFFFFFF) != (source.pixel(sx + i, sy + j) & 0xFFFFFF))
                    return false;
            }
        }
        return true;
    }
    static bool sameBlock(const QImage& image, int x, int y, const QImage& source, const gfx::Rect& r)
    {
        return sameBlock(image, x, y, source, r.left, r.top, r.width(), r.height());
    }
    // How many pixels of the rectangle have colour c.
    static int countColour(const QImage& image, const gfx::Rect& r, QRgb c)
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
        }
        return n;
    }

    // How many pixels of the rectangle differ from the button face: text
    // pixels, whatever the font draws them like.
    static int inked(const QImage& image, const gfx::Rect& r)
    {
        return r.width() * r.height() - countColour(image, r, gfx::toQRgb(gfx::clBtnFace));
    }

    AppState state;
    FakePlatform fake;
    platform::ScopedServices use { fake.services() };
    // The fake clock's time, where it stands unless set; moving it moves
    // what the clocks show.
    QDateTime& now { fake.clock.time };
};

// Items on a real shelf window, made on first use in an empty temporary
// shelf folder (the window writes its shelf file there).
class ShelfItemsTest : public ItemsTest {
public:
    void SetUp() override
    {
        ItemsTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        state.shelfFolder = m_dir.path().toStdString();
    }
    void TearDown() override
    {
        m_window.reset();
        ItemsTest::TearDown();
    }
    TPrincipal* shelf()
    {
        if (!m_window)
            m_window = std::make_unique<TPrincipal>();
        return m_window.get();
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TPrincipal> m_window;
};

} // namespace tolm::test
