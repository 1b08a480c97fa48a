#pragma once

#include "model/c68sruse.h"
#include "model/keyedcollection.h"

#include <memory>

namespace model {

using SRUseLines = KeyedCollection<c68SRUse>;

// The suppression resource lines of one outcome, in ascending ItemIndex as loaded.
class c67SRUseList {
public:
    // Sum of the lines' use costs, unrounded.
    float SRUseCost() const;
    // The lines in ItemIndex order (as loaded; new lines at the end).
    const SRUseLines& SRUseCollection() const { return mLines; }
    int SRUseCount() const { return mLines.Count(); }

    void Initialize(int outKey);
    std::shared_ptr<c68SRUse> NewSRUse(int typKey);
    // Deletes this list's lines, then appends copies of lst's lines.
    void ReplaceList(const c67SRUseList& lst);
    // Appends copies of lst's lines (new keys, same types, quantities and periods).
    void AppendList(const c67SRUseList& lst);
    void DeleteSRUse(int iKey);

    int OutcomeKey() const { return mOutcomeKey; }

private:
    int mOutcomeKey = 0;
    SRUseLines mLines;
};

} // namespace model
