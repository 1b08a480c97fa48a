#include "support/datafile_fixture.h"

#include "core_sandbox.h"
#include "core/u14properties.h"

#include <sqlite3.h>

namespace {

class PropertiesTest : public DatafileFixture {
protected:
    int rows() { return db().OpenTable("Properties")->RecordCount(); }
    int changes() { return sqlite3_total_changes(db().handle()); }
};

TEST_F(PropertiesTest, GetReadsWithoutAdding)
{
    const int before = rows();
    EXPECT_EQ(core::Property_Get("DataFormatID"), "06.01.01");
    EXPECT_EQ(core::Property_Get("OverheadTeam"), "");
    EXPECT_EQ(rows(), before);

    db().Execute("INSERT INTO Properties (Property, Value) VALUES ('SRDataSource', NULL)");
    EXPECT_EQ(core::Property_Get("SRDataSource"), "");
}

TEST_F(PropertiesTest, GetOrAddAddsTheDefaultOnce)
{
    const int before = rows();
    EXPECT_EQ(core::Property_GetOrAdd("FIL option", "1"), "1");
    EXPECT_EQ(rows(), before + 1);
    EXPECT_EQ(core::Property_GetOrAdd("FIL option", "3"), "1");
    EXPECT_EQ(rows(), before + 1);
    reopen();
    EXPECT_EQ(core::Property_Get("FIL option"), "1");
}

TEST_F(PropertiesTest, SetAddsOrChangesAndSkipsAnEqualValue)
{
    core::Property_Set("UseNVCGains", "Yes");
    core::Property_Set("UseNVCGains", "No");
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "No");

    const int before = changes();
    core::Property_Set("UseNVCGains", "No");
    EXPECT_EQ(changes(), before);

    // A text that a number could be read from stays text.
    core::Property_Set("SelectedAlternativeKey", "007");
    reopen();
    EXPECT_EQ(core::Property_Get("SelectedAlternativeKey"), "007");
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "No");
}

class PropertiesClosedTest : public coretest::Sandbox {};

TEST_F(PropertiesClosedTest, WithNoFileNothingIsReadOrWritten)
{
    EXPECT_EQ(core::Property_Get("DataFormatID"), "");
    EXPECT_EQ(core::Property_GetOrAdd("FIL option", "1"), "");
    core::Property_Set("UseNVCGains", "Yes");
    core::Property_Set("ProgramID", "Advanced");
    EXPECT_EQ(log("ERROR.LOG").count("Property_Set: No database loaded"), 2);
}

} // namespace
