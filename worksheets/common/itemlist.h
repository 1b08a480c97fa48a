#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QListWidget;

namespace worksheets {

// A list box or combo box whose entries each carry a record key (their ItemData). click()
// is raised whenever the selected entry changes to another entry, whether the user picks
// it or the program sets listIndex; clearing, filling and setting the index to -1 raise
// nothing, and filling selects nothing. Keys are kept as the ui:: item-data helpers keep
// them, so those helpers serve on widget() as well (and their selections raise click).
// It belongs to its widget: create it with new, or let it go before the widget does.
class ItemList : public QObject {
    Q_OBJECT
public:
    explicit ItemList(QListWidget* list);
    explicit ItemList(QComboBox* combo);

    void clear();
    void addItem(const QString& text, int key);
    void removeItem(int index);
    int count() const;
    int newIndex() const { return mNewIndex; }          // index of the entry added last
    int itemData(int index) const;                      // 0 outside the list
    QString itemText(int index) const;
    // Changes an entry's text in place (a list that follows typing); raises nothing.
    void setItemText(int index, const QString& text);
    int listIndex() const;                              // -1 when none is selected
    // An error that the click handler it runs meets is thrown from here.
    void setListIndex(int index);
    int currentKey() const { return itemData(listIndex()); }
    QString text() const;                               // the selected entry (a combo's edit text)
    // Index of the entry with that key; -1 when none.
    int findKey(int key) const;

    QWidget* widget() const;

signals:
    void click();

private:
    void indexChanged(int index);

    QListWidget* mList = nullptr;
    QComboBox* mCombo = nullptr;
    int mNewIndex = -1;
    bool mFilling = false;
};

// Shows the list's chosen entry through SwitchShownObject. When the object shown cannot be
// stored, its entry (shownKey: its key, 0 for none) is selected again without a click and the
// failure goes on, so that what the user types next still lands on the entry on screen.
void SwitchShownEntry(ItemList& list, const std::function<int()>& shownKey, const std::function<void()>& save,
                      const std::function<void()>& fetchAndDisplay);

} // namespace worksheets
