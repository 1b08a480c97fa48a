// A save that fails part way never costs the user an edit: the object still holds it and
// writes it on the next save, or the failure says why it cannot.

#include "decision_fixture.h"

#include "model/c34nvctable.h"
#include "model/c35aactable.h"
#include "model/c38srtype.h"
#include "model/c51alternative.h"
#include "model/c62rating.h"
#include "model/c64burnarea.h"
#include "model/c67sruselist.h"
#include "model/c68sruse.h"
#include "model/g38srtypes.h"
#include "model/g51alternatives.h"
#include "platform/dao/rowsave.h"
#include "support/failingwrites.h"

#include <functional>
#include <memory>

using model::OutcomeKind;
using namespace model;

namespace {

// One object with an edit not yet saved.
struct Edit {
    std::function<void()> save;
    std::function<bool()> dirty;
    QString stored;   // a query whose one value shows whether the edit is in the file
    QVariant wanted;
};

class FailedSave : public DecisionFixture {
protected:
    void SetUp() override
    {
        DecisionFixture::SetUp();
        alt = AddAlternative(QStringLiteral("A"));
    }

    // Every write to the table fails until heal().
    void breakTable(const QString& table) { testsupport::BreakTable(db(), table); }
    void heal(const QString& table) { testsupport::HealTable(db(), table); }
    QVariant stored(const Edit& e)
    {
        auto rs = db().OpenRecordset(e.stored);
        return rs->Eof() ? QVariant() : rs->Field(0);
    }

public:
    // For the cases' own set-up.
    using DecisionFixture::addSRType;
    std::shared_ptr<c51Alternative> alt;
};

struct Case {
    const char* name;
    const char* table;   // the table whose writes fail
    std::function<Edit(FailedSave&, c53Outcome&)> edit;
};

template <class T>
Edit editOf(T* object, const QString& stored, const QVariant& wanted)
{
    return {[object] { object->SaveChanges(); }, [object] { return bool(object->IsDirty()); }, stored, wanted};
}

const Case kCases[] = {
    {"outcome", "Outcomes",
     [](FailedSave&, c53Outcome& o) {
         o.SetDescription(QStringLiteral("Hold the ridge"));
         return editOf(&o, QStringLiteral("SELECT Description FROM Outcomes WHERE ItemKey = %1").arg(o.ItemKey()),
                       QStringLiteral("Hold the ridge"));
     }},
    {"NVC table", "NVCPerAcre",
     [](FailedSave&, c53Outcome&) {
         c34NVCTable* t = GetNVCTable(0);
         t->SetNVCCellValue(3, 2, -125);
         return Edit{[t] { t->SaveChanges(); }, [t] { return t->Changed(); },
                     QStringLiteral("SELECT FIL2 FROM NVCPerAcre WHERE FMZKey = 0 AND ResourceNumber = 3"), -125.0};
     }},
    {"cost table", "SuppressionPerAcreCost",
     [](FailedSave&, c53Outcome&) {
         c35AACTable* t = GetAACTable(0);
         t->SetCost(2, 450);
         return Edit{[t] { t->SaveChanges(); }, [t] { return t->Changed(); },
                     QStringLiteral("SELECT Cost FROM SuppressionPerAcreCost WHERE FMZKey = 0 AND Sequence = 2"),
                     450.0};
     }},
    {"rating", "Scores",
     [](FailedSave&, c53Outcome& o) {
         auto r = std::make_shared<c62Rating>();
         r->Initialize(o.ItemKey(), 3, Criteria::Objectives, RatingLevel::Criterion);
         r->SetRawScore(7);
         return Edit{[r] { r->SaveChanges(); }, [r] { return r->Changed(); },
                     QStringLiteral("SELECT Value FROM Scores WHERE OutcomeKey = %1 AND CriterionKey = 3")
                         .arg(o.ItemKey()),
                     7.0};
     }},
    {"burn area", "OutcomeFMZs",
     [](FailedSave&, c53Outcome& o) {
         c64BurnArea* b = o.BurnArea(0);
         b->SetFILPortion(4, 9);
         return Edit{[b] { b->SaveChanges(); }, [b] { return b->Changed(); },
                     QStringLiteral("SELECT FIL4Portion FROM OutcomeFMZs WHERE OutcomeKey = %1 AND FMZKey = 0")
                         .arg(o.ItemKey()),
                     9};
     }},
    {"resource type", "SRTypes",
     [](FailedSave& f, c53Outcome&) {
         const int key = f.addSRType(QStringLiteral("Crew"), QStringLiteral("time"), 250);
         auto t = GetSRType(key);
         t->SetLongName(QStringLiteral("Hand crew"));
         return editOf(t.get(), QStringLiteral("SELECT LongName FROM SRTypes WHERE ItemKey = %1").arg(key),
                       QStringLiteral("Hand crew"));
     }},
    {"alternative", "Items",
     [](FailedSave& f, c53Outcome&) {
         f.alt->SetHeading(QStringLiteral("Direct attack"));
         return editOf(f.alt.get(), QStringLiteral("SELECT Heading FROM Items WHERE ItemKey = %1").arg(f.alt->ItemKey()),
                       QStringLiteral("Direct attack"));
     }},
    {"resource line", "SRUses",
     [](FailedSave& f, c53Outcome& o) {
         auto line = o.SRUseList().NewSRUse(f.addSRType(QStringLiteral("Pump"), QStringLiteral("item"), 900));
         line->SaveChanges();
         line->SetQuantity(6);
         return editOf(line.get(), QStringLiteral("SELECT Quantity FROM SRUses WHERE ItemKey = %1").arg(line->ItemKey()),
                       6);
     }},
};

TEST_F(FailedSave, AnEditWhoseSaveFailsIsSavedOnTheNextTry)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        auto outcome = alt->Outcome(OutcomeKind::Target);
        ASSERT_TRUE(outcome);
        // Anything a new object writes on first use is in the file before the failure.
        outcome->BurnArea(0);
        Edit e = c.edit(*this, *outcome);
        const QVariant before = stored(e);
        ASSERT_NE(before, e.wanted);

