#pragma once

#include "worksheets/objectives_alternatives/objectivetreeform.h"

namespace worksheets {

// Describe Objectives: the objective categories (group rows) and the objectives under each,
// beside the resource objectives of a management area the user picks, to keep the two
// consistent. A new objective starts at priority 0.
class frm33Objectives : public ObjectiveTreeForm {
    Q_OBJECT
public:
    explicit frm33Objectives(QWidget* parent = nullptr) : ObjectiveTreeForm(ConfigFor(Tree::Objectives), parent) {}
};

} // namespace worksheets
