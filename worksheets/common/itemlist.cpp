#include "worksheets/common/itemlist.h"

#include "platform/ui/guard.h"
#include "platform/ui/showntext.h"
#include "worksheets/common/worksheetform.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace worksheets {

ItemList::ItemList(QListWidget* list)
    : QObject(list)
    , mList(list)
{
    // An entry is laid out only as far as the list can show it.
    if (!dynamic_cast<ui::ShownTextDelegate*>(list->itemDelegate()))
        list->setItemDelegate(new ui::ShownTextDelegate(list));
    connect(list, &QListWidget::currentRowChanged, this, ui::Guarded(this, &ItemList::indexChanged));
}

ItemList::ItemList(QComboBox* combo)
    : QObject(combo)
    , mCombo(combo)
{
    connect(combo, &QComboBox::currentIndexChanged, this, ui::Guarded(this, &ItemList::indexChanged));
}

void ItemList::indexChanged(int index)
{
    if (!mFilling && index >= 0)
        emit click();
}

void ItemList::clear()
{
    mFilling = true;
    if (mList)
        mList->clear();
    else
        mCombo->clear();
    mFilling = false;
    mNewIndex = -1;
}

void ItemList::addItem(const QString& text, int key)
{
    mFilling = true;
    if (mList) {
        auto* item = new QListWidgetItem(text);
        item->setData(Qt::UserRole, key);
        mList->addItem(item);
        mNewIndex = mList->count() - 1;
    } else {
        const int before = mCombo->currentIndex();
        const QString typed = mCombo->isEditable() ? mCombo->currentText() : QString();
        mCombo->addItem(text, key);
        if (mCombo->currentIndex() != before) {   // a combo selects its first entry by itself
            mCombo->setCurrentIndex(before);
            if (mCombo->isEditable())
                mCombo->setEditText(typed);
        }
        mNewIndex = mCombo->count() - 1;
    }
    mFilling = false;
}

void ItemList::removeItem(int index)
{
    if (index < 0 || index >= count())
        return;
    mFilling = true;
    if (mList)
        delete mList->takeItem(index);
    else
        mCombo->removeItem(index);
    mFilling = false;
}

int ItemList::count() const { return mList ? mList->count() : mCombo->count(); }

int ItemList::itemData(int index) const
{
    if (index < 0 || index >= count())
        return 0;
    return mList ? mList->item(index)->data(Qt::UserRole).toInt() : mCombo->itemData(index).toInt();
}

QString ItemList::itemText(int index) const
{
    if (index < 0 || index >= count())
        return QString();
    return mList ? mList->item(index)->text() : mCombo->itemText(index);
}

void ItemList::setItemText(int index, const QString& text)
{
    if (index < 0 || index >= count())
        return;
    mFilling = true;
    if (mList)
        mList->item(index)->setText(text);
    else
        mCombo->setItemText(index, text);
    mFilling = false;
}

int ItemList::listIndex() const { return mList ? mList->currentRow() : mCombo->currentIndex(); }

void ItemList::setListIndex(int index)
{
    if (index < -1 || index >= count())
        return;
    // The click handler runs inside Qt's selection code: what it meets comes out here.
    ui::CallThroughQt([&] {
        if (mList) {
            mList->setCurrentRow(index);
            if (index < 0)
                mList->clearSelection();
        } else {
            mCombo->setCurrentIndex(index);
        }
    });
}

QString ItemList::text() const
{
    if (mCombo)
        return mCombo->currentText();
    return itemText(listIndex());
}

int ItemList::findKey(int key) const
{
    for (int i = 0; i < count(); ++i)
        if (itemData(i) == key)
            return i;
    return -1;
}

QWidget* ItemList::widget() const
{
    return mList ? static_cast<QWidget*>(mList) : static_cast<QWidget*>(mCombo);
}

void SwitchShownEntry(ItemList& list, const std::function<int()>& shownKey, const std::function<void()>& save,
                      const std::function<void()>& fetchAndDisplay)
{
    try {
        SwitchShownObject(save, fetchAndDisplay);
    } catch (...) {
        if (const int key = shownKey()) {
            const QSignalBlocker quiet(&list);
            list.setListIndex(list.findKey(key));
        }
        throw;
    }
}

} // namespace worksheets

