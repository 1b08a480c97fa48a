#pragma once

// A main window on a data file copied from the template, with the model operations replaced
// by recorders and every worksheet id served by a recording form.

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "core/u14properties.h"
#include "platform/tabs/indextab.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm02tabs.h"
#include "shell/frm0_tolmar.h"
#include "shell/modelcaches.h"
#include "worksheets/common/worksheetform.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace shelltest {

inline QStringList& Log()
{
    static QStringList log;
    return log;
}

// A worksheet that records its protocol calls.
class RecordingForm : public worksheets::WorksheetForm {
public:
    RecordingForm(const shell::WorksheetInfo& info, QWidget* parent)
        : WorksheetForm(info.form, parent), mInfo(info)
    {
        edit = new QLineEdit(this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(edit);
        layout->addStretch();
    }
    ~RecordingForm() override { Log() << "Unload " + mInfo.id; }
    void Setup() override
    {
        BeginSetup(mInfo.form + ".Setup");
        Log() << "Setup " + mInfo.id;
    }
    void SaveChanges() override
    {
        Log() << "Save " + mInfo.id;
        if (onSave)
            onSave();
    }
    QLineEdit* edit;
    std::function<void()> onSave;

private:
    shell::WorksheetInfo mInfo;
};

inline QString CopyTemplate(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile::remove(path);
    if (!QFile::copy(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")), path))
        return {};
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // A program folder of its own: the template beside it, and logs no other test writes.
        ASSERT_TRUE(QFile::copy(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")), dir.filePath("TLM.new")));
        core::SetAppPath(dir.path());
        Log().clear();
        shell::ModelOps& m = shell::Model();
        auto rec = [](const char* name) { return [name] { Log() << QString::fromLatin1(name); }; };
        m.ClearItems = rec("ClearItems");
        m.ClearFMUs = rec("ClearFMUs");
        m.ClearNVCResources = rec("ClearNVCResources");
        m.ClearThreatenedItems = rec("ClearThreatenedItems");
        m.ClearSRTypes = rec("ClearSRTypes");
        m.ClearSafetyIssues = rec("ClearSafetyIssues");
        m.ClearObjectives = rec("ClearObjectives");
        m.ClearAlternatives = rec("ClearAlternatives");
        m.ResetSRUseKey = rec("ResetSRUseKey");
        m.SaveRMAs = rec("SaveRMAs");
        m.SaveSituation = rec("SaveSituation");
        m.SaveSummary = rec("SaveSummary");
        m.SaveAlternatives = rec("SaveAlternatives");
        m.FMUCount = [this] { return fmus; };
        m.FireName = [this] { return fireName; };
        for (const shell::WorksheetInfo& info : shell::WorksheetTable()) {
            if (info.id == "tab11")
                continue;
            worksheets::RegisterWorksheetForm(info.id, [info](QWidget* parent) { return new RecordingForm(info, parent); });
        }
        window = std::make_unique<shell::frm0_Tolmar>();
        window->resize(1000, 740);
        window->show();
    }

    void TearDown() override
    {
        window.reset();
        if (core::gFileOpen())
            core::CloseDatafile();
        for (const shell::WorksheetInfo& info : shell::WorksheetTable())
            worksheets::UnregisterWorksheetForm(info.id);
        shell::Model() = shell::RealModelOps();
        worksheets::gCurrentWorksheetID.clear();
        worksheets::gCurrentSection = 1;
        core::SetAppPath(QString());
    }

    // Starts the program on a fresh copy of the template.
    QString startWithFile(const QString& name = QStringLiteral("Fire1.tlm"))
    {
        const QString path = CopyTemplate(dir, name);
        EXPECT_FALSE(path.isEmpty());
        window->Startup(path);
        return path;
    }

    shell::frm02Tabs* tabs() const { return window->tabsForm(); }
    RecordingForm* form() const { return dynamic_cast<RecordingForm*>(shell::CurrentWorksheetForm()); }
    QString id() const { return worksheets::gCurrentWorksheetID; }
    bool editMenu() const { return window->topMenu(4)->isEnabled(); }
    int checkedSection() const
    {
        for (int i = 1; i <= 8; ++i)
            if (window->sectionItem(i)->isChecked())
                return i;
        return 0;
    }
    int checkedWorksheet() const
    {
        for (int i = 1; i <= 6; ++i)
            if (window->tabItem(i)->isChecked())
                return i;
        return 0;
    }

    QTemporaryDir dir;
    ui::ScriptedPrompter prompter;
    std::unique_ptr<shell::frm0_Tolmar> window;
    int fmus = 0;
    QString fireName = QStringLiteral("Cedar Ridge");
};

} // namespace shelltest
