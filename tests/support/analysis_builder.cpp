#include "support/analysis_builder.h"

#include "core/g0items.h"
#include "core/g13rmas.h"
#include "core/g2situation.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "model/c33fmu.h"
#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c62rating.h"
#include "model/c64burnarea.h"
#include "model/c66itemimpact.h"
#include "model/c67sruselist.h"
#include "model/g33fmus.h"
#include "model/g34nvcresources.h"
#include "model/g36threateneditems.h"
#include "model/g38srtypes.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/g68sruses.h"
#include "model/modeldata.h"
#include "platform/dao/dao.h"

#include <QFile>
#include <QList>

#include <cstdio>
#include <memory>

using model::OutcomeKind;
namespace testsupport {

namespace {

// Categories of the template's objectives tree.
constexpr int kFirstCategory = 3;
constexpr int kCategoryCount = 5;

const char* const kProtectionLabels[] = {"No (0%)", "Slightly (25%)", "Partly (50%)", "Mostly (75%)",
                                         "Yes (100%)", "40"};
const char* const kProbabilityLabels[] = {"Very Low (5%)", "Low (25%)", "Medium (50%)", "High (75%)",
                                          "Very High (95%)", "30"};

// The names and amounts of the analysis: as given, or (longNames) names run on to 150 characters
// and amounts a thousand times larger, to nine digits.
struct Style {
    bool longNames = false;

