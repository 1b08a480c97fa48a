#pragma once

namespace model {

// Adds the OutcomeFMZs row of a new outcome for one FMU (0: the whole fire), with portion 50;
// a stale row under the same keys is overwritten. sourceOutcomeKey is the Target outcome of the
// first alternative, whose FIL split in the same FMU is copied; pass 0 when there is no
// alternative yet (the split is then all at FIL 4).
void AddOutcomeFMZ(int outcomeKey, int fmuKey, int sourceOutcomeKey);
// Deletes every OutcomeFMZs row of the outcome.
void DeleteOutcomeFMZs(int outcomeKey);

} // namespace model
