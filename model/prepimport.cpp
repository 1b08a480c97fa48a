#include "model/prepimport.h"

#include "core/g0items.h"
#include "core/g13rmas.h"
#include "core/u11datafile.h"
#include "core/u14properties.h"
#include "core/u91trace.h"
#include "model/g33fmus.h"
#include "model/g38srtypes.h"
#include "model/prepfile.h"
#include "platform/dao/dao.h"
#include "platform/richtext/texttortf.h"
#include "platform/ui/prompter.h"

#include <stdexcept>

namespace model {

namespace {

constexpr int kCostRows = 9;
constexpr int kNVCRows = 14;

// A fault found before anything is written; its text says what is wrong.
struct ImportFault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fault(const QString& text) { throw ImportFault(text.toStdString()); }

QString Quoted(const QString& name) { return QStringLiteral("\"%1\"").arg(name); }

// The numbers in 1..count that rows lacks, as "3, 4, 9".
template <typename Rows>
QString Missing(const Rows& rows, int count)
{
    QStringList missing;
    for (int i = 1; i <= count; ++i)
        if (!rows.contains(i))
            missing << QString::number(i);
    return missing.join(QStringLiteral(", "));
}

const PrepZone& CheckUnit(const PrepFile& prep, qint64 code)
{
    const qint64 zoneKey = FMUCodeZone(code);
    const int number = FMUCodeNumber(code);
    const PrepZone* zone = prep.FindZone(zoneKey);
    if (!zone)
        Fault(QStringLiteral("It has no zone with the key %1.").arg(zoneKey));
    if (zone->RLCount > kMaxUnitsPerZone)
        Fault(QStringLiteral("Zone %1 claims %2 fire management units; at most %3 can be imported.")
                  .arg(Quoted(zone->Name))
                  .arg(zone->RLCount)
                  .arg(kMaxUnitsPerZone));
    if (number < 1 || number > zone->RLCount)
        Fault(QStringLiteral("Zone %1 has no fire management unit number %2.").arg(Quoted(zone->Name)).arg(number));
    const QString cost = Missing(prep.CostRows(zoneKey), kCostRows);
    if (!cost.isEmpty())
        Fault(QStringLiteral("Zone %1 lacks its cost per acre for size classes %2.").arg(Quoted(zone->Name), cost));
    const QString nvc = Missing(prep.NVCRows(zoneKey), kNVCRows);
    if (!nvc.isEmpty())
        Fault(QStringLiteral("Zone %1 lacks its NVC rows for resources %2.").arg(Quoted(zone->Name), nvc));
    return *zone;
}

// The master list goes in once per data file, and never under resource lines that use the
// types it would replace.
bool MasterListDue(dao::Database& db)
{
    if (!core::Property_Get(QStringLiteral("ImportFCD")).isEmpty())
        return false;
    return db.OpenTable(QStringLiteral("SRUses"))->RecordCount() == 0;
}

void ImportSRMasterList(dao::Database& db, const PrepFile& prep)
{
    core::Trace(QStringLiteral("frmImport.ImportSRMasterList"));
    db.Execute(QStringLiteral("DELETE FROM SRTypes"));
    auto rs = db.OpenTable(QStringLiteral("SRTypes"));
    for (const PrepResource& r : prep.MasterList()) {
        rs->AddNew();
        rs->SetField(QStringLiteral("ChildIndex"), r.Sequence);
        rs->SetField(QStringLiteral("ParentKey"), r.Category);
        rs->SetField(QStringLiteral("LongName"), r.LongName);
        rs->SetField(QStringLiteral("ShortName"), r.ShortName);
        rs->SetField(QStringLiteral("UnitType"), r.UnitType);
        rs->SetField(QStringLiteral("UnitName"), r.Units);
        rs->SetField(QStringLiteral("UnitCost"), r.Cost);
        rs->Update();
    }
    rs->Close();
    core::Property_Set(QStringLiteral("SRDataSource"), prep.SRDataSource());
}

void ImportRMA(const PrepArea& area)
{
    core::Trace(QStringLiteral("frmImport.ImportRMA ") + QString::number(area.Key));
    core::NewRMA(area.ManagementArea, richtext::TextToRTF(area.Explanation))->SaveChanges();
}

void ImportPerAcreCost(dao::Database& db, const PrepFile& prep, qint64 zoneKey, int fmuKey)
{
    core::Trace(QStringLiteral("frmImport.ImportPerAcreCost"));
    const QMap<int, PrepCostRow> rows = prep.CostRows(zoneKey);
    auto rs = db.OpenTable(QStringLiteral("SuppressionPerAcreCost"));
    for (int sequence = 1; sequence <= kCostRows; ++sequence) {
        rs->AddNew();
        rs->SetField(QStringLiteral("FMZKey"), fmuKey);
        rs->SetField(QStringLiteral("Sequence"), sequence);
        rs->SetField(QStringLiteral("TopSize"), rows[sequence].TopSize);
        rs->SetField(QStringLiteral("Cost"), rows[sequence].Cost);
        rs->Update();
    }
    rs->Close();
}

void ImportNVCPerAcre(dao::Database& db, const PrepFile& prep, qint64 zoneKey, int fmuKey)
{
    core::Trace(QStringLiteral("frmImport.ImportNVCPerAcre"));
    const QMap<int, PrepNVCRow> rows = prep.NVCRows(zoneKey);
    auto rs = db.OpenTable(QStringLiteral("NVCPerAcre"));
    for (int resource = 1; resource <= kNVCRows; ++resource) {
        rs->AddNew();
        rs->SetField(QStringLiteral("FMZKey"), fmuKey);
        rs->SetField(QStringLiteral("ResourceNumber"), resource);
        for (int fil = 1; fil <= 6; ++fil)
            rs->SetField(QStringLiteral("FIL%1").arg(fil), rows[resource][fil - 1]);
        rs->Update();
    }
    rs->Close();
}

void ImportFMURL(dao::Database& db, const PrepFile& prep, qint64 code)
{
    core::Trace(QStringLiteral("frmImport.ImportFMURL ") + QString::number(code));
    const qint64 zoneKey = FMUCodeZone(code);
    const PrepZone* zone = prep.FindZone(zoneKey);
    const auto fmu = model::NewFMU(QString(), zone->Name + QLatin1Char('-') + QString::number(FMUCodeNumber(code)));
    ImportPerAcreCost(db, prep, zoneKey, fmu->ItemKey());
    ImportNVCPerAcre(db, prep, zoneKey, fmu->ItemKey());
}

void Refuse(const PrepFile& prep, const QString& fault)
{
    core::TraceWarning(QStringLiteral("Import from ") + prep.FileName() + QStringLiteral(" refused: ") + fault);
    ui::MsgBox(ui::Lines({QStringLiteral("The Prep file %1 cannot be imported.").arg(prep.FileName()), fault,
                          QStringLiteral("Nothing has been imported.")}),
               ui::Buttons::OK, ui::Icon::Warning);
}

} // namespace

bool ImportFromPrep(const PrepFile& prep, const QList<int>& areaKeys, const QList<qint64>& fmuCodes)
{
    core::Trace(QStringLiteral("frmImport.cmdImport_Click"));
    dao::Database* db = core::gDatabase();
    if (!db || !core::gFileOpen()) {
        Refuse(prep, QStringLiteral("No data file is open."));
        return false;
    }

    bool masterList = false;
    bool itemsAdded = false;
    try {
        QList<const PrepArea*> areas;
        for (int key : areaKeys) {
            const PrepArea* area = prep.FindArea(key);
            if (!area)
                Fault(QStringLiteral("It has no resource management area with the key %1.").arg(key));
            areas.append(area);
        }
        for (qint64 code : fmuCodes)
            CheckUnit(prep, code);
        masterList = MasterListDue(*db);
        // An empty list empties nothing in an analysis that has no resource types yet.
        if (masterList && prep.MasterList().isEmpty() && db->OpenTable(QStringLiteral("SRTypes"))->RecordCount() > 0)
            Fault(QStringLiteral("Its suppression resource master list is empty, and importing it would empty "
                                 "the resource list of this analysis."));

        dao::Transaction tx(*db);
        if (masterList)
            ImportSRMasterList(*db, prep);
        for (const PrepArea* area : areas) {
            itemsAdded = true;
            ImportRMA(*area);
        }
        for (qint64 code : fmuCodes)
            ImportFMURL(*db, prep, code);
        core::Property_Set(QStringLiteral("ImportFCD"), prep.FileName());
        tx.commit();
    } catch (const ImportFault& fault) {
        Refuse(prep, QString::fromStdString(fault.what()));
        return false;
    } catch (const std::exception& e) {
        // The transaction has rolled back: forget what the caches took from it.
        if (itemsAdded)
            core::ClearItems();
        model::ClearFMUs();
        model::ClearSRTypes();
        core::TraceError(QStringLiteral("Import from ") + prep.FileName() + QStringLiteral(": ") + QString::fromStdString(e.what()));
        Refuse(prep, QStringLiteral("The data file %1 refused a change: %2")
                         .arg(core::GetDatafileTitle(), QString::fromStdString(e.what())));
        return false;
    }
    model::ClearFMUs();
    if (masterList)
        model::ClearSRTypes();
    return true;
}

} // namespace model
