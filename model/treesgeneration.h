#pragma once

namespace model::detail {

// Counts every change of the trees' nodes or priorities, so that the sums a weight divides by
// are summed again exactly when something they depend on changed.
void TreesChanged();
// Read by every weight and rating of every figure: inline, where a call for it cost as much as
// the check it serves.
extern unsigned long long gTreesGeneration;
inline unsigned long long TreesGeneration() { return gTreesGeneration; }

} // namespace model::detail
