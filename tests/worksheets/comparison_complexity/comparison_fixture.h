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
#include "support/datafile_fixture.h"
#include "support/keeppicture.h"

#include <QApplication>
#include <QWidget>

class ComparisonFixture : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        testsupport::ClearModelCaches();
    }
    void TearDown() override
    {
        testsupport::ClearModelCaches();
        DatafileFixture::TearDown();
    }

    struct Alt {
        QString heading;
        double targetCost = 0;
        int targetSuccess = 100;
        int fallbackSuccess = -1;   // -1: no Fallback
        double fallbackCost = 0;
    };

    // Adds the alternative (named "A", "B", ... in order) and returns its key.
    int addAlternative(const Alt& a)
    {
        const int n = model::GetAlternatives().Count();
        auto alt = model::AddAlternative(QString(QChar('A' + n)));
        alt->SetHeading(a.heading);
        alt->SaveChanges();
        auto target = alt->Outcome(1);
        target->SetSuccess(a.targetSuccess);
        target->SetCostSource(model::CostSource::Entered);
        target->SetAdjustedCost(float(a.targetCost));
        target->SaveChanges();
        auto fallback = alt->Outcome(2);
        fallback->SetSuccess(a.fallbackSuccess);
        fallback->SetCostSource(model::CostSource::Entered);
        fallback->SetAdjustedCost(float(a.fallbackCost));
        fallback->SaveChanges();
        return alt->ItemKey();
    }
    void reload() { testsupport::ClearModelCaches(); }
};
