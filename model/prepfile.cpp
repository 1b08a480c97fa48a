#include "model/prepfile.h"

#include "core/jetfiles.h"
#include "core/u13folders.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "platform/dao/dao.h"
#include "platform/ui/prompter.h"

#include <QDir>

#include <algorithm>

namespace model {

namespace {

const QString kProperties = QStringLiteral("Properties");

// The Value of a Properties row, "" when there is none.
QString PropertyValue(dao::Database& db, const QString& property)
{
    auto rs = db.OpenTable(kProperties);
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    rs->Seek(property);
    return core::GetFieldText(*rs, QStringLiteral("Value"));
}

bool IsKnownFormat(const QString& format)
{
    return format == QLatin1String("4.01.01") || format == QLatin1String("4.00.00") ||
           format == QLatin1String("3.92.00") || format == QLatin1String("3.00.00");
}

qint64 FieldKey(const dao::Recordset& rs, const QString& field)
{
    const QVariant v = rs.Field(field);
    return v.isNull() ? 0 : v.toLongLong();
}

} // namespace

QList<PrepFileEntry> BuildFCDFileList(const QString& folder)
{
    core::Trace(QStringLiteral("frmImport.BuildFCDFileList for ") + folder);
    QList<PrepFileEntry> list;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.fcd")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        core::Trace(QStringLiteral("  ") + name);
        PrepFileEntry entry{name, QString()};
        try {
            std::unique_ptr<core::ConvertedCopy> copy;
            const QString file = core::ReadableFile(core::JoinPath(folder, name), copy);
            if (file.isEmpty())
                throw dao::Error(dao::Error::Kind::NotDatabase, QStringLiteral("The Jet database cannot be converted"));
            auto db = dao::Database::Open(file, {.exclusive = false, .readOnly = true});
            auto rs = db->OpenTable(kProperties);
            rs->SetIndex(QStringLiteral("PrimaryKey"));
            rs->Seek(QStringLiteral("UnitName"));
            if (rs->NoMatch())
                core::TraceWarning(QStringLiteral("Tolmar Prep file has no unit name"));
            else
                entry.UnitName = core::GetFieldText(*rs, QStringLiteral("Value"));
            rs->Close();
            db->Close();
        } catch (const dao::Error& e) {
            core::TraceWarning(QStringLiteral("Error reading ") + name);
            core::Trace(QStringLiteral("  ") + e.message());
        }
        list.append(entry);
    }
    return list;
}

std::unique_ptr<PrepFile> PrepFile::Open(const QString& path)
{
    core::TraceStart(QStringLiteral("frm12Import.OpenFCDFile"));
    std::unique_ptr<PrepFile> prep(new PrepFile);
    prep->mPath = path;
    // A Jet Prep file is read through its SQLite copy, with every check below.
    const QString file = core::ReadableFile(path, prep->mCopy);
    if (file.isEmpty()) {
        core::SayCannotRead(path);
        core::TraceFinished(QStringLiteral("Unsuccesful OpenFCDFile ") + path);
        return nullptr;
    }
    try {
        // Read-only, and held: no writer can change the file while it is shown.
        prep->mDb = dao::Database::Open(file, {.exclusive = true, .readOnly = true});
        prep->mFormatID = PropertyValue(*prep->mDb, QStringLiteral("DataFormatID"));
        if (!IsKnownFormat(prep->mFormatID)) {
            core::Trace(QStringLiteral("  DataFormatID ") + prep->mFormatID);
            prep->Close();
            ui::MsgBox(QStringLiteral("The file uses an incompatible format.  It cannot be opened."));
            core::TraceFinished(QStringLiteral("Unsuccesful OpenFCDFile ") + path);
            return nullptr;
        }
        prep->Read();
    } catch (const dao::Error& e) {
        core::Trace(QStringLiteral("  ") + e.message());
        prep->Close();
        // What a file made by another program holds is named, so that its maker can be told.
        QStringList lines = {QStringLiteral("The file does not appear to be a Tolmar Prep file.")};
        if (e.kind() == dao::Error::Kind::Foreign)
            lines << e.message();
        lines << QStringLiteral("It cannot be opened.");
        ui::MsgBox(ui::Lines(lines));
        core::TraceFinished(QStringLiteral("Unsuccesful OpenFCDFile ") + path);
        return nullptr;
    }
    core::TraceFinished(QStringLiteral("OpenFCDFile ") + path);
    return prep;
}

