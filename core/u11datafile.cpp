#include "core/u11datafile.h"

#include "core/jetfiles.h"
#include "core/u12tlmfiles.h"
#include "core/u13folders.h"
#include "core/u14properties.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "platform/ui/prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <memory>

namespace core {

namespace {

std::unique_ptr<dao::Database> gDb;
std::unique_ptr<dao::Recordset> gProps;
bool gOpen = false;
bool gCreating = false;
bool gWholeCheckPending = false;
Upgrader* gUpgrader = nullptr;

const QString kStoredAsYouWork =
    QStringLiteral("It cannot be opened, because every change is stored in the file as you work.");
const QString kInUse = QStringLiteral("The file is in use by another program or by another copy of Tolmar Advanced.");

void Say(const QStringList& lines, ui::Icon icon = ui::Icon::None, const QString& title = ui::kProgramTitle)
{
    ui::MsgBox(ui::Lines(lines), ui::Buttons::OK, icon, ui::Answer::OK, title);
}

void SayNotTolmarFile()
{
    Say({QStringLiteral("The file does not appear to be a Tolmar Rude file."), QStringLiteral("It cannot be opened.")});
}

// Closes whatever an open left behind; never throws, so that it can run on every failure path.
void Release()
{
    gOpen = false;
    gWholeCheckPending = false;
    try {
        if (gProps)
            gProps->Close();
    } catch (...) {
    }
    gProps.reset();
    try {
        if (gDb)
            gDb->Close();
    } catch (...) {
    }
    gDb.reset();
}

// The conversions a format needs, after the user agreed; false when the file is refused.
bool CheckFormat(const QString& format)
{
    const auto incompatible = [] {
        Say({QStringLiteral("This file uses an incompatible format"),
             QStringLiteral("and cannot be opened using Tolmar Rude 06.")});
        return false;
    };
    if (format == kCurrentFormat)
        return true;
    if (format == QLatin1String("06.00.beta")) {
        gProps->Edit();
        gProps->SetField(QStringLiteral("Value"), kCurrentFormat);
        gProps->Update();
        return true;
    }
    if (format == QLatin1String("3.00.00")) {
        Say({QStringLiteral("This is a Tolmar Rude '98 file."), QStringLiteral("It cannot be opened using Tolmar Rude 06.")},
            ui::Icon::Critical, QStringLiteral("Tolmar Rude '98 File"));
        return false;
    }
    const bool from5 = format == QLatin1String("05.01.02");
    const bool from41 = format == QLatin1String("04.01.01");
    const bool from4 = format == QLatin1String("4.00.00") || format == QLatin1String("3.93.00");
    if (!from5 && !from41 && !from4)
        return incompatible();
    if (!gUpgrader)
        return incompatible();
    if (!(from5 ? gUpgrader->QueryConvert5to6() : gUpgrader->QueryConvert41to5()))
        return false;
    if (from4)
        gUpgrader->Convert4to41();
    if (from4 || from41)
        gUpgrader->Convert41to5();
    gUpgrader->Convert5to6();
    // A chain that stops short would be taken for converted now and converted again next time.
    gProps->Seek(QStringLiteral("DataFormatID"));
    const QString reached = GetFieldText(*gProps, QStringLiteral("Value"));
    if (reached != kCurrentFormat)
        throw dao::Error(dao::Error::Kind::Generic,
                         QStringLiteral("The conversion from %1 ended at format \"%2\"").arg(format, reached));
    return true;
}

// The tables of the current format, each with its columns and the fields of its primary key
// separated by blanks.
struct FormatTable {
    const char* name;
    const char* columns;
    const char* key;
};
constexpr FormatTable kFormatTables[] = {
#include "currentformat.inc"
};

// The schema of a file made from the template, entry for entry.
constexpr dao::SchemaEntry kOwnSchema[] = {
#include "ownschema.inc"
};

QStringList Words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// What the open file lacks of the current format ("the table FMZList", "the field Items.Body",
// "the key of the table Items (ItemKey)"). A file without them would open and then fail at
// every load, after its name had been written into it; every table is read in the order of its
// key and its rows are found by it.
QStringList MissingParts(const dao::Database& db)
{
    QStringList missing;
    const QStringList tables = db.TableNames();
    for (const FormatTable& table : kFormatTables) {
        const QString name = QString::fromLatin1(table.name);
        if (!tables.contains(name, Qt::CaseInsensitive)) {
            missing << QStringLiteral("the table %1").arg(name);
            continue;
        }
        // Names only: working out each field's full definition cost more than the rest of the check.
        for (const QString& column : Words(table.columns))
            if (!db.FieldExists(name, column))
                missing << QStringLiteral("the field %1.%2").arg(name, column);
        const QStringList key = Words(table.key);
        if (db.PrimaryKey(name).join(QLatin1Char(' ')).compare(key.join(QLatin1Char(' ')), Qt::CaseInsensitive) != 0)
            missing << QStringLiteral("the key of the table %1 (%2)").arg(name, key.join(QStringLiteral(", ")));
    }
    return missing;
}

// Refuses, before anything is written, a file that lacks part of the current format.
bool CheckComplete(const QString& path)
{
    // The template's schema and the format's parts are read from the same script.
    if (gDb->IsOwnSchema())
        return true;
    QStringList missing = MissingParts(*gDb);
    if (missing.isEmpty())
        return true;
    TraceError(QStringLiteral("OpenDatafile %1: missing %2").arg(path, missing.join(QStringLiteral(", "))));
    constexpr int kNamed = 5;
    if (missing.size() > kNamed) {
        const qsizetype more = missing.size() - kNamed;
        missing = missing.mid(0, kNamed);
        missing << QStringLiteral("%1 more").arg(more);
    }
    Say({QStringLiteral("The file does not appear to be a Tolmar Rude file."),
         QStringLiteral("Missing from it: %1.").arg(missing.join(QStringLiteral(", "))),
         QStringLiteral("It cannot be opened.")});
    return false;
}

// Files of the other editions open only once converted to this one.
bool CheckAdvancedMode(const QString& programId)
{
    if (programId == kProgramEdition || gCreating)
        return true;
    const QString edition = programId.isEmpty() ? QStringLiteral("Standard") : programId;
    const ui::Answer answer = ui::MsgBox(
        ui::Lines({QStringLiteral("This file was made with the %1 edition of Tolmar Rude.").arg(edition),
                   QStringLiteral("Tolmar Advanced can open it once it is converted to an Advanced edition file."),
                   QString(), QStringLiteral("Convert the file and open it?")}),
        ui::Buttons::YesNo, ui::Icon::Question, ui::Answer::Yes, QStringLiteral("Convert to Tolmar Advanced?"));
    if (answer != ui::Answer::Yes)
        return false;
    Property_Set(QStringLiteral("ProgramID"), kProgramEdition);
    return true;
}

void SayOpenError(const dao::Error& e, const QString& path)
{
    switch (e.kind()) {
    case dao::Error::Kind::Foreign:
        Say({QStringLiteral("The file does not appear to be a Tolmar Rude file."), e.message(),
             QStringLiteral("It cannot be opened.")});
        break;
    case dao::Error::Kind::DiskFull:
        Say({QStringLiteral("The file %1 cannot be opened: the disk it is on is full.").arg(path),
             QStringLiteral("Nothing in it has been changed. Free some space on that disk, and open it again.")});
        break;
    case dao::Error::Kind::NotFound:
        Say({QStringLiteral("The file %1 cannot be found.").arg(path), QStringLiteral("It cannot be opened.")});
        break;
    case dao::Error::Kind::Locked:
        Say({kInUse, QStringLiteral("It cannot be opened until it is closed there.")});
        break;
    case dao::Error::Kind::ReadOnly:
        Say({QStringLiteral("The file %1 is read-only.").arg(path), kStoredAsYouWork});
        break;
    default:
        SayNotTolmarFile();
        break;
    }
}

// Copies a whole file, replacing the target; the target appears only once complete.
bool CopyDataFile(const QString& from, const QString& to)
{
    if (SameFile(from, to) || !QFileInfo(from).isFile())
        return false;
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part))
        return false;
    // A template shipped read-only must still give a file the user can edit.
    QFile::setPermissions(part, QFile::permissions(part) | QFile::ReadOwner | QFile::WriteOwner);
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(part.toStdU16String()), std::filesystem::path(to.toStdU16String()), ec);
    if (ec) {
        QFile::remove(part);
        return false;
    }
    return true;
}

