#include "platform/ui/itemdata.h"

#include <QComboBox>
#include <QListWidget>

namespace ui {

void AddListItem(QListWidget* list, const QString& text, int itemData)
{
    auto* item = new QListWidgetItem(text, list);
    item->setData(Qt::UserRole, itemData);
}

void AddComboItem(QComboBox* combo, const QString& text, int itemData) { combo->addItem(text, itemData); }

int GetListItemData(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

int GetComboItemData(const QComboBox* combo)
{
    const int index = combo->currentIndex();
    return index < 0 ? 0 : combo->itemData(index).toInt();
}

void SelectComboItemByData(QComboBox* combo, int itemData)
{
    // An entry added without a key carries 0, as GetComboItemData reads it.
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemData(i).toInt() == itemData) {
            combo->setCurrentIndex(i);
            return;
        }
    }
    combo->setCurrentIndex(-1);
}

} // namespace ui
