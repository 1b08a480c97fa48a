#pragma once

#include "model/c41objective.h"
#include "model/keyedlist.h"
#include "model/treesgeneration.h"

#include <memory>
#include <vector>

namespace model::detail {

// Loads a tree in pre-order from its root. Each node is loaded once, so a damaged file whose
// links run in a circle still loads.
void LoadObjectiveTree(KeyedList<c41Objective>& tree, int rootKey);

// The cached tree under one root (1: objectives, 2: safety issues). A tree replaced by a
// reload stays alive until the next clear, and the tree of the last clear until the clear
// after it: a worksheet clears right after adding a node and fetches its current node again
// only after refilling its grid.
class ObjectiveTree {
public:
    explicit ObjectiveTree(int rootKey) : mRootKey(rootKey) {}

    bool loaded() const { return bool(mTree); }
    KeyedList<c41Objective>& nodes() { return *mTree; }
    void reload();
    void clear();
    // Adds a row at the end of the parent's chain and its node to the loaded tree.
    c41Objective* add(const QString& name, int parentKey);

private:
    using Tree = std::unique_ptr<KeyedList<c41Objective>>;
    int mRootKey;
    Tree mTree;
    std::vector<Tree> mRetired;
    std::vector<Tree> mLastCleared;
};

} // namespace model::detail
