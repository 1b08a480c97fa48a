#pragma once

#include <QString>

class QComboBox;
class QListWidget;

namespace ui {

// List and combo entries carry a record key beside their text (in Qt::UserRole).
void AddListItem(QListWidget* list, const QString& text, int itemData);
void AddComboItem(QComboBox* combo, const QString& text, int itemData);

// The key of the list's current entry (0 when none is current).
int GetListItemData(const QListWidget* list);
// The key of the combo's current entry, 0 when none is selected.
int GetComboItemData(const QComboBox* combo);
// Selects the first entry, from the top, that carries the key; with none, no entry is selected.
void SelectComboItemByData(QComboBox* combo, int itemData);

} // namespace ui
