#include "core/jetfiles.h"

#include "core/u11datafile.h"
#include "core/u12tlmfiles.h"
#include "core/u13folders.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/jet/convert.h"
#include "platform/ui/prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace core {

namespace {

void Say(const QStringList& lines, ui::Icon icon = ui::Icon::None)
{
    ui::MsgBox(ui::Lines(lines), ui::Buttons::OK, icon);
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The hourglass while the converter runs: a large file takes a moment.
QString ConvertShowingBusy(const QString& jetPath, const QString& target)
{
    BusyScope busy;
    return jet::ConvertToSqlite(jetPath, target);
}

// Converts jetPath into a new file at target; false, with the user told, when it cannot.
bool Convert(const QString& jetPath, const QString& target)
{
    const QString why = ConvertShowingBusy(jetPath, target);
    if (why.isEmpty())
        return true;
    TraceError(QStringLiteral("Converting %1: %2").arg(jetPath, why));
    SayCannotRead(jetPath);
    return false;
}

void RemoveDatafile(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// The name the copy takes once its questions are answered, replacing a file the user agreed to
// replace.
bool Rename(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()), ec);
    return !ec;
}

} // namespace

void SayCannotRead(const QString& path)
{
    Say({QStringLiteral("%1 cannot be read: it is damaged or not a database.").arg(GetFileTitle(path))},
        ui::Icon::Critical);
}

std::unique_ptr<ConvertedCopy> ConvertedCopy::Make(const QString& jetPath)
{
    std::unique_ptr<ConvertedCopy> copy(new ConvertedCopy);
    if (!copy->mFolder.isValid()) {
        TraceError(QStringLiteral("Converting %1: no temporary folder").arg(jetPath));
        return nullptr;
    }
    copy->mPath = copy->mFolder.filePath(QStringLiteral("copy.sqlite"));
    const QString why = ConvertShowingBusy(jetPath, copy->mPath);
    if (!why.isEmpty()) {
        TraceError(QStringLiteral("Converting %1: %2").arg(jetPath, why));
        return nullptr;
    }
    return copy;
}

QString ReadableFile(const QString& path, std::unique_ptr<ConvertedCopy>& copy)
{
    copy.reset();
    if (!jet::IsJetFile(path))
        return path;
    copy = ConvertedCopy::Make(path);
    return copy ? copy->Path() : QString();
}

QString DatafileToOpen(const QString& path)
{
    if (!jet::IsJetFile(path))
        return path;
    Trace(QStringLiteral("jetfiles.DatafileToOpen ") + path);
    const QFileInfo jetFile(path);
    const QString jetName = jetFile.fileName();
    const QString copyName = jetFile.completeBaseName() + QStringLiteral(" (converted).tlm");
    const bool besideWritable = QFileInfo(jetFile.absolutePath()).isWritable();
    // Beside the Jet file; where that folder cannot be written, where the user was offered to
    // keep it the first time.
    QString target = JoinPath(besideWritable ? jetFile.absolutePath() : GetDataPath(), copyName);

    if (QFileInfo(target).isFile() && !SameFile(target, path)) {
        Say({QStringLiteral("%1 was converted before.").arg(jetName),
             QStringLiteral("Its analysis opens from the converted file:"), Native(target),
             QStringLiteral("%1 itself is left as it was.").arg(jetName)},
            ui::Icon::Information);
        return Native(target);
    }
    if (!besideWritable) {
        target = AskConvertedFileName(jetName, target);
        if (target.isEmpty() || SameFile(target, path))
            return {};
    }
    if (!QFileInfo(QFileInfo(target).absolutePath()).isWritable()) {
        Say({QStringLiteral("Unable to save file."),
             QStringLiteral("The folder %1 cannot be written.").arg(Native(QFileInfo(target).absolutePath()))});
        return {};
    }

    // The copy is made under a name of its own and takes its name only once the upgrade's
    // questions are answered: a Cancel leaves nothing behind, and a file the user agreed to
    // replace is replaced only then.
    const QString part = target + QStringLiteral(".part");
    RemoveDatafile(part);
    if (!Convert(path, part))
        return {};
    if (gDatabase())
        CloseDatafile();
    const bool accepted = OpenDatafile(part);
    if (gDatabase())
        CloseDatafile();
    if (!accepted || !Rename(part, target)) {
        if (accepted)
            Say({QStringLiteral("Unable to save file.")});
        RemoveDatafile(part);
        return {};
    }
    Say({QStringLiteral("%1 was made with an earlier version of Tolmar Rude.").arg(jetName),
         QStringLiteral("Its analysis has been converted into a new file, which opens now:"), Native(target),
         QStringLiteral("%1 itself is left as it was.").arg(jetName)},
        ui::Icon::Information);
    return Native(target);
}

} // namespace core