// An empty or foreign file would otherwise be taken for a new, empty database and written to.
bool LooksLikeDatabase(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;   // let the engine report why it cannot be read
    static const QByteArray kHeader("SQLite format 3\0", 16);
    return file.read(kHeader.size()) == kHeader;
}

// True when a file we are about to replace is held by another program or another copy of
// this one: replacing it would pull the file from under that copy and lose its later edits.
bool InUseElsewhere(const QString& path)
{
    if (!QFileInfo(path).isFile() || !LooksLikeDatabase(path))
        return false;
    try {
        dao::Database::Open(path)->Close();
    } catch (const dao::Error& e) {
        return e.kind() == dao::Error::Kind::Locked;
    }
    return false;
}

QString Absolute(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

dao::Database* gDatabase() { return gDb.get(); }
dao::Recordset* gProperties() { return gProps.get(); }
bool gFileOpen() { return gOpen; }
bool gCreatingNewFile() { return gCreating; }

void SetUpgrader(Upgrader* u)
{
    gUpgrader = u;
}

bool OpenDatafile(const QString& path, bool wholeCheckLater)
{
    if (gDb)
        CloseDatafile();

    // Checked first so that nothing is created, locked or written for these.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        Say({QStringLiteral("The file %1 cannot be found.").arg(path), QStringLiteral("It cannot be opened.")});
        return false;
    }
    if (!info.isFile() || !LooksLikeDatabase(path)) {
        SayNotTolmarFile();
        return false;
    }
    if (!info.isWritable()) {
        SayOpenError(dao::Error(dao::Error::Kind::ReadOnly, path), path);
        return false;
    }
    // The engine writes its journal beside the file; without it the first change would fail.
    const QFileInfo folder(info.absolutePath());
    if (!folder.isWritable()) {
        Say({QStringLiteral("The file %1 is in a folder that cannot be written.").arg(path), kStoredAsYouWork});
        return false;
    }

    try {
        dao::OpenOptions options;
        options.exclusive = true;
        options.readOnly = false;
        options.checkEveryPage = !wholeCheckLater;
        options.ownSchema = kOwnSchema;
        gDb = dao::Database::Open(path, options);
        gProps = gDb->OpenTable(QStringLiteral("Properties"));
        gProps->SetIndex(QStringLiteral("PrimaryKey"));
        gProps->Seek(QStringLiteral("DataFormatID"));
        const QString format = GetFieldText(*gProps, QStringLiteral("Value"));
        if (wholeCheckLater) {
            if (format != kCurrentFormat || (Property_Get(QStringLiteral("ProgramID")) != kProgramEdition && !gCreating))
                gDb->CheckEveryPage();
            else
                gWholeCheckPending = true;
        }

        // Relabelling, conversions and the edition change land together or not at all.
        bool accepted = false;
        {
            dao::Transaction transaction(*gDb);
            accepted = CheckFormat(format) && CheckComplete(path) &&
                       CheckAdvancedMode(Property_Get(QStringLiteral("ProgramID")));
            if (accepted)
                transaction.commit();
        }
        if (!accepted) {
            Release();
            return false;
        }
    } catch (const dao::Error& e) {
        Release();
        TraceError(QStringLiteral("OpenDatafile %1: %2").arg(path, e.message()));
        SayOpenError(e, path);
        return false;
    } catch (const std::exception& e) {
        Release();
        TraceError(QStringLiteral("OpenDatafile %1: %2").arg(path, QString::fromLocal8Bit(e.what())));
        SayNotTolmarFile();
        return false;
    } catch (...) {
        Release();
        TraceError(QStringLiteral("OpenDatafile %1: unknown error").arg(path));
        SayNotTolmarFile();
        return false;
    }
    gOpen = true;
    return true;
}