    QString Name(const QString& base) const
    {
        if (!longNames)
            return base;
        static const QString kMore = QStringLiteral(
            " along the north fork of the river above the old mill road, below the lookout on Cedar Ridge and"
            " east of the Pine Flats homes and the power line corridor to the south");
        return (base + kMore).left(150);
    }
    double Amount(double value) const { return longNames ? value * 1000 : value; }
};

void BuildTables(int fmuKey, int seed, const Style& style)
{
    model::c34NVCTable* nvc = model::GetNVCTable(fmuKey);
    for (int r = 1; r <= model::kNVCResourceCount; ++r)
        for (int fil = 1; fil <= model::kFILCount; ++fil)
            nvc->SetNVCCellValue(r, fil, float(style.Amount(float(((r + fil + seed) % 7) - 4) * 10.0f * float(fil))));
    nvc->SaveChanges();
    model::c35AACTable* aac = model::GetAACTable(fmuKey);
    const float tops[] = {10, 100, 1000, 10000, 0, 0, 0, 0, 0};
    const float costs[] = {900, 600, 400, 250, 150, 0, 0, 0, 0};
    for (int b = 1; b <= model::kCostBracketCount; ++b) {
        aac->SetTopSize(b, tops[b - 1]);
        aac->SetCost(b, float(style.Amount(costs[b - 1] + float(seed * 5))));
    }
    aac->SaveChanges();
}

QList<int> BuildFMUs(const AnalysisSize& size, const Style& style)
{
    BuildTables(0, 0, style);
    for (int i = 1; i <= size.fmus; ++i)
        model::NewFMU(QString(), style.Name(QStringLiteral("Unit-%1").arg(i)));
    model::ClearFMUs();
    QList<int> keys;
    for (const model::c33FMU* fmu : model::GetFMUs())
        keys.append(fmu->ItemKey());
    for (int i = 0; i < keys.size(); ++i)
        BuildTables(keys[i], i + 1, style);
    return keys;
}

QList<int> BuildResourceTypes(const Style& style)
{
    struct Type { const char* longName; const char* shortName; const char* unitType; const char* unit; double cost; };
    const Type types[] = {
        {"Type 1 Crew", "T1C", "time", "crew-day", 12000}, {"Type 2 Crew", "T2C", "time", "crew-day", 8500},
        {"Engine, Type 3", "E3", "time", "engine-day", 3200}, {"Dozer", "DZR", "time", "dozer-day", 4100},
        {"Heavy Helicopter", "H1", "time", "hour", 7800}, {"Air Tanker Load", "AT", "item", "load", 9500},
        {"Portable Pump Kit", "PMP", "item", "kit", 650}, {"Incident Team", "IMT", "time", "day", 45000},
        {"Hose, 1000 ft", "HOSE", "item", "roll", 300}, {"Water Tender", "WT", "Time", "day", 1800},
    };
    auto rs = model::Db().OpenTable(QStringLiteral("SRTypes"));
    int index = 0;
    for (const Type& t : types) {
        rs->AddNew();
        rs->SetField(QStringLiteral("ChildIndex"), ++index);
        rs->SetField(QStringLiteral("ParentKey"), 1);
        rs->SetField(QStringLiteral("LongName"), style.Name(QString::fromLatin1(t.longName)));
        rs->SetField(QStringLiteral("ShortName"), QString::fromLatin1(t.shortName));
        rs->SetField(QStringLiteral("UnitType"), QString::fromLatin1(t.unitType));
        rs->SetField(QStringLiteral("UnitName"), QString::fromLatin1(t.unit));
        rs->SetField(QStringLiteral("UnitCost"), style.Amount(t.cost));
        rs->Update();
    }
    rs->Close();
    model::SetSRDataSource(QStringLiteral("Unit resource list, season rates"));
    model::SaveSRDataSource();
    model::ClearSRTypes();
    QList<int> keys;
    for (const auto& entry : model::SRTypeListEntries())
        keys.append(entry.Key);
    return keys;
}

void BuildCriteria(const AnalysisSize& size, const Style& style)
{
    for (int i = 0; i < size.objectives; ++i) {
        const QString name = style.Name(QStringLiteral("Objective %1").arg(i + 1));
        model::c41Objective* o = model::AddObjective(name, kFirstCategory + i % kCategoryCount);
        o->SetItemName(name);
        o->SetPriority(i % 11);   // some at 0: left out of the prioritized list
        o->SaveChanges();
    }
    model::ClearObjectives();
    for (int i = 0; i < size.safetyIssues; ++i) {
        const QString name = style.Name(QStringLiteral("Safety issue %1").arg(i + 1));
        model::c41Objective* s = model::AddSafetyIssue(name);
        s->SetItemName(name);
        s->SetPriority(10 - i % 6);
        s->SaveChanges();
    }
    model::ClearSafetyIssues();
}

void BuildValuesAtRisk(const AnalysisSize& size, const Style& style)
{
    for (int i = 0; i < size.valuesAtRisk; ++i) {
        auto item = model::AddThreatenedItem(style.Name(QStringLiteral("Value at risk %1").arg(i + 1)));
        item->SetPotentialLoss(style.Amount(1000.0 * double(1 + (i * 37) % 500) + 12.5 * i));
        item->SetProbabilityLabel(QString::fromLatin1(kProbabilityLabels[i % 6]));
        item->SetNotes(QStringLiteral("Notes on value %1").arg(i + 1));
        item->SaveChanges();
    }
}

void SetOutcome(model::c53Outcome& o, int seed, model::CostSource costSource, const QList<int>& fmuKeys,
                const Style& style)
{
    o.SetFireSize(QString::number(200 + seed * 173 % 9000));
    o.SetContainTimeString(QString::number(2 + seed % 5));
    o.SetControlTimeString(QString::number(6 + seed % 9));
    o.SetDailyContainCost(float(style.Amount(20000 + 1500 * (seed % 7))));
    o.SetDailyControlCost(float(style.Amount(6000 + 500 * (seed % 5))));
    o.SetAdjustedCost(float(style.Amount(150000 + 12345 * (seed % 11))));
    o.SetCostSource(costSource);
    o.SetCostRationale(QStringLiteral("Estimated from similar fires"));
    o.SaveChanges();
    if (fmuKeys.isEmpty()) {
        model::c64BurnArea* area = o.BurnArea(0);
        for (int fil = 1; fil <= model::kFILCount; ++fil)
            area->SetFILPortion(fil, (seed + fil) % 4);
        area->SaveChanges();
        return;
    }
    for (int i = 0; i < fmuKeys.size(); ++i) {
        model::c64BurnArea* area = o.BurnArea(fmuKeys[i]);
        area->SetFMUPortion((seed + i) % 5 == 0 ? 0 : 10 + (seed * 7 + i * 3) % 90);
        for (int fil = 1; fil <= model::kFILCount; ++fil)
            area->SetFILPortion(fil, (seed + i + fil) % 4);
        area->SaveChanges();
    }
}

QList<std::shared_ptr<model::c53Outcome>> BuildAlternatives(const AnalysisSize& size, const QList<int>& fmuKeys,
                                                            const Style& style)
{
    using model::CostSource;
    const CostSource sources[] = {CostSource::BySize, CostSource::ResourceList, CostSource::Daily, CostSource::Entered};
    QList<std::shared_ptr<model::c53Outcome>> outcomes;
    for (int i = 0; i < size.alternatives; ++i) {
        auto alt = model::AddAlternative(QString(QChar('A' + i % 26)));
        alt->SetHeading(style.Name(QStringLiteral("Strategy %1").arg(i + 1)));
        alt->SaveChanges();
        auto target = alt->Outcome(OutcomeKind::Target);
        target->SetSuccess(40 + (i * 13) % 61);
        SetOutcome(*target, i * 2 + 1, sources[i % 4], fmuKeys, style);
        outcomes.append(target);
        auto fallback = alt->Outcome(OutcomeKind::Fallback);
        if (i % 3 != 2) {   // every third alternative keeps its Fallback hidden
            fallback->SetSuccess(30 + (i * 17) % 71);
            SetOutcome(*fallback, i * 2 + 2, sources[(i + 1) % 4], fmuKeys, style);
        }
        outcomes.append(fallback);
    }
    auto extreme = model::GetExtremeOutcome();
    SetOutcome(*extreme, 97, model::CostSource::Entered, fmuKeys, style);
    outcomes.append(extreme);
    return outcomes;
}

void BuildRatings(const QList<std::shared_ptr<model::c53Outcome>>& outcomes)
{
    QList<int> objectives;
    for (const model::c41Objective* o : model::ObjectivesCollection())
        if (o->bObjective())
            objectives.append(o->ItemKey());
    QList<int> safety;
    for (const model::c41Objective* s : model::SafetyIssuesCollection())
        if (s->bSafetyIssue())
            safety.append(s->ItemKey());
    int n = 0;
    for (const auto& outcome : outcomes) {
        for (int key : objectives) {
            model::c62Rating r;
            r.Initialize(outcome->ItemKey(), key, model::Criteria::Objectives, model::RatingLevel::Criterion);
            r.SetRawScore(float(++n % 11));
            r.SaveChanges();
        }
        for (int key : safety) {
            model::c62Rating r;
            r.Initialize(outcome->ItemKey(), key, model::Criteria::Safety, model::RatingLevel::Criterion);
            r.SetRawScore(float((n += 3) % 11));
            r.SaveChanges();
        }
    }
}

void BuildProtection(const QList<std::shared_ptr<model::c53Outcome>>& outcomes)
{
    int n = 0;
    for (const auto& outcome : outcomes) {
        for (const auto& item : model::GetThreatenedItems()) {
            if (++n % 4 == 0)
                continue;   // never rated: no row, no protection
            model::c66ItemImpact impact;
            impact.Initialize(outcome->ItemKey(), item->ItemKey());
            impact.SetProtectionLabel(QString::fromLatin1(kProtectionLabels[n % 6]));
            impact.SaveChanges();
        }
    }
}

void BuildResourceLines(const AnalysisSize& size, const QList<std::shared_ptr<model::c53Outcome>>& outcomes,
                        const QList<int>& typeKeys)
{
    for (int i = 0; i < size.resourceLines; ++i) {
        const auto& outcome = outcomes[i % outcomes.size()];
        auto line = outcome->SRUseList().NewSRUse(typeKeys[i % typeKeys.size()]);
        line->SetQuantity(1 + i % 6);
        line->SetTimePeriods(1 + i % 10);
        line->SaveChanges();
    }
}

} // namespace

double ComputeMatrix()
{
    double checksum = 0;
    QList<int> objectives, categories, safety;
    for (const model::c41Objective* o : model::GetPrioritizedObjectives())
        (o->bCategory() ? categories : objectives).append(o->ItemKey());
    for (const model::c41Objective* s : model::SafetyIssuesCollection())
        if (s->bSafetyIssue())
            safety.append(s->ItemKey());
    for (const auto& alt : model::GetAlternatives()) {
        checksum += alt->ExpectedScore() + alt->ExpectedSafetyScore();
        for (int key : categories)
            checksum += alt->ExpectedCategoryScore(key);
        for (int key : objectives)
            checksum += alt->ExpectedWgtObjScore(key) + alt->ExpectedRawObjScore(key);
        for (int key : safety)
            checksum += alt->ExpectedWgtSafetyScore(key) + alt->ExpectedRawSafetyScore(key);
        checksum += alt->ExpectedProtection() + alt->ExpectedNVCLoss() + alt->ExpectedLoss() + alt->ExpectedCost();
        checksum += alt->EstimatedCost() + alt->EstimatedSize();
        for (const OutcomeKind kind : model::kOutcomeKinds)
            checksum += alt->OutcomePercent(kind);
    }
    if (const auto least = model::GetLeastCostAlternative())
        checksum += least->ItemKey();
    return checksum;
}

void BuildSituation()
{
    const std::pair<int, const char*> general[] = {
        {221, "17"}, {11, "Cedar Ridge"}, {52, "CA-SQF-001234"}, {61, "07/12/2026"}, {62, "1420"},
        {222, "07/14/2026"}, {223, "0600"}, {53, "USFS, CAL FIRE"}, {55, "South Ops"},
        {54, "Sequoia National Forest"}, {217, "P5K2LM"}, {57, "12,500"}};
    for (const auto& [key, text] : general)
        core::GetSituationItem(key)->SetBody(QString::fromLatin1(text));
    const struct {
        const char* heading;
        const char* instructions;
        const char* narrative;
    } topics[] = {
        {"Weather", "Give the forecast for the next 72 hours and any red flag warnings.",
         "Red flag warning through Thursday evening.\\par Winds SW 15 to 25 mph, gusts to 40 on the ridges; "
         "minimum humidity 8 to 12 percent.\\par A cooling trend is expected from Saturday."},
        {"Fuels", "Describe the fuel types and their moisture.",
         "Chaparral and mixed conifer with heavy dead and down.\\par 1000-hour fuels at 9 percent, live fuel "
         "moisture 68 percent."},
        {"Topography", "", "Steep drainages running north into the river canyon; slopes of 40 to 70 percent."},
        {"Fire behavior", "Expected spread, spotting and intensity.",
         "Active runs in the afternoon with spotting up to half a mile.\\par Flame lengths of 8 to 20 feet in "
         "chaparral."},
        {"Smoke", "", "Smoke settles in the valley overnight; Highway 190 may need pilot cars."},
        {"Resources committed", "", "Two type 2 crews, four engines, one dozer and a type 1 helicopter."},
    };
    for (const auto& t : topics) {
        core::c0Item* topic = core::GetSituationItem(core::NewSituationTopic(QString::fromLatin1(t.heading)));
        topic->SetHeading(QString::fromLatin1(t.heading));
        topic->SetItemText(QString::fromLatin1(t.instructions));
        topic->SetBody(QString(core::kDefaultItemBody)
                           .replace(QStringLiteral("\\pard \\par }"),
                                    QStringLiteral("\\pard ") + QString::fromLatin1(t.narrative) + QStringLiteral("\\par }")));
    }
    core::SaveSituation();
}

namespace {

const QString kLongStem = QStringLiteral(
    "Upper Kestrel Creek municipal watershed and spotted owl nesting habitat east of the Forest Road 12 "
    "junction, below the ridge and above the Bear Creek summer homes along the river");

QString LongEntry(const QString& what, int n)
{
    const QString& stem = kLongStem;
    const QString end = QStringLiteral(", %1 %2").arg(what).arg(n);
    return stem.left(150 - end.size()) + end;
}

} // namespace

bool IsLongEntry(const QString& text) { return text.contains(kLongStem.left(100)); }

void LengthenEntries()
{
    ClearModelCaches();
    dao::Database& db = model::Db();
    dao::Transaction trans(db);
    const auto rename = [&](const QString& select, const QString& update, const QString& what) {
        QVariantList keys;
        for (auto rs = db.OpenRecordset(select); !rs->Eof(); rs->MoveNext())
            keys.append(rs->Field(0));
        for (int i = 0; i < keys.size(); ++i)
            db.Execute(update, {LongEntry(what, i + 1), keys[i]});
    };
    rename(QStringLiteral("SELECT \"Key\" FROM FMZList ORDER BY \"Key\""),
           QStringLiteral("UPDATE FMZList SET Name = ? WHERE \"Key\" = ?"), QStringLiteral("fire management unit"));
    rename(QStringLiteral("SELECT ItemKey FROM Items WHERE ParentKey = 23 ORDER BY ItemKey"),
           QStringLiteral("UPDATE Items SET ItemName = ? WHERE ItemKey = ?"), QStringLiteral("value at risk"));
    rename(QStringLiteral("SELECT ItemKey FROM Items WHERE ParentKey = 26 ORDER BY ItemKey"),
           QStringLiteral("UPDATE Items SET Heading = ? WHERE ItemKey = ?"), QStringLiteral("strategy"));
    rename(QStringLiteral("SELECT ItemKey FROM Items WHERE ParentKey = 22 ORDER BY ItemKey"),
           QStringLiteral("UPDATE Items SET Heading = ?1, ItemName = ?1 WHERE ItemKey = ?2"), QStringLiteral("topic"));
    rename(QStringLiteral("SELECT \"Key\" FROM Objectives WHERE ParentKey >= 2 ORDER BY \"Key\""),
           QStringLiteral("UPDATE Objectives SET Name = ? WHERE \"Key\" = ?"), QStringLiteral("objective"));
    rename(QStringLiteral("SELECT ItemKey FROM SRTypes ORDER BY ItemKey"),
           QStringLiteral("UPDATE SRTypes SET LongName = ? WHERE ItemKey = ?"), QStringLiteral("resource"));
    for (int i = 1; i <= 3; ++i)
        core::NewRMA(LongEntry(QStringLiteral("management area"), i), QString(core::kDefaultItemBody));
    core::SaveRMAs();
    core::GetSituationItem(11)->SetBody(LongEntry(QStringLiteral("fire"), 1));
    core::SaveSituation();

    // Amounts typed as they come (a loss, an estimate), nine digits; rates, counts and sizes so
    // that what they make (a daily cost, a resource list, a loss over the fire) comes to nine or
    // ten digits too.
    db.Execute(QStringLiteral("UPDATE ValuesAtRisk SET PotentialLoss = 987654321 - 1000 * ItemKey"));
    db.Execute(QStringLiteral("UPDATE Outcomes SET FireSize = 123456 + 1000 * ItemKey, ContainTime = 100 + ItemKey, "
                              "ControlTime = 300 + ItemKey, DailyContainCost = 1234567 + ItemKey, "
                              "DailyControlCost = 2345678 + ItemKey, AdjustedCost = 456789012 + ItemKey"));
    db.Execute(QStringLiteral("UPDATE SRTypes SET UnitCost = 12345 + ItemKey"));
    db.Execute(QStringLiteral("UPDATE SRUses SET Quantity = 9000 + ItemKey % 1000"));
    db.Execute(QStringLiteral("UPDATE NVCPerAcre SET FIL1 = -1100, FIL2 = -2345, FIL3 = 3456, FIL4 = -4567, "
                              "FIL5 = -5678, FIL6 = -9999"));
    db.Execute(QStringLiteral("UPDATE SuppressionPerAcreCost SET Cost = 7890 + Sequence WHERE TopSize > 0"));
    trans.commit();
    ClearModelCaches();
}

void ClearModelCaches()
{
    core::ClearItems();
    model::ClearFMUs();
    model::ClearNVCResources();
    model::ClearThreatenedItems();
    model::ClearSRTypes();
    model::ClearSafetyIssues();
    model::ClearObjectives();
    model::ClearAlternatives();
    model::ResetSRUseKey();
}

void BuildAnalysis(const AnalysisSize& size)
{
    ClearModelCaches();
    dao::Transaction trans(model::Db());
    const Style style{size.longNames};
    const QList<int> fmuKeys = BuildFMUs(size, style);
    const QList<int> typeKeys = BuildResourceTypes(style);
    BuildCriteria(size, style);
    BuildValuesAtRisk(size, style);
    const auto outcomes = BuildAlternatives(size, fmuKeys, style);
    BuildRatings(outcomes);
    BuildProtection(outcomes);
    BuildResourceLines(size, outcomes, typeKeys);
    if (!model::GetAlternatives().IsEmpty())
        model::SetSelectedAlternative(*model::GetAlternatives().At(0));
    trans.commit();
    ClearModelCaches();
}

bool CreateAnalysisFile(const QString& templatePath, const QString& path, const AnalysisSize& size, QString* error)
{
    QFile::remove(path);
    if (!QFile::copy(templatePath, path)) {
        if (error)
            *error = QStringLiteral("cannot copy the template ") + templatePath;
        return false;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (!core::OpenDatafile(path)) {
        if (error)
            *error = QStringLiteral("cannot open ") + path;
        return false;
    }
    BuildAnalysis(size);
    core::CloseDatafile();
    ClearModelCaches();
    return true;
}

OpenAnalysis::OpenAnalysis(const AnalysisSize& size)
{
    mPath = mDir.filePath(QStringLiteral("Large.tlm"));
    QString error;
    mOk = CreateAnalysisFile(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")), mPath, size, &error);
    if (mOk && !core::OpenDatafile(mPath)) {
        mOk = false;
        error = QStringLiteral("cannot open ") + mPath;
    }
    if (!mOk)
        std::fprintf(stderr, "cannot build the analysis: %s\n", qPrintable(error));
}

OpenAnalysis::~OpenAnalysis()
{
    if (mOk)
        core::CloseDatafile();
}

int AddCostedAlternative(const CostedAlternative& a)
{
    const int n = model::GetAlternatives().Count();
    auto alt = model::AddAlternative(QString(QChar('A' + n)));
    alt->SetHeading(a.heading);
    alt->SaveChanges();
    auto target = alt->Outcome(OutcomeKind::Target);
    target->SetSuccess(a.targetSuccess);
    target->SetCostSource(model::CostSource::Entered);
    target->SetAdjustedCost(float(a.targetCost));
    target->SaveChanges();
    auto fallback = alt->Outcome(OutcomeKind::Fallback);
    fallback->SetSuccess(a.fallbackSuccess);
    fallback->SetCostSource(model::CostSource::Entered);
    fallback->SetAdjustedCost(float(a.fallbackCost));
    fallback->SaveChanges();
    return alt->ItemKey();
}

} // namespace testsupport
