#pragma once

// Rows and keys of the table SRUses.
namespace model {

// Adds a line (Quantity 1, Periods 1) after the outcome's last one; returns its key.
int AddSRUseRecord(int outcomeKey, int typeKey);
void DeleteOutcomeSRUses(int outcomeKey);
// Forgets the cached key; run whenever a data file is loaded or closed.
void ResetSRUseKey();
int OutcomeSRUseCount(int outcomeKey);
// The highest ItemIndex of the outcome's lines, 0 when it has none.
int OutcomeSRUseMaxIndex(int outcomeKey);
int GetLastSRUseKey();

} // namespace model
