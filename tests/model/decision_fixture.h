#pragma once

// A fresh data file with every model cache dropped before and after each test, plus the few
// helpers the decision-model tests share.

#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "support/analysis_builder.h"
#include "support/datafile_fixture.h"

class DecisionFixture : public DatafileFixture {
protected:
    void SetUp() override
    {
        testsupport::ClearModelCaches();
        DatafileFixture::SetUp();
    }
    void TearDown() override
    {
        testsupport::ClearModelCaches();
        DatafileFixture::TearDown();
    }
    // Reopens the file as loading it would: every cache dropped first.
    void reload()
    {
        testsupport::ClearModelCaches();
        reopen();
    }
    int count(const QString& sql, const QVariantList& params = {})
    {
        return db().OpenRecordset(sql, params)->Field(0).toInt();
    }
    int addSRType(const QString& name, const QString& unitType, double unitCost)
    {
        auto rs = db().OpenTable(QStringLiteral("SRTypes"));
        rs->AddNew();
        rs->SetField(QStringLiteral("ChildIndex"), 1);
        rs->SetField(QStringLiteral("LongName"), name);
        rs->SetField(QStringLiteral("UnitType"), unitType);
        rs->SetField(QStringLiteral("UnitCost"), unitCost);
        rs->Update();
        const int key = rs->Field(QStringLiteral("ItemKey")).toInt();
        rs->Close();
        return key;
    }
    // The whole-fire cost table: 500 $/acre up to 100 acres, 300 up to 1,000, 200 above.
    static void setCostTable()
    {
        model::c35AACTable* t = model::GetAACTable(0);
        t->SetTopSize(1, 100);
        t->SetCost(1, 500);
        t->SetTopSize(2, 1000);
        t->SetCost(2, 300);
        t->SetTopSize(3, 0);
        t->SetCost(3, 200);
        t->SaveChanges();
    }
};
