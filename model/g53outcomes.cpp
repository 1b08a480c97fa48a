#include "model/g53outcomes.h"

#include "core/costsource.h"
#include "core/g0items.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "model/c51alternative.h"
#include "model/g33fmus.h"
#include "model/g51alternatives.h"
#include "model/g62ratings.h"
#include "model/g64burnareas.h"
#include "model/g66itemimpacts.h"
#include "model/g68sruses.h"
#include "model/modeldata.h"
#include "model/textnumbers.h"

namespace model {

namespace {

std::shared_ptr<c53Outcome>& extreme()
{
    static std::shared_ptr<c53Outcome> e;
    return e;
}

// Every row stored under an outcome key, so that whatever next takes the key starts clean.
void DeleteRowsOfOutcomeKey(int key)
{
    DeleteOutcomeFMZs(key);
    DeleteItemImpactsForOutcome(key);
    DeleteValuesProtectedForOutcome(key);
    DeleteOutcomeSRUses(key);
    DeleteOutcomeScores(key);
}

} // namespace

std::shared_ptr<c53Outcome> GetExtremeOutcome()
{
    if (!extreme()) {
        auto o = std::make_shared<c53Outcome>();
        o->Initialize(0, 1);
        extreme() = std::move(o);
    }
    return extreme();
}

void ClearExtremeOutcome() { extreme().reset(); }

void AddOutcomes(int altKey)
{
    core::Trace(QStringLiteral("AltServer.AddOutcomes"));
    if (altKey != 0) {
        // A new alternative can get the key of one whose outcomes a damaged file kept; reading
        // its outcomes would find those first.
        QList<int> stale;
        auto rs = Db().OpenRecordset(QStringLiteral("SELECT ItemKey FROM Outcomes WHERE ParentKey = ?"), {altKey});
        for (; !rs->Eof(); rs->MoveNext())
            stale.append(core::GetFieldLong(*rs, QStringLiteral("ItemKey")));
        rs->Close();
        for (int key : stale) {
            Db().Execute(QStringLiteral("DELETE FROM Outcomes WHERE ItemKey = ?"), {key});
            DeleteRowsOfOutcomeKey(key);
        }
    }
    for (int idx = 1; idx <= 2; ++idx) {
        const int key = AddOutcomeRecord(altKey, idx);
        AddOutcomeFMUs(key);
    }
}

int AddOutcomeRecord(int altKey, int idx)
{
    const int key = core::GetMaxKey(QStringLiteral("Outcomes"), QStringLiteral("ItemKey")) + 1;
    // Rows left under this key by an outcome deleted in an older version must not be inherited.
    DeleteRowsOfOutcomeKey(key);

    auto rs = Db().OpenTable(QStringLiteral("Outcomes"));
    rs->AddNew();
    rs->SetField(QStringLiteral("ItemKey"), key);
    rs->SetField(QStringLiteral("ParentKey"), altKey);
    rs->SetField(QStringLiteral("ChildIndex"), idx);
    rs->SetField(QStringLiteral("Description"), core::kDefaultItemBody);
    if (idx == 1)
        rs->SetField(QStringLiteral("Success"), 100);
    else if (idx == 2)
        rs->SetField(QStringLiteral("Success"), -1);
    rs->SetField(QStringLiteral("CostSource"), core::StoredValue(core::CostSource::BySize));
    rs->Update();
    rs->Close();
    return key;
}

void AddOutcomeFMUs(int outcomeKey)
{
    int sourceKey = 0;
    const auto& alts = GetAlternatives();
    if (!alts.IsEmpty()) {
        if (const auto target = alts.At(0)->Outcome(OutcomeKind::Target))
            sourceKey = target->ItemKey();
    }
    AddOutcomeFMZ(outcomeKey, 0, sourceKey);
    for (const c33FMU* fmu : GetFMUs())
        AddOutcomeFMZ(outcomeKey, fmu->ItemKey(), sourceKey);
}

QString OutcomeShortLabel(OutcomeKind kind)
{
    switch (kind) {
    case OutcomeKind::Target: return QStringLiteral("Tgt");
    case OutcomeKind::Fallback: return QStringLiteral("FB");
    case OutcomeKind::Extreme: return QStringLiteral("Ex");
    }
    return QString();
}

QList<OutcomeGridColumn> OutcomeGridColumns(OutcomeGridKind kind)
{
    const QString outcomes = QStringLiteral("Outcomes");
    QList<OutcomeGridColumn> columns{{outcomes, 2700, true}, {outcomes, 675, false}};
    if (kind == OutcomeGridKind::Acres || kind == OutcomeGridKind::Times)
        columns.append({QStringLiteral("Acres"), 900, false});
    if (kind == OutcomeGridKind::Times) {
        columns.append({QStringLiteral("Contain"), 720, false});
        columns.append({QStringLiteral("Control"), 720, false});
    }
    return columns;
}

QList<OutcomeRow> AlternativeOutcomeRows()
{
    QList<OutcomeRow> rows;
    for (const auto& alt : GetAlternatives()) {
        const auto target = alt->Outcome(OutcomeKind::Target);
        rows.append({alt->Label(), target->ShortName(), target, false});
        const auto fallback = alt->Outcome(OutcomeKind::Fallback);
        if (fallback->bShow())
            rows.append({alt->Label(), fallback->ShortName(), fallback, false});
    }
    return rows;
}

QList<OutcomeRow> OutcomeRows()
{
    QList<OutcomeRow> rows = AlternativeOutcomeRows();
    const auto ex = GetExtremeOutcome();
    rows.append({ex->ShortName(), ex->ShortName(), ex, true});
    return rows;
}

QString OutcomeAcresText(const c53Outcome& o)
{
    const double size = o.FireSizeValue();
    return QStringLiteral(" ") + textnum::FormatWhole(size, size > 9999) + QStringLiteral(" ");
}

QString OutcomeContainText(const c53Outcome& o) { return textnum::FormatWhole(o.ContainTime(), false); }

QString OutcomeControlText(const c53Outcome& o)
{
    return QStringLiteral(" ") + textnum::FormatWhole(o.ControlTime(), false) + QStringLiteral(" ");
}

QString OutcomeImpactPerAcreText(c53Outcome& o)
{
    return QStringLiteral(" ") + textnum::FormatWhole(o.ImpactPerAcre(), true);
}

QString OutcomeNVCLossText(c53Outcome& o) { return textnum::FormatWhole(-double(o.NVCLoss()), true); }
QString OutcomeCostPerAcreText(c53Outcome& o) { return textnum::FormatWhole(o.CostPerAcre(), true); }
QString OutcomeCostBySizeText(c53Outcome& o) { return textnum::FormatWhole(o.CostBySize(), true); }

} // namespace model
