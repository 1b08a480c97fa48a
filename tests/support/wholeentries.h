#pragma once

// Checks that every entry of a list shows its whole text where the list is: on the lines
// its width gives it, inside the list, below the entry before it, with no sideways scrolling.

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>

#include <gtest/gtest.h>

namespace testsupport {

inline void ExpectEntriesShowWhole(QListWidget* list)
{
    QApplication::processEvents();   // entries laid out again after a change of text
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    int above = -1;
    for (int i = 0; i < list->count(); ++i) {
        SCOPED_TRACE(list->item(i)->text().toStdString());
        const QRect entry = list->visualItemRect(list->item(i));
        const QRect room(0, 0, entry.width() - 2 * margin, 1 << 20);
        const QRect used = list->fontMetrics().boundingRect(room, Qt::TextWordWrap, list->item(i)->text());
        EXPECT_LE(used.width(), room.width());
        EXPECT_LE(used.height(), entry.height());
        EXPECT_LE(entry.right(), list->viewport()->width());
        EXPECT_GT(entry.top(), above);
        above = entry.bottom();
    }
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
}

} // namespace testsupport
