// What every new data file starts with.
#include "support/datafile_fixture.h"

#include "core/u19rowdata.h"

#include <QSet>

namespace {

const QString kEmptyBody = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}{\\colortbl;\\red0\\green0\\blue0;"
    "\\red255\\green255\\blue255;}\\plain\\f0\\fs20 \\pard \\par }");

class TemplateTest : public DatafileFixture {
protected:
    int count(const QString& sql)
    {
        auto rs = db().OpenRecordset(sql);
        return core::GetFieldLong(*rs, rs->FieldName(0));
    }
};

TEST_F(TemplateTest, OpensWithoutAQuestionAsTheCurrentFormat)
{
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(core::Property_Get("DataFormatID"), "06.01.01");
    EXPECT_EQ(core::Property_Get("ProgramID"), "Advanced");
    EXPECT_EQ(core::Property_Get("ImportFCD"), "");
    EXPECT_EQ(db().TableNames(),
              QStringList({"ComplexityCategories", "ComplexityFactors", "FMZList", "ItemImpacts", "Items", "NVCPerAcre",
                           "NVCResources", "Objectives", "OutcomeFMZs", "Outcomes", "Properties", "SRTypes", "SRUses",
                           "Scores", "SuppressionPerAcreCost", "ValuesAtRisk", "ValuesProtected"}));
}

TEST_F(TemplateTest, EveryTableIsKeyedAndTyped)
{
    const struct {
        const char* table;
        QStringList key;
    } keys[] = {
        {"Properties", {"Property"}}, {"Items", {"ItemKey"}}, {"Objectives", {"Key"}},
        {"Scores", {"OutcomeKey", "CriterionKey"}}, {"Outcomes", {"ItemKey"}}, {"OutcomeFMZs", {"OutcomeKey", "FMZKey"}},
        {"ItemImpacts", {"OutcomeKey", "ItemKey"}}, {"ValuesAtRisk", {"ItemKey"}},
        {"ValuesProtected", {"OutcomeKey", "ItemKey"}}, {"SRTypes", {"ItemKey"}}, {"SRUses", {"ItemKey"}},
        {"FMZList", {"Key"}}, {"NVCResources", {"ResourceNumber"}}, {"NVCPerAcre", {"FMZKey", "ResourceNumber"}},
        {"SuppressionPerAcreCost", {"FMZKey", "Sequence"}}, {"ComplexityCategories", {"Key"}},
        {"ComplexityFactors", {"CategoryKey", "FactorNumber"}},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.table);
        EXPECT_EQ(db().PrimaryKey(k.table), k.key);
        EXPECT_TRUE(db().IndexNames(k.table).contains("PrimaryKey"));
    }
    auto outcomes = db().OpenTable("Outcomes");
    EXPECT_EQ(outcomes->FieldTypeOf("FireSize"), dao::FieldType::Single);
    EXPECT_EQ(outcomes->FieldTypeOf("AdjustedCost"), dao::FieldType::Currency);
    EXPECT_EQ(outcomes->FieldTypeOf("Description"), dao::FieldType::Memo);
    EXPECT_EQ(db().OpenTable("Objectives")->FieldTypeOf("Key"), dao::FieldType::AutoNumber);
    EXPECT_EQ(db().OpenTable("ValuesAtRisk")->FieldTypeOf("Probability"), dao::FieldType::Integer);
}

TEST_F(TemplateTest, DecisionTopicsAreThere)
{
    auto items = db().OpenTable("Items");
    EXPECT_EQ(items->RecordCount(), 2);
    for (int key : {291, 292}) {
        items->Seek(key);
        ASSERT_FALSE(items->NoMatch());
        EXPECT_EQ(core::GetFieldLong(*items, "ParentKey"), 28);
        EXPECT_EQ(core::GetFieldLong(*items, "ChildIndex"), key - 290);
        EXPECT_EQ(core::GetFieldText(*items, "Body"), kEmptyBody);
        EXPECT_EQ(kEmptyBody.size(), 161);
    }
    EXPECT_EQ(core::GetMaxKey("Items", "ItemKey"), 292);
}

TEST_F(TemplateTest, ObjectiveTreeHasRootsAndPrioritizedCategories)
{
    auto rs = db().OpenTable("Objectives");
    rs->Seek(1);
    EXPECT_EQ(core::GetFieldText(*rs, "Name"), "Objectives");
    EXPECT_EQ(core::GetFieldLong(*rs, "ParentKey"), 0);
    EXPECT_NE(core::GetFieldLong(*rs, "Priority"), 0);
    int child = core::GetFieldLong(*rs, "ChildKey");
    rs->Seek(2);
    EXPECT_EQ(core::GetFieldLong(*rs, "ParentKey"), 0);
    EXPECT_LT(core::GetFieldLong(*rs, "ChildKey"), 1);

    // Walk the categories by their sibling chain: every one reached once, all under root 1.
    QStringList names;
    QSet<int> seen;
    while (child > 0 && !seen.contains(child)) {
        seen.insert(child);
        rs->Seek(child);
        ASSERT_FALSE(rs->NoMatch()) << child;
        EXPECT_EQ(core::GetFieldLong(*rs, "ParentKey"), 1);
        EXPECT_GT(core::GetFieldLong(*rs, "Priority"), 0);
        EXPECT_LT(core::GetFieldLong(*rs, "ChildKey"), 1);
        names << core::GetFieldText(*rs, "Name");
        child = core::GetFieldLong(*rs, "SiblingKey");
    }
    EXPECT_EQ(child, 0);
    EXPECT_EQ(seen.size(), count("SELECT count(*) FROM Objectives WHERE ParentKey = 1"));
    EXPECT_EQ(names.last(), "Other");
}

