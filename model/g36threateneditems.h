#pragma once

#include "model/c36threateneditem.h"
#include "model/keyedcollection.h"

#include <QList>
#include <QStringList>

#include <memory>

// The values at risk of the open data file, in ascending ItemKey.
namespace model {

using ThreatenedItemCollection = KeyedCollection<c36ThreatenedItem>;

ThreatenedItemCollection& GetThreatenedItems();
// nullptr when the key is not a value at risk of the list.
std::shared_ptr<c36ThreatenedItem> GetThreatenedItem(int key);
// Sum of the values at risk, not rounded again.
double TotalValueAtRisk();

// One grid row: its cell texts and the value at risk it shows.
struct ThreatenedItemRow {
    QStringList cells;
    std::shared_ptr<c36ThreatenedItem> item;
};
// Name, potential loss "#,0", probability, value at risk "#,0".
QList<ThreatenedItemRow> ValuesAtRiskRows();
// The cells of one of those rows.
QStringList ValuesAtRiskCells(c36ThreatenedItem& item);
// Name, value at risk "#,0".
QList<ThreatenedItemRow> ValueAtRiskSummaryRows();

void ClearThreatenedItems();
std::shared_ptr<c36ThreatenedItem> AddThreatenedItem(const QString& name);
// Removes the value at risk with every row stored under its key, so a later item that is
// given the same key starts clean.
void DeleteThreatenedItem(int key);
void DeleteItemRecord(int key);
void LoadThreatenedItems();

} // namespace model
