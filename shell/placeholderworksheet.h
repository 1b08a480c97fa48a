#pragma once

#include "worksheets/common/worksheetform.h"

namespace shell {

struct WorksheetInfo;

// Stands in for a worksheet whose form the program does not have: shows the worksheet's
// caption and keeps the worksheet protocol, so that navigation works everywhere.
class PlaceholderWorksheet : public worksheets::WorksheetForm {
    Q_OBJECT
public:
    PlaceholderWorksheet(const WorksheetInfo& info, QWidget* parent);
    void Setup() override;
};

} // namespace shell