bool RecordFileName(const QString& path)
{
    try {
        Property_Set(QStringLiteral("FullFileName"), Absolute(path));
        return true;
    } catch (const dao::Error& e) {
        Release();
        TraceError(QStringLiteral("OpenDatafile %1: %2").arg(path, e.message()));
        if (e.kind() == dao::Error::Kind::DiskFull)
            SayOpenError(e, path);
        else
            Say({QStringLiteral("The file %1 cannot be opened: writing to it failed.").arg(path), e.message()});
        return false;
    }
}

bool OpenedFileAwaitsWholeCheck()
{
    return gWholeCheckPending && gDb;
}

bool CheckOpenedFileWhole()
{
    if (!OpenedFileAwaitsWholeCheck())
        return true;
    gWholeCheckPending = false;
    try {
        gDb->FinishCheckEveryPage();
        return true;
    } catch (const dao::Error& e) {
        const QString path = gDb->Path();
        Release();
        TraceError(QStringLiteral("OpenDatafile %1: %2").arg(path, e.message()));
        SayOpenError(e, path);
        return false;
    }
}

void StartWholeCheck(std::function<void()> finished)
{
    if (OpenedFileAwaitsWholeCheck())
        gDb->StartCheckEveryPage(std::move(finished));
}

OpenResult QueryOpenDatafile()
{
    Trace(QStringLiteral("u11Datafile.QueryOpenDatafile"));
    const QString asked = AskOpenFileName();
    if (asked.isEmpty())
        return OpenResult::Cancelled;
    // A Jet file of an earlier version opens as its converted copy.
    const QString name = DatafileToOpen(asked);
    if (name.isEmpty())
        return gDb ? OpenResult::Cancelled : OpenResult::Failed;
    if (gDb)
        CloseDatafile();
    if (!OpenDatafile(name) || !RecordFileName(name))
        return OpenResult::Failed;
    return OpenResult::Open;
}

