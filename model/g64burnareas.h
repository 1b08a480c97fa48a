#pragma once

#include <array>
#include <optional>

namespace model {

// How far one set of FIL amounts reaches (the property "FIL option"): 1 every burn area of
// every outcome, 2 each FMU's burn areas, 3 each outcome's own; 1 when missing or unknown.
int FILOption();

// Under FIL option 1 the one set every burn area holds, whenever it was made: the FIL portions
// of the shared Extreme outcome, from its row for the first FMU other than leaveOutFMUKey that
// has one, else from its whole-fire row. Nothing under the other options, or when the Extreme
// outcome has no such row.
std::optional<std::array<int, 6>> SharedFILPortions(int leaveOutFMUKey);

// Adds the OutcomeFMZs row of a new outcome for one FMU (0: the whole fire), with portion 50;
// a stale row under the same keys is overwritten. sourceOutcomeKey is the Target outcome of the
// first alternative, whose FIL split in the same FMU is copied; pass 0 when there is no
// alternative yet (the split is then all at FIL 4, or, under FIL option 1, the one every burn
// area holds: the Extreme outcome's).
void AddOutcomeFMZ(int outcomeKey, int fmuKey, int sourceOutcomeKey);
// Deletes every OutcomeFMZs row of the outcome.
void DeleteOutcomeFMZs(int outcomeKey);

} // namespace model
