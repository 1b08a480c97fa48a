#pragma once

class QListWidget;

namespace worksheets {

// A list whose long entries break into lines within its width instead of running past its
// edge, a little room above and below each entry so that where one ends and the next begins
// shows. An entry whose text changes takes the lines it now needs.
void WrapLongEntries(QListWidget* list);

} // namespace worksheets
