#include "worksheets/common/wrappedlist.h"

#include <QListWidget>
#include <QStyledItemDelegate>

namespace worksheets {

namespace {

class SpacedEntries : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The text stays centred in the taller entry: the room falls half above and half below.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, kRoom);
    }

private:
    static constexpr int kRoom = 4;   // pixels
};

} // namespace

void WrapLongEntries(QListWidget* list)
{
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Entries are laid out again when the list's width changes, so they wrap to the new width.
    list->setResizeMode(QListView::Adjust);
    list->setItemDelegate(new SpacedEntries(list));
}

} // namespace worksheets