TEST_F(TemplateTest, NewAutoNumberKeysNeverReuseTemplateKeys)
{
    auto rs = db().OpenTable("Objectives");
    rs->AddNew();
    rs->SetField("ParentKey", 3);
    rs->Update();
    EXPECT_EQ(core::GetFieldLong(*rs, "Key"), 8);
    EXPECT_EQ(core::GetFieldLong(*rs, "Priority"), 0);

    auto fmus = db().OpenTable("FMZList");
    fmus->AddNew();
    fmus->SetField("Name", "North");
    fmus->Update();
    EXPECT_EQ(core::GetFieldLong(*fmus, "Key"), 1);
}

TEST_F(TemplateTest, ExtremeOutcomeAndItsBurnArea)
{
    auto outcomes = db().OpenTable("Outcomes");
    EXPECT_EQ(outcomes->RecordCount(), 1);
    outcomes->Seek(1);
    ASSERT_FALSE(outcomes->NoMatch());
    EXPECT_EQ(core::GetFieldLong(*outcomes, "ParentKey"), 0);
    EXPECT_EQ(core::GetFieldLong(*outcomes, "ChildIndex"), 1);
    EXPECT_EQ(core::GetFieldText(*outcomes, "ItemName"), "Extreme Outcome");
    EXPECT_EQ(core::GetFieldText(*outcomes, "Description"), kEmptyBody);
    EXPECT_EQ(core::GetFieldLong(*outcomes, "CostSource"), 1);

    auto area = db().OpenTable("OutcomeFMZs");
    area->Seek(1, 0);
    ASSERT_FALSE(area->NoMatch());
    EXPECT_EQ(core::GetFieldLong(*area, "Portion"), 50);
    const int fil[] = {0, 0, 0, 5, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(core::GetFieldLong(*area, QString("FIL%1Portion").arg(i + 1)), fil[i]) << i + 1;
}

TEST_F(TemplateTest, WholeFireTablesAreComplete)
{
    auto names = db().OpenTable("NVCResources");
    for (int i = 1; i <= 14; ++i) {
        names->Seek(i);
        EXPECT_FALSE(core::GetFieldText(*names, "ResourceName").isEmpty()) << i;
    }
    EXPECT_EQ(names->RecordCount(), 14);
    auto nvc = db().OpenTable("NVCPerAcre");
    for (int i = 1; i <= 14; ++i) {
        nvc->Seek(0, i);
        EXPECT_FALSE(nvc->NoMatch()) << i;
    }
    EXPECT_EQ(nvc->RecordCount(), 14);
    auto cost = db().OpenTable("SuppressionPerAcreCost");
    for (int i = 1; i <= 9; ++i) {
        cost->Seek(0, i);
        EXPECT_FALSE(cost->NoMatch()) << i;
    }
    EXPECT_EQ(cost->RecordCount(), 9);
    for (const char* empty : {"Scores", "ItemImpacts", "ValuesAtRisk", "ValuesProtected", "SRTypes", "SRUses", "FMZList"})
        EXPECT_EQ(db().OpenTable(empty)->RecordCount(), 0) << empty;
}

TEST_F(TemplateTest, ComplexityCategoriesWithTheirPermanentElements)
{
    const struct {
        const char* name;
        int elements;
    } categories[] = {
        {" Fire Behavior", 4}, {" Resources Committed", 5}, {" Resources Threatened", 6}, {" Safety", 5},
        {" Ownership", 5},     {" External Influences", 6}, {" Change in Strategy", 3},   {" Existing Overhead", 4},
    };
    auto cats = db().OpenTable("ComplexityCategories");
    auto factors = db().OpenTable("ComplexityFactors");
    EXPECT_EQ(cats->RecordCount(), 8);
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        cats->Seek(k);
        EXPECT_EQ(core::GetFieldText(*cats, "Name"), categories[k - 1].name);
        EXPECT_EQ(core::GetFieldLong(*cats, "Rating"), 0);
        for (int n = 1; n <= categories[k - 1].elements; ++n) {
            factors->Seek(k, n);
            ASSERT_FALSE(factors->NoMatch()) << n;
            EXPECT_FALSE(core::GetFieldText(*factors, "Name").isEmpty());
            EXPECT_EQ(core::GetFieldLong(*factors, "Rating"), 0);
        }
        factors->Seek(k, categories[k - 1].elements + 1);
        EXPECT_TRUE(factors->NoMatch());
    }
    EXPECT_EQ(factors->RecordCount(), 38);
}

} // namespace
