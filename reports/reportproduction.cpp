#include "reports/reportproduction.h"

#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/ui/prompter.h"
#include "platform/ui/printersetup.h"
#include "platform/ui/userinputblock.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "reports/sections/sections.h"

#include <QDir>
#include <QPageLayout>

#include <algorithm>
#include <cmath>
#include <exception>

namespace reports {

namespace {

struct SectionEntry {
    const char* caption;
    void (*print)();
};

using namespace sections;

// The sections in production order, each with its entry procedure in sections/.
const SectionEntry kSections[kSectionCount + 1] = {
    {"", nullptr},
    {"Situation", &PrintSituation},
    {"Decision, Rationale", &PrintDecisionSummary},
    {"Signature Page", &PrintSignaturePage},
    {"Values at Risk", &PrintValuesAtRisk},
    {"Resource Objectives", &PrintRMObjectives},
    {"Suppression Objectives", &PrintObjectives},
    {"Safety Issues", &PrintSafetyIssues},
    {"Alternatives", &PrintAlternatives},
    {"Estimated Suppression Cost", &PrintCosts},
    {"AAC Table", &PrintAACTables},
    {"Values Protected", &PrintValuesProtected},
    {"Estimated Loss", &PrintNVCImpacts},
    {"Computation of NVC", &PrintImpactComputations},
    {"NVC Tables", &PrintNVCTables},
    {"Safety Assessment", &PrintSafetyAssessment},
    {"Decision Tree", &PrintDecisionTree},
    {"Comparison Matrix", &PrintMatrix},
    {"Comparison Graphs", &PrintGraphs},
    {"Complexity Analysis", &PrintComplexity},
};

ReportSelection gSelection;
bool gRunning = false;

}  // namespace

QString SectionCaption(int index)
{
    if (index < 1 || index > kSectionCount)
        return QString();
    return QString::fromLatin1(kSections[index].caption);
}

const ReportSelection& LastSelection()
{
    return gSelection;
}

void SetLastSelection(const ReportSelection& selection)
{
    gSelection = selection;
    gSelection.sections[0] = false;
    // The count decides the page breaks between sections: it is always the number chosen.
    gSelection.count = int(std::count(gSelection.sections.begin(), gSelection.sections.end(), true));
    SetSelectedSectionCount(gSelection.count);
}

GraphColors GraphColorOption()
{
    return bRTFExport ? GraphColors::Solid : gSelection.graphColors;
}

void PrintSection(int index)
{
    if (index < 1 || index > kSectionCount)
        return;
    kSections[index].print();
}

bool ProduceSelectedSections(printing::Output output, const QString& fileName)
{
    core::Trace(QStringLiteral("ProduceSelectedSections"));
    printing::ReportDocument& vp = VSPrinter1();
    vp.StartDoc(output, fileName);
    PrintSet_Init();
    if (vp.PageHeight() <= 14400)
        vp.SetMarginBottom(360);
    int produced = 0;
    for (int i = 1; i <= kSectionCount; ++i) {
        if (!gSelection.sections[i])
            continue;
        PrintSection(i);
        ++produced;
        // The screen catches up between sections, but no click may close the file or take the
        // report worksheet away under the run.
        ui::ProcessEventsWithoutInput();
        if (produced < gSelection.count)
            vp.NewPage();
    }
    return vp.EndDoc();
}

bool ReportRunning()
{
    return gRunning;
}

bool RefusedWhileRunning()
{
    if (!gRunning)
        return false;
    ui::MsgBox(ui::Lines({QStringLiteral("A report is being produced."),
                          QStringLiteral("Wait until it is finished, then try again.")}),
               ui::Buttons::OK, ui::Icon::Information);
    return true;
}

bool RunReport(printing::Output output, const QString& fileName)
{
    if (RefusedWhileRunning())
        return false;
    // Where the pages go (a printer, or a PDF file) is asked first: they are laid out on its paper.
    if (output == printing::Output::Printer && !ui::ChoosePrinter(PrintFileName()))
        return false;
    // Whatever happens in a section, the next run starts with no run under way, no export flag
    // and the normal pointer.
    struct RunState {
        RunState(bool rtf) { gRunning = true; bRTFExport = rtf; }
        ~RunState() { gRunning = false; bRTFExport = false; }
    } state(output == printing::Output::Rtf);
    core::BusyScope busy;
    printing::ReportDocument& vp = VSPrinter1();
    const QSize page = ReportPageSize();
    vp.SetPageSize(page.width(), page.height());
    QString error;
    try {
        const bool produced = ProduceSelectedSections(output, fileName);
        // The file dialog is gone by now: the user is told where the report went.
        if (produced && output == printing::Output::Rtf)
            ui::MsgBox(ui::Lines({QStringLiteral("The report was saved in the file"), QDir::toNativeSeparators(fileName)}),
                       ui::Buttons::OK, ui::Icon::Information);
        return produced;
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    vp.CancelDoc();
    core::TraceError(QStringLiteral("ProduceSelectedSections: ") + error);
    ui::MsgBox(ui::Lines({QStringLiteral("The report could not be produced."), error,
                          QStringLiteral("Nothing was printed or saved.")}),
               ui::Buttons::OK, ui::Icon::Critical);
    return false;
}

QSize PageSizeOf(const ui::Printer& printer)
{
    // Millimetres keep both metric and inch paper exact to the twip; points would not.
    const QSizeF mm = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    return QSize(int(std::lround(mm.width() * 1440 / 25.4)), int(std::lround(mm.height() * 1440 / 25.4)));
}

QSize ReportPageSize()
{
    if (!ui::SharedPrinter().anyPrinterInstalled())
        return QSize(printing::ReportDocument::kLetterWidth, printing::ReportDocument::kLetterHeight);
    return PageSizeOf(ui::SharedPrinter());
}

}  // namespace reports
