#include "items/CoverIndex.h"

#include "items/TSpButton.h"

#include <QRandomGenerator>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using tolm::items::CoverIndex;

namespace {

struct Child {
    QRect bounds;
    bool hidden { false };
};

// The index must give exactly the answer of the item's own point-by-point
// test, for every item of a window, whatever the layout.
void expectSameAnswers(const std::vector<Child>& layout)
{
    QWidget window;
    window.resize(800, 600);
    std::vector<TSpButton*> items;
    for (const Child& c : layout) {
        auto* item = new TSpButton(&window);
        item->setGeometry(c.bounds);
        item->setVisible(!c.hidden);
        items.push_back(item);
    }
    const CoverIndex index(&window);
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(testing::Message()
            << "item " << i << " at " << items[i]->geometry().x() << "," << items[i]->geometry().y() << " "
            << items[i]->width() << "x" << items[i]->height());
        EXPECT_EQ(index.covered(items[i]), items[i]->isCovered());
    }
}

TEST(CoverIndexTest, AnswersAsTheItemsOwnTestDoes)
{
    const std::vector<std::vector<Child>> layouts {
        // Side by side, touching, and one pixel over the edge.
        { { { 0, 0, 40, 40 } }, { { 40, 0, 40, 40 } }, { { 79, 0, 40, 40 } } },
        // Overlaps that miss every sample point (every tenth pixel) and ones that hit one.
        { { { 0, 0, 40, 40 } }, { { 1, 1, 9, 9 } } },
        { { { 0, 0, 40, 40 } }, { { 1, 1, 10, 10 } } },
        { { { 0, 0, 40, 40 } }, { { 31, 31, 9, 9 } } },
        { { { 0, 0, 41, 41 } }, { { 40, 40, 1, 1 } } },
        // A pile: only the top one shows everywhere.
        { { { 5, 5, 40, 40 } }, { { 5, 5, 40, 40 } }, { { 5, 5, 40, 40 } } },
        // Hidden children neither cover nor count as shown.
        { { { 0, 0, 40, 40 } }, { { 0, 0, 40, 40 }, true } },
        // Across cell edges and at negative places.
        { { { 60, 60, 40, 40 } }, { { 63, 63, 5, 5 } }, { { -70, -70, 40, 40 } }, { { -40, -40, 20, 20 } } },
        // A child far larger than a cell over small ones, and small ones over it.
        { { { 100, 100, 20, 20 } }, { { 0, 0, 2000, 2000 } }, { { 300, 300, 20, 20 } } },
    };
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "layout " << i);
        expectSameAnswers(layouts[i]);
    }

    // Many random ones, piled near each other.
    QRandomGenerator random(15);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(testing::Message() << "random layout " << round);
        std::vector<Child> layout;
        for (int i = 0; i < 60; ++i) {
            const int side = random.bounded(1, 3) * 20;
            layout.push_back({ { random.bounded(-50, 250), random.bounded(-50, 250),
                                   side + random.bounded(0, 30), side + random.bounded(0, 2) },
                random.bounded(10) == 0 });
        }
        expectSameAnswers(layout);
    }
}

TEST(CoverIndexTest, ARectangleBelowEverythingIsCoveredWhereASamplePointLiesInAFiledChild)
{
    CoverIndex index;
    index.add(QRect(40, 0, 40, 40)); // x 40..79, y 0..39
    index.add(QRect(0, 40, 20, 20)); // x 0..19, y 40..59
    struct Case {
        QRect area;
        bool covered;
    };
    const Case cases[] = {
        { { 0, 0, 40, 40 }, false }, // beside both
        { { 0, 0, 41, 40 }, true }, // sample (40, 0)
        { { 1, 0, 40, 40 }, false }, // reaches x = 40, but its samples are x = 1, 11, 21, 31
        { { 20, 20, 20, 20 }, false }, { { 0, 30, 20, 20 }, true }, // sample (0, 40)
        { { 200, 200, 40, 40 }, false }, { { 45, 5, 0, 0 }, false }, // an empty area has no samples
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
            << c.area.x() << "," << c.area.y() << " " << c.area.width() << "x" << c.area.height());
        EXPECT_EQ(index.covered(c.area), c.covered);
    }
}

} // namespace
