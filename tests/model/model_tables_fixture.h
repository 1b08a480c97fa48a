#pragma once

// A fresh data file with the caches of the FMU, NVC, objective and item modules dropped before
// and after each test, so that no object of one test's file survives into the next.

#include "core/g0items.h"
#include "model/g33fmus.h"
#include "model/g34nvcresources.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "support/datafile_fixture.h"

#include <initializer_list>

class ModelTablesFixture : public DatafileFixture {
protected:
    void SetUp() override
    {
        clearCaches();
        DatafileFixture::SetUp();
    }
    void TearDown() override
    {
        clearCaches();
        DatafileFixture::TearDown();
    }
    static void clearCaches()
    {
        model::ClearFMUs();
        model::ClearNVCResources();
        model::ClearObjectives();
        model::ClearSafetyIssues();
        core::ClearItems();
    }

    int count(const QString& sql, const QVariantList& params = {})
    {
        return db().OpenRecordset(sql, params)->Field(0).toInt();
    }
    void addOutcome(int key, int parentKey = 26, int childIndex = 1)
    {
        db().Execute("INSERT INTO Outcomes (ItemKey, ParentKey, ChildIndex) VALUES (?, ?, ?)",
                     {key, parentKey, childIndex});
    }
    void setFMZ(int outcomeKey, int fmuKey, int portion, std::initializer_list<int> fil)
    {
        db().Execute("DELETE FROM OutcomeFMZs WHERE OutcomeKey = ? AND FMZKey = ?", {outcomeKey, fmuKey});
        QVariantList v{outcomeKey, fmuKey, portion};
        for (int p : fil)
            v.append(p);
        db().Execute("INSERT INTO OutcomeFMZs (OutcomeKey, FMZKey, Portion, FIL1Portion, FIL2Portion, "
                     "FIL3Portion, FIL4Portion, FIL5Portion, FIL6Portion) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                     v);
    }
    // Sets one NVC cell of an FMU's stored table, adding the row when needed.
    void setNVC(int fmuKey, int resource, int fil, float value)
    {
        db().Execute("INSERT OR IGNORE INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6) "
                     "VALUES (?, ?, 0, 0, 0, 0, 0, 0)",
                     {fmuKey, resource});
        db().Execute(QStringLiteral("UPDATE NVCPerAcre SET FIL%1 = ? WHERE FMZKey = ? AND ResourceNumber = ?").arg(fil),
                     {value, fmuKey, resource});
    }
    // Stores a cost table for an FMU: brackets from 1 on, the rest 0.
    void setCosts(int fmuKey, std::initializer_list<float> tops, std::initializer_list<float> costs)
    {
        db().Execute("DELETE FROM SuppressionPerAcreCost WHERE FMZKey = ?", {fmuKey});
        auto t = tops.begin();
        auto c = costs.begin();
        for (int s = 1; s <= 9; ++s) {
            const float top = t != tops.end() ? *t++ : 0.0f;
            const float cost = c != costs.end() ? *c++ : 0.0f;
            db().Execute("INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES (?, ?, ?, ?)",
                         {fmuKey, s, top, cost});
        }
    }
};
