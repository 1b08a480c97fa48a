#pragma once

// The safety tree (root 2 -> safety issues) held in pre-order. Pointers stay valid until the
// second ClearSafetyIssues after they were handed out.

#include "model/c41objective.h"

#include <QList>
#include <QString>

namespace model {

const QList<c41Objective*>& SafetyIssuesCollection();
// Throws std::out_of_range for a key not in the tree.
c41Objective* GetSafetyIssue(int key);
int SumSafetyIssuePriorities();
int SafetyIssueCount();
void ClearSafetyIssues();
c41Objective* AddSafetyIssue(const QString& name, int parentKey = 2);
void DeleteSafetyIssue(int key);
void GetSafetyIssues();
// Only the safety root.
QList<c41Objective*> GetSafetyRootList();

} // namespace model
