#pragma once

#include <QString>

namespace model {

// True when no table in use has a nonzero filtered value for any resource.
bool bNVCTableEmpty();
// Resource 1..14 (out of range throws std::out_of_range).
QString GetResourceName(int resource);
void SetResourceName(int resource, const QString& name);
void ClearNVCResources();
void LoadNVCResources();
// Writes the changed names; a missing row is added.
void SaveNVCResources();

} // namespace model
