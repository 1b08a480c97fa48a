#include "core/u12tlmfiles.h"

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "core/u14properties.h"
#include "platform/ui/prompter.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace core {

namespace {

const QString kFilter = QStringLiteral("Tolmar Rude files (*.tlm);;All Files (*)");
const QString kProposedName = QStringLiteral("Fire1.tlm");

QString Ask(ui::FileDialog::Kind kind, const QString& title, const QString& folder, const QString& fileName)
{
    ui::FileDialog dialog;
    dialog.kind = kind;
    dialog.title = title;
    dialog.folder = folder;
    dialog.fileName = fileName;
    dialog.filter = kFilter;
    QString chosen;
    try {
        chosen = ui::prompter().chooseFile(dialog);
    } catch (...) {
        return {};   // a failed dialog reads as a cancel
    }
    if (chosen.isEmpty())
        return {};
    // The default extension, as a typed name without one gets it.
    if (QFileInfo(chosen).suffix().isEmpty() && (kind == ui::FileDialog::Kind::Save || !QFileInfo::exists(chosen)))
        chosen += QStringLiteral(".tlm");
    return QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
}

bool MayReplace(const QString& path, const QString& title)
{
    if (!QFileInfo::exists(path))
        return true;
    return ui::MsgBox(QStringLiteral("The file already exists.  Do you want to overwrite it?"), ui::Buttons::YesNo,
                      ui::Icon::Critical, ui::Answer::No, title)
           == ui::Answer::Yes;
}

std::filesystem::path FsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

bool SameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    std::error_code ec;
    if (std::filesystem::exists(FsPath(a), ec) && std::filesystem::exists(FsPath(b), ec)) {
        const bool same = std::filesystem::equivalent(FsPath(a), FsPath(b), ec);
        return !ec && same;
    }
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

QString AskOpenFileName()
{
    return Ask(ui::FileDialog::Kind::Open, QStringLiteral("Open Tolmar Rude file"), GetDataPath(), QString());
}

QString AskNewFileName()
{
    const QString name = Ask(ui::FileDialog::Kind::Save, QStringLiteral("Create new Tolmar Rude file"),
                             GetDataPath(), kProposedName);
    if (name.isEmpty() || !MayReplace(name, QStringLiteral("Replace file?")))
        return {};
    return name;
}

QString AskSaveAsFileName()
{
    const QString name = Ask(ui::FileDialog::Kind::Save, QStringLiteral("Save As New Tolmar Rude file"), QString(),
                             kProposedName);
    if (name.isEmpty())
        return {};
    // The open file itself, however the name was spelled, is never a target.
    if (SameFile(name, Property_Get(QStringLiteral("FullFileName")))
        || (gDatabase() && SameFile(name, gDatabase()->Path())))
        return {};
    if (!MayReplace(name, QStringLiteral("Delete")))
        return {};
    return name;
}

QString AskConvertedFileName(const QString& jetName, const QString& proposed)
{
    const QFileInfo info(proposed);
    const QString name = Ask(ui::FileDialog::Kind::Save, QStringLiteral("Save the Converted Copy of %1").arg(jetName),
                             info.absolutePath(), info.fileName());
    if (name.isEmpty() || !MayReplace(name, QStringLiteral("Replace file?")))
        return {};
    return name;
}

} // namespace core