        breakTable(QString::fromLatin1(c.table));
        EXPECT_THROW(e.save(), dao::Error);
        EXPECT_TRUE(e.dirty());
        EXPECT_EQ(stored(e), before);

        heal(QString::fromLatin1(c.table));
        e.save();
        EXPECT_FALSE(e.dirty());
        EXPECT_EQ(stored(e), e.wanted);
    }
}

// The outcome's row was lost (a damaged file): the save makes it again, and when that fails
// the outcome still knows it has no row, so the next try makes it.
TEST_F(FailedSave, AnOutcomeWhoseRowWasLostMakesItAgainEvenAfterAFailure)
{
    auto outcome = alt->Outcome(OutcomeKind::Target);
    const int lostKey = outcome->ItemKey();
    db().Execute(QStringLiteral("DELETE FROM Outcomes WHERE ItemKey = ?"), {lostKey});
    outcome->SetDescription(QStringLiteral("Hold the ridge"));

    // The new row goes in; the write of its values fails, and the whole save is undone.
    db().Execute(QStringLiteral("CREATE TEMP TRIGGER fail_update BEFORE UPDATE ON Outcomes "
                                "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END"));
    EXPECT_THROW(outcome->SaveChanges(), dao::Error);
    EXPECT_TRUE(outcome->IsDirty());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Outcomes WHERE Description = 'Hold the ridge'")), 0);

    db().Execute(QStringLiteral("DROP TRIGGER fail_update"));
    outcome->SaveChanges();
    EXPECT_FALSE(outcome->IsDirty());
    EXPECT_TRUE(outcome->Exists());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Outcomes WHERE ItemKey = ? AND Description = 'Hold the ridge'"),
                    {outcome->ItemKey()}),
              1);
}

// Rows that only the object's own deletion removes: when one is gone all the same, the save
// says so and the object keeps its edit.
TEST_F(FailedSave, AMissingRowIsReportedAndTheEditKept)
{
    const int typeKey = addSRType(QStringLiteral("Crew"), QStringLiteral("time"), 250);
    auto type = GetSRType(typeKey);
    auto line = alt->Outcome(OutcomeKind::Target)->SRUseList().NewSRUse(typeKey);
    line->SaveChanges();

    struct Missing {
        const char* name;
        std::function<void()> edit;
        std::function<void()> save;
        std::function<bool()> dirty;
        QString deleteRow;
    };
    const Missing cases[] = {
        {"resource type", [&] { type->SetUnitCost(300); }, [&] { type->SaveChanges(); }, [&] { return type->IsDirty(); },
         QStringLiteral("DELETE FROM SRTypes WHERE ItemKey = %1").arg(typeKey)},
        {"alternative", [&] { alt->SetItemName(QStringLiteral("B")); }, [&] { alt->SaveChanges(); },
         [&] { return alt->IsDirty(); }, QStringLiteral("DELETE FROM Items WHERE ItemKey = %1").arg(alt->ItemKey())},
        {"resource line", [&] { line->SetTimePeriods(4); }, [&] { line->SaveChanges(); },
         [&] { return line->IsDirty(); }, QStringLiteral("DELETE FROM SRUses WHERE ItemKey = %1").arg(line->ItemKey())},
    };
    for (const Missing& c : cases) {
        SCOPED_TRACE(c.name);
        db().Execute(c.deleteRow);
        c.edit();
        try {
            c.save();
            ADD_FAILURE() << "the save of a missing row said nothing";
        } catch (const dao::Error& e) {
            EXPECT_EQ(e.kind(), dao::Error::Kind::NoCurrentRecord);
            EXPECT_TRUE(e.message().contains(QStringLiteral("no longer in the data file"))) << e.what();
        }
        EXPECT_TRUE(c.dirty());
    }
}

// Saves inside a larger save that then fails: the objects that had saved take their edits for
// unsaved again, and the next save writes them.
TEST_F(FailedSave, EditsSavedInsideAFailedLargerSaveAreWrittenNextTime)
{
    auto outcome = alt->Outcome(OutcomeKind::Target);
    outcome->SetDescription(QStringLiteral("Hold the ridge"));
    alt->SetHeading(QStringLiteral("Direct attack"));
    breakTable(QStringLiteral("Items"));
    try {
        dao::SaveScope scope(db());
        outcome->SaveChanges();
        EXPECT_FALSE(outcome->IsDirty());
        alt->SaveChanges();
        scope.commit();
        ADD_FAILURE() << "the alternative's save did not fail";
    } catch (const dao::Error&) {
    }
    heal(QStringLiteral("Items"));
    EXPECT_TRUE(outcome->IsDirty());
    EXPECT_TRUE(alt->IsDirty());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Outcomes WHERE Description = 'Hold the ridge'")), 0);

    outcome->SaveChanges();
    alt->SaveChanges();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Outcomes WHERE Description = 'Hold the ridge'")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Items WHERE Heading = 'Direct attack'")), 1);
}

} // namespace
