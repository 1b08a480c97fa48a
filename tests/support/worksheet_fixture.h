#pragma once

// A data file for a worksheet test, made from the template, with the model's caches cleared
// before and after each test, as a worksheet meets them after the file is loaded. The typed
// form and its helpers go in the fixture of each folder, on top of this one.

#include "support/analysis_builder.h"
#include "support/datafile_fixture.h"

class WorksheetDataFixture : public DatafileFixture {
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
};
