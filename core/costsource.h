#pragma once

namespace core {

// How an outcome's suppression cost is estimated, by the number the data file stores in
// Outcomes.CostSource. A file may hold any other number; it stands for no estimate (cost 0).
enum class CostSource { BySize = 1, ResourceList = 2, Daily = 4, Entered = 8 };

constexpr int StoredValue(CostSource source) { return static_cast<int>(source); }

} // namespace core