OpenResult QueryNewDatafile()
{
    Trace(QStringLiteral("u11Datafile.QueryNewDatafile"));
    const QString name = AskNewFileName();
    if (name.isEmpty())
        return OpenResult::Cancelled;
    if (!(gDb && SameFile(name, gDb->Path())) && InUseElsewhere(name)) {
        Say({QStringLiteral("Unable to create new file."), kInUse});
        return OpenResult::Cancelled;
    }
    if (gDb)
        CloseDatafile();
    const QString templatePath = JoinPath(AppPath(), QStringLiteral("TLM.new"));
    if (!QFileInfo(templatePath).isFile()) {
        Say({QStringLiteral("Unable to create new file."), QStringLiteral("Source file TLM.new is missing.")});
        return OpenResult::Failed;
    }
    if (!CopyDataFile(templatePath, name)) {
        Say({QStringLiteral("Unable to create new file.")});
        return OpenResult::Failed;
    }
    gCreating = true;
    const bool opened = OpenDatafile(name);
    gCreating = false;
    if (!opened || !RecordFileName(name))
        return OpenResult::Failed;
    Property_Set(QStringLiteral("ProgramID"), kProgramEdition);
    return OpenResult::Open;
}

OpenResult SaveAsDatafile()
{
    if (!gDb)
        return OpenResult::Cancelled;
    const QString current = gDb->Path();
    const QString name = AskSaveAsFileName();
    if (name.isEmpty() || SameFile(name, current))
        return OpenResult::Cancelled;
    if (InUseElsewhere(name)) {
        Say({QStringLiteral("Unable to save file."), kInUse});
        return OpenResult::Cancelled;
    }
    CloseDatafile();
    if (!CopyDataFile(current, name))
        Say({QStringLiteral("Unable to save file.")});
    else if (OpenDatafile(name) && RecordFileName(name))
        return OpenResult::Open;
    // The file as it was is still whole: it is taken up again, so that edits its last save could
    // not store (its disk is full) stay on screen for another try.
    return OpenDatafile(current) ? OpenResult::Cancelled : OpenResult::Failed;
}

void CloseDatafile()
{
    Release();
}

QString GetDatafileTitle()
{
    return GetFileTitle(Property_Get(QStringLiteral("FullFileName")));
}

int GetMaxKey(const QString& table, const QString& keyField)
{
    if (!gDb)
        return 0;
    std::unique_ptr<dao::Recordset> rs = gDb->OpenTable(table);
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    int key = 0;
    if (rs->RecordCount() >= 1) {
        rs->MoveLast();
        key = GetFieldLong(*rs, keyField);
    }
    rs->Close();
    return key;
}

} // namespace core
