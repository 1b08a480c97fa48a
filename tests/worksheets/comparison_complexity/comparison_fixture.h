#pragma once

// A data file from the template with alternatives written through the model, each with a
// typed-in Target cost and, where asked, a Fallback; the caches cleared afterwards, as after
// loading the file.

#include "core/costsource.h"
#include "core/g0items.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "support/analysis_builder.h"
#include "support/worksheet_fixture.h"
#include "support/keeppicture.h"

#include <QApplication>
#include <QWidget>

class ComparisonFixture : public WorksheetDataFixture {
protected:
    using Alt = testsupport::CostedAlternative;

    // Adds the alternative (named "A", "B", ... in order) and returns its key.
    int addAlternative(const Alt& a) { return testsupport::AddCostedAlternative(a); }
    void reload() { testsupport::ClearModelCaches(); }
};
