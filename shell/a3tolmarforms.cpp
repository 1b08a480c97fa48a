#include "shell/a3tolmarforms.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "platform/ui/guard.h"
#include "platform/ui/screen.h"
#include "platform/ui/waitcursor.h"
#include "shell/frm02tabs.h"
#include "shell/frm0_tolmar.h"
#include "shell/frm11intro.h"
#include "shell/modelcaches.h"
#include "shell/placeholderworksheet.h"
#include "worksheets/common/worksheetform.h"

#include <QApplication>
#include <QPointer>
#include <QScopedValueRollback>

namespace shell {

using worksheets::gCurrentSection;
using worksheets::gCurrentWorksheetID;
using worksheets::WorksheetForm;

namespace {

QPointer<WorksheetForm> gForm;
QString gFormId;
// While a worksheet's Setup runs, a fill that fails in it is the Setup's to answer.
bool gSettingUp = false;

// The form on screen, no longer the shell's: the caller deletes it.
WorksheetForm* TakeShownForm()
{
    WorksheetForm* form = gForm;
    gForm = nullptr;
    gFormId.clear();
    return form;
}

using C = CacheClear;
using S = SavePath;

int Help(const QString& id)
{
    // 4010 + 100 x the section digit for the introductions; the worksheets follow on by tens.
    return 4000 + 100 * id.mid(3, 1).toInt() + 10 * id.mid(4, 1).toInt();
}

QList<WorksheetInfo> BuildTable()
{
    QList<WorksheetInfo> t = {
        {0, 1, "Introduction", "tab11", "frm11Intro", S::None, {}, false, 0},
        {1, 2, "Import Data", "tab12", "frm12Import", S::None, {C::FMUs, C::Alternatives}, false, 0},
        {1, 3, "Resource Objectives", "tab13", "frm13RMAs", S::SaveRMAs, {}, true, 0},
        {1, 4, "NVC Table", "tab14", "frm14NVCTable", S::Form, {}, true, 0},
        {1, 5, "Suppression Resource List", "tab15", "frm15SRMaster", S::Form, {C::SRTypes, C::Alternatives}, true, 0},
        {1, 6, "Cost / Acre", "tab16", "frm16CostPerAcre", S::Form, {}, false, 0},
        {2, 2, "General Information", "tab22", "frm22General", S::SaveSituation, {}, true, 0},
        {2, 3, "Conditions", "tab23", "frm23Situation", S::SaveSituation, {}, true, 0},
        {2, 4, "Values at Risk", "tab24", "frm24ValuesAtRisk", S::Form, {C::Alternatives}, true, 0},
        {3, 2, "Safety Issues", "tab32", "frm32SafetyIssues", S::Form, {C::Alternatives}, true, 0},
        {3, 3, "Describe Objectives", "tab33", "frm33Objectives", S::Form, {C::Objectives, C::Alternatives}, true, 0},
        {3, 4, "Prioritize Objectives", "tab34", "frm34Prioritize", S::Form, {}, false, 0},
        {4, 2, "Identify Alternatives", "tab42", "frm42Alternatives", S::SaveAlternatives, {C::Alternatives}, true, 0},
        {4, 3, "Outcomes", "tab43", "frm43Outcomes", S::Form, {}, true, 0},
        {4, 4, "Probabilities", "tab44", "frm44Probabilities", S::Form, {}, false, 0},
        {4, 5, "FMUs", "tab45", "frm45FMUs", S::Form, {}, false, 0},
        {5, 2, "Safety Ratings", "tab52", "frm52SafetyRatings", S::Form, {C::Alternatives}, false, 0},
        {5, 3, "Objective Ratings", "tab53", "frm53Ratings", S::Form, {C::Alternatives}, false, 0},
        {5, 4, "Values Protected", "tab54", "frm54ValuesProtected", S::Form, {C::Alternatives}, true, 0},
        {5, 5, "Natural Resource Impacts", "tab55a", "frm55NatRes", S::None, {}, true, 0},
        {5, 5, "Natural Resource Impacts", "tab55b", "frm55NatResFMU", S::None, {}, true, 0},
        {5, 6, "Costs", "tab56", "frm56_CostSummary", S::Form, {}, false, 0},
        {6, 2, "Graph", "tab62", "frm62Graphs", S::None, {}, false, 0},
        {6, 3, "Decision Tree", "tab63", "frm63DecisionTree", S::None, {}, true, 0},
        {6, 4, "Matrix", "tab64", "frm64Matrix", S::None, {}, false, 0},
        {6, 5, "Decision", "tab65", "frm65Decision", S::SaveSummary, {}, true, 0},
        {7, 2, "Topics", "tab82", "frm82Topics", S::SaveSummary, {}, true, 0},
        {7, 3, "Preview and Print", "tab83", "frm83Reports", S::None, {}, false, 0},
        {8, 2, "Complexity Analysis", "tab72", "frm72Complexity", S::Form, {}, true, 0},
        {8, 3, "Guidelines", "tab73", "frm73Guide", S::None, {}, false, 0},
        {8, 4, "Incident Type", "tab74", "frm74ComplexityType", S::Form, {}, true, 0},
    };
    for (WorksheetInfo& w : t)
        w.helpContext = w.id == QLatin1String("tab11") ? 0 : Help(w.id);
    return t;
}

void RunClear(CacheClear c)
{
    ModelOps& m = Model();
    switch (c) {
    case C::FMUs: m.ClearFMUs(); break;
    case C::SRTypes: m.ClearSRTypes(); break;
    case C::Objectives: m.ClearObjectives(); break;
    case C::Alternatives: m.ClearAlternatives(); break;
    }
}

frm0_Tolmar* Main() { return frm0_Tolmar::instance(); }

} // namespace

worksheets::WorksheetPlace PlaceOf(const WorksheetInfo& info) { return {info.id, info.worksheet, info.editMenu}; }

const QList<WorksheetInfo>& WorksheetTable()
{
    static const QList<WorksheetInfo> table = BuildTable();
    return table;
}

const WorksheetInfo* FindWorksheet(const QString& id)
{
    for (const WorksheetInfo& w : WorksheetTable())
        if (w.id == id)
            return &w;
    return nullptr;
}

const WorksheetInfo* WorksheetAt(int section, int worksheet)
{
    if (section < 1 || section > 8)
        return nullptr;
    if (worksheet == 1)
        return FindWorksheet(QStringLiteral("tab11"));
    if (section == 5 && worksheet == 5)
        return FindWorksheet(Model().FMUCount() < 2 ? QStringLiteral("tab55a") : QStringLiteral("tab55b"));
    for (const WorksheetInfo& w : WorksheetTable())
        if (w.section == section && w.worksheet == worksheet)
            return &w;
    return nullptr;
}

WorksheetForm* LoadWorksheetForm(const QString& id)
{
    if (gForm && gFormId == id)
        return gForm;
    const WorksheetInfo* info = FindWorksheet(id);
    if (!info)
        return nullptr;
    delete gForm;
    QWidget* parent = Main() ? Main()->client() : nullptr;
    WorksheetForm* form = nullptr;
    if (id == QLatin1String("tab11"))
        form = new frm11Intro(parent);
    else
        form = worksheets::CreateWorksheetForm(id, parent);
    if (!form)
        form = new PlaceholderWorksheet(*info, parent);
    else if (form->helpContextID() == 0)
        form->setHelpContextID(info->helpContext);
    form->setObjectName(info->form);
    form->setPlace(PlaceOf(*info));
    gForm = form;
    gFormId = id;
    return form;
}

WorksheetForm* CurrentWorksheetForm() { return gForm; }

namespace {

// What is typed next goes to the worksheet shown, not to the tab rows or nowhere: a control
// its Setup chose keeps the focus, otherwise its first control in tab order takes it.
void FocusWorksheet(WorksheetForm* form)
{
    if (QWidget* focused = form->window()->focusWidget(); focused && form->isAncestorOf(focused))
        return;
    for (QWidget* w = form->nextInFocusChain(); w && w != form; w = w->nextInFocusChain()) {
        if (form->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(form) && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace

void DisplayWorksheet(int n)
{
    core::Trace(QStringLiteral("a3Tolmarforms.DisplayWorksheet ") + QString::number(n));
    if (gCurrentSection < 1 || gCurrentSection > 8)
        return;
    const WorksheetInfo* info = WorksheetAt(gCurrentSection, n);
    if (!info)
        return;
    WorksheetForm* form = LoadWorksheetForm(info->id);
    if (!form)
        return;
    try {
        const QScopedValueRollback<bool> settingUp(gSettingUp, true);
        // The fill runs handlers through Qt (the first entry chosen, the first cell entered):
        // what they meet fails the Setup.
        ui::CallThroughQt([&] {
            if (auto* intro = qobject_cast<frm11Intro*>(form)) {
                intro->Setup(gCurrentSection);
            } else if (info->id == QLatin1String("tab63")) {
                ui::WaitCursor hourglass;
                form->Setup();
            } else {
                form->Setup();
            }
        });
    } catch (...) {
        // A page that stopped filling half way shows part of what the file holds, and leaving it
        // would save that part over the rest: it goes unsaved. The model keeps nothing it read
        // only in part, so its caches stand. Edits of the page left before were saved when it
        // was left.
        delete TakeShownForm();
        gCurrentWorksheetID.clear();
        throw;
    }
    form->raise();
    FocusWorksheet(form);
}

void DropShownWorksheet()
{
    if (gSettingUp || !gForm)
        return;
    // The object left was stored before the next was read: the page goes unsaved, and with it
    // only what it showed half. Its handler is still running, so it is silenced and put out of
    // sight now, for no box leaving it to write what it shows into the model, and deleted once
    // the handler has unwound. The model keeps nothing it read only in part, so the caches stand
    // (the handler's own frames may still refer to what they hold).
    WorksheetForm* form = TakeShownForm();
    gCurrentWorksheetID.clear();
    worksheets::DisconnectChildren(*form);
    form->hide();
    form->setEnabled(false);
    form->deleteLater();
    if (frm0_Tolmar* main = Main(); main && main->tabsLoaded())
        main->tabsForm()->ShowIntroduction();
}

void UpdateCurrentWorksheet()
{
    core::Trace(QStringLiteral("a3Tolmarforms.UpdateCurrentWorksheet ") + gCurrentWorksheetID);
    const WorksheetInfo* info = FindWorksheet(gCurrentWorksheetID);
    if (!info)
        return;
    // Neither the tab rows nor the menus take the focus, so a control of the worksheet may
    // still hold an edit (a grid cell, a text box): taking the focus away ends it, before the
    // save, as leaving the control would.
    if (QWidget* focused = QApplication::focusWidget(); focused && gForm && gForm->isAncestorOf(focused))
        focused->clearFocus();
    ModelOps& m = Model();
    // Whatever the worksheet writes reaches the file as a whole or not at all.
    core::SaveAllOrNothing([&] {
        switch (info->save) {
        case S::None: break;
        case S::Form:
            if (gForm && gFormId == info->id)
                gForm->SaveChanges();
            break;
        case S::SaveRMAs: m.SaveRMAs(); break;
        case S::SaveSituation: m.SaveSituation(); break;
        case S::SaveSummary: m.SaveSummary(); break;
        case S::SaveAlternatives: m.SaveAlternatives(); break;
        }
    });
}

void UnloadCurrentWorksheet()
{
    core::Trace(QStringLiteral("a3Tolmarforms.UnloadCurrentWorksheet, ID = ") + gCurrentWorksheetID);
    const WorksheetInfo* info = FindWorksheet(gCurrentWorksheetID);
    if (info) {
        if (gForm && gFormId == info->id)
            delete TakeShownForm();
        for (CacheClear c : info->clears)
            RunClear(c);
    } else if (gForm && gCurrentWorksheetID.isEmpty()) {
        // A form whose Setup never named it (it failed half way) still goes.
        delete gForm;
        gFormId.clear();
    }
    gCurrentWorksheetID.clear();
}

void ResizeCurrentWorksheet()
{
    frm0_Tolmar* main = Main();
    if (gCurrentWorksheetID.isEmpty() || !main || !main->tabsLoaded())
        return;
    frm02Tabs* tabs = main->tabsForm();
    const int clientHeight = main->client()->height();
    if (clientHeight > tabs->height())
        tabs->move(0, clientHeight - tabs->height());
    tabs->resize(main->client()->width(), tabs->height());
    if (FindWorksheet(gCurrentWorksheetID) && gForm)
        shell::FitWorksheetForm(gForm.data());
}

void FitWorksheetForm(QWidget* form)
{
    frm0_Tolmar* main = Main();
    if (!main || !form)
        return;
    const int clientWidth = main->clientWidthTwips();
    const int clientHeight = main->clientHeightTwips();
    const int tabsHeight = main->tabsHeightTwips();
    form->move(ui::TwipsToPixels(120), ui::TwipsToPixels(30));
    if (tabsHeight + 30 < clientHeight)
        form->resize(form->width(), ui::TwipsToPixels(clientHeight - 15 - tabsHeight));
    if (clientWidth > 255)
        form->resize(ui::TwipsToPixels(clientWidth - 240), form->height());
}

} // namespace shell