PrepFile::~PrepFile() { Close(); }

void PrepFile::Close()
{
    if (!mDb)
        return;
    core::Trace(QStringLiteral("frmImport.DBPrep_Close"));
    try {
        mDb->Close();
    } catch (const dao::Error&) {
        // A read-only file has nothing to write back; closing cannot lose anything.
    }
    mDb.reset();
    mCopy.reset();
}

QString PrepFile::FileName() const { return core::GetFileTitle(mPath); }

void PrepFile::Read()
{
    dao::Database& db = *mDb;
    const QString pk = QStringLiteral("PrimaryKey");

    mSRDataSource = PropertyValue(db, QStringLiteral("SRDataSource"));

    // "3.00.00" files were written before areas were kept; they offer none.
    if (mFormatID != QLatin1String("3.00.00")) {
        auto rs = db.OpenTable(QStringLiteral("ManagementGoals"));
        rs->SetIndex(pk);
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            mAreas.append({int(FieldKey(*rs, QStringLiteral("Key"))), core::GetFieldText(*rs, QStringLiteral("ManagementArea")),
                           core::GetFieldText(*rs, QStringLiteral("Explanation"))});
    }

    {
        auto rs = db.OpenTable(QStringLiteral("FMZList"));
        rs->SetIndex(pk);
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            mZones.append({FieldKey(*rs, QStringLiteral("Key")), core::GetFieldText(*rs, QStringLiteral("Name")),
                           core::GetFieldLong(*rs, QStringLiteral("RLCount"))});
    }
    {
        auto rs = db.OpenTable(QStringLiteral("SuppressionPerAcreCost"));
        rs->SetIndex(pk);
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            mCostRows[FieldKey(*rs, QStringLiteral("FMZKey"))].insert(
                core::GetFieldLong(*rs, QStringLiteral("Sequence")),
                {core::GetFieldSingle(*rs, QStringLiteral("TopSize")), core::GetFieldSingle(*rs, QStringLiteral("Cost"))});
    }
    {
        auto rs = db.OpenTable(QStringLiteral("NVCPerAcre"));
        rs->SetIndex(pk);
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            PrepNVCRow row{};
            for (int fil = 1; fil <= 6; ++fil)
                row[fil - 1] = core::GetFieldSingle(*rs, QStringLiteral("FIL%1").arg(fil));
            mNVCRows[FieldKey(*rs, QStringLiteral("FMZKey"))].insert(
                core::GetFieldLong(*rs, QStringLiteral("ResourceNumber")), row);
        }
    }
    {
        auto rs = db.OpenTable(QStringLiteral("SRMasterList"));
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            mMasterList.append({rs->Field(QStringLiteral("Sequence")), rs->Field(QStringLiteral("Category")),
                                rs->Field(QStringLiteral("LongName")), rs->Field(QStringLiteral("ShortName")),
                                rs->Field(QStringLiteral("UnitType")), rs->Field(QStringLiteral("Units")),
                                rs->Field(QStringLiteral("Cost"))});
    }
}

QList<PrepFMUEntry> PrepFile::FMUEntries() const
{
    QList<PrepFMUEntry> entries;
    for (const PrepZone& zone : mZones)
        for (int i = 1; i <= std::min(zone.RLCount, kMaxUnitsPerZone); ++i)
            entries.append({zone.Name + QLatin1Char('-') + QString::number(i), FMUCode(zone.Key, i)});
    return entries;
}

const PrepArea* PrepFile::FindArea(int key) const
{
    auto it = std::find_if(mAreas.begin(), mAreas.end(), [key](const PrepArea& a) { return a.Key == key; });
    return it == mAreas.end() ? nullptr : &*it;
}

const PrepZone* PrepFile::FindZone(qint64 key) const
{
    auto it = std::find_if(mZones.begin(), mZones.end(), [key](const PrepZone& z) { return z.Key == key; });
    return it == mZones.end() ? nullptr : &*it;
}

} // namespace model
