#pragma once

#include "worksheets/objectives_alternatives/objectivetreeform.h"

namespace worksheets {

// Safety Issues: the safety root (shown as the one group row) and the issues under it. A new
// issue starts at the highest priority.
class frm32SafetyIssues : public ObjectiveTreeForm {
    Q_OBJECT
public:
    explicit frm32SafetyIssues(QWidget* parent = nullptr) : ObjectiveTreeForm(ConfigFor(Tree::SafetyIssues), parent) {}
};

} // namespace worksheets
