#pragma once

namespace model {
class c51Alternative;
}

// The trees of the decision tree section, one below the other.
namespace reports::sections {

// The room the tree of an alternative takes down the page: at least 3500 twips without a Fallback
// and 4000 with one, more when the basis of its chances is long. Prints nothing.
int TreeHeight(model::c51Alternative& alternative);
// Draws the tree with its top at y and returns where the next tree may start: y plus its height,
// or, when the basis of its chances ran on to a later page, below the end of it there.
int DrawDecisionTree(model::c51Alternative& alternative, int y);

}  // namespace reports::sections
