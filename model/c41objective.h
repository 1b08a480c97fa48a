#pragma once

#include "model/treesgeneration.h"
#include "platform/dao/rowsave.h"

#include <QList>
#include <QString>

namespace model {

// One node of the objectives tree (root 1 -> categories -> objectives) or of the safety tree
// (root 2 -> safety issues). The links between nodes live in the table only.
class c41Objective {
public:
    int ItemKey() const { return mItemKey; }
    QString ItemName() const { return mItemName; }
    void SetItemName(const QString& value);
    QString Description() const { return mDescription; }
    void SetDescription(const QString& value);
    int ParentKey() const { return mParentKey; }

    bool bRoot() const { return mItemKey == 1; }
    bool bCategory() const { return mParentKey == 1; }
    bool bObjective() const;
    bool bSafetyRoot() const { return mItemKey == 2; }
    bool bSafetyCategory() const { return mParentKey == 2; }
    bool bSafetyIssue() const { return mParentKey == 2; }

    int Priority() const { return mPriority; }
    void SetPriority(int value);
    // Priority over the sum of the tree's priorities (equal shares when that sum is 0; 0 when
    // there is nothing to share with); 1 for the roots. Always that of the trees and priorities
    // as they are now.
    float Weight() const
    {
        if (bRoot() || bSafetyRoot())
            return 1.0f;
        return mWeightFor == detail::TreesGeneration() ? mWeight : weightNow();
    }
    int ChildrenPriorities() const;

    void Initialize(int key, const QString& name, const QString& description, int priority, int parentKey);
    void SaveChanges();
    // Unlinks the node from its parent's chain and deletes its row and its Scores rows.
    void Delete();
    // The nodes of the objectives tree whose parent is this node, in tree order.
    QList<c41Objective*> GetChildren() const;

    bool Changed() const { return mChanged; }

private:
    void Unlink();
    // Works the weight out for the trees as they are now and keeps it.
    float weightNow() const;

    int mItemKey = 0;
    QString mItemName;
    QString mDescription;
    int mParentKey = 0;
    int mPriority = 0;
    dao::ChangeFlag mChanged;
    // The weight as worked out at a generation of the trees, which every change of a node or a
    // priority moves on: every score of every outcome asks for it, and each time it was a
    // division.
    mutable float mWeight = 0.0f;
    mutable unsigned long long mWeightFor = ~0ull;
};

} // namespace model
