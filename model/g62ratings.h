#pragma once

namespace model {

// Deletes the Scores rows of a criterion (every outcome) or of an outcome (every criterion).
void DeleteCriterionScores(int criterionKey);
void DeleteOutcomeScores(int outcomeKey);

} // namespace model
