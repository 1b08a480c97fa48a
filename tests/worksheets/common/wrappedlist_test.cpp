// A list entry of a name from a damaged or foreign file may run to tens of thousands of
// characters: a list lays out no more of it than it can show, so its height or width stays
// within a few screens however long the name, and short names show whole.

#include "worksheets/common/itemlist.h"
#include "worksheets/common/wrappedlist.h"

#include <QListWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(ListEntries, AHugeNameIsLaidOutOnlyAsFarAsTheListShows)
{
    const QString huge = QStringLiteral("Upper watershed ").repeated(4000);   // 64,000 characters
    const struct {
        const char* list;
        std::function<void(QListWidget&)> make;
        bool wraps;
    } cases[] = {
        {"wrapped", [](QListWidget& l) { worksheets::WrapLongEntries(&l); }, true},
        {"item list", [](QListWidget& l) { new worksheets::ItemList(&l); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        QListWidget list;
        c.make(list);
        list.resize(240, 200);
        list.show();
        list.addItem(QStringLiteral("Grazing allotments"));
        list.addItem(huge);
        const QSize shortEntry = list.visualItemRect(list.item(0)).size();
        const QSize hugeEntry = list.sizeHintForIndex(list.model()->index(1, 0));
        // Laid out whole it would be hundreds of lines (wrapped) or a line of half a million pixels.
        if (c.wraps)
            EXPECT_LE(hugeEntry.height(), 2 * list.viewport()->height() + 2 * shortEntry.height());
        else
            EXPECT_LE(hugeEntry.width(), 50000);
        EXPECT_EQ(list.item(1)->text(), huge) << "the entry keeps its whole text";
    }
}

} // namespace
