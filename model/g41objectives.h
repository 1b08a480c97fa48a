#pragma once

// The objectives tree (root 1) held in pre-order. Pointers stay valid until the second
// ClearObjectives after they were handed out.

#include "model/c41objective.h"

#include <QList>
#include <QString>

namespace model {

// The cached tree in pre-order, root first; loaded on first use.
const QList<c41Objective*>& ObjectivesCollection();
// Throws std::out_of_range for a key not in the tree.
c41Objective* GetObjective(int key);
// Nodes with a nonzero priority, except categories whose objectives all have priority 0.
QList<c41Objective*> GetPrioritizedObjectives();
QList<c41Objective*> GetPrioritizedCategories();
int SumObjectivePriorities();
int ObjectiveCount();
void ClearObjectives();
// Adds an objective at the end of the parent's chain; the name reaches the row on SaveChanges.
c41Objective* AddObjective(const QString& name, int parentKey);
void DeleteObjective(int key);
void GetObjectives();
// Adds a row linked at the end of the parent's chain and returns its key (safety issues, the
// children of 2, start at priority 10).
int NewObjectiveKey(const QString& name, int parentKey);

} // namespace model
