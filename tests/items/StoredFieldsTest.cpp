#include "ItemsTestSupport.h"

#include <functional>

using namespace tolm;
using store::Clase;

namespace {

using StoredFieldsTest = test::ItemsTest;

// Every kind keeps what its fields mean in `Tag`, `tag1` and `tag2` exactly as
// shelf files hold it: an item set up through its accessors by meaning writes
// the raw figures, the runtime flags go into `Tag` only where a file has
// always kept them, and an item read back writes the same bytes again.
TEST_F(StoredFieldsTest, EveryKindWritesItsFieldsAsStored)
{
    struct Row {
        int clase;
        std::function<void(TSpButton&)> setUp;
        int tag, tag1, tag2;
    };
    const Row rows[] = {
        { int(Clase::Normal),
            [](TSpButton& b) {
                b.setIconIndex(7);
                b.setShowsIcon(true);
            },
            7, 1, 0 },
        { int(Clase::Carpeta),
            [](TSpButton& b) {
                b.setFolderOpen(true);
                b.setShowsIcon(true);
                b.setTimerRepaint(true);
            },
            1, 1, 0 },
        { int(Clase::Reloj),
            [](TSpButton& b) {
                b.setClockOptions(TSpButton::kTagNoSeconds | TSpButton::kTagNoDate);
                b.setClockOption(TSpButton::kTagTextClock, true);
                b.setClockOption(TSpButton::kTagNoSeconds, false);
                b.setTimeShown(10, 15);
                b.setCoveredFlag(true);
                b.setTimerRepaint(true);
            },
            2 | 8 | 16, 10, 15 },
        { int(Clase::Disco),
            [](TSpButton& b) {
                b.setDriveType(3);
                b.setRefreshPeriod(8);
                b.setCountdown(5);
                b.markSourceChanged();
                b.setCoveredFlag(true);
            },
            (3 << 5) | 16, -2, 2048 + 5 },
        { int(Clase::Memoria),
            [](TSpButton& b) {
                b.setRefreshPeriod(2);
                b.markDrawWhole();
                b.setTimerRepaint(true);
            },
            0, -1, 512 },
        // Kinds without fields of their own keep any raw figure, less the
        // repaint mark that was never stored.
        { int(Clase::Recursos), [](TSpButton& b) { b.setTag(16 | 32768 | 4); }, 16 | 4, 0, 0 },
        { 9, [](TSpButton& b) { b.setTag(16 | 32768); }, 16, 0, 0 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.clase);
        TSpButton item;
        store::SpButtonState seed;
        seed.clase = std::uint8_t(row.clase);
        item.fromState(seed);
        row.setUp(item);

        store::SpButtonState expected = item.toState("Principal.Menu");
        EXPECT_EQ(expected.tag, row.tag);
        EXPECT_EQ(expected.tag1, row.tag1);
        EXPECT_EQ(expected.tag2, row.tag2);

        TSpButton reread;
        reread.fromState(expected);
        EXPECT_EQ(store::writeSpButton(reread.toState("Principal.Menu")), store::writeSpButton(expected));
        EXPECT_EQ(reread.coveredFlag(), item.coveredFlag());
    }
}

} // namespace
