#pragma once

// Rows stored under a value at risk or an outcome in ItemImpacts and ValuesProtected.
namespace model {

void DeleteItemImpactsForItem(int itemKey);
void DeleteItemImpactsForOutcome(int outcomeKey);
// Protection levels: removed with their value at risk or outcome, since keys are handed out again.
void DeleteValuesProtectedForItem(int itemKey);
void DeleteValuesProtectedForOutcome(int outcomeKey);

} // namespace model
