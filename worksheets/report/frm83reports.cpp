#include "worksheets/report/frm83reports.h"

#include "core/u91trace.h"
#include "platform/ui/guard.h"
#include "platform/ui/printersetup.h"
#include "platform/ui/screen.h"
#include "platform/ui/userinputblock.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace worksheets::report {

using namespace reports;

namespace {
QLabel* Instruction(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}
}  // namespace

frm83Reports::frm83Reports(QWidget* parent) : WorksheetForm(QStringLiteral("frm83Reports"), parent)
{
    auto* boxes = new QVBoxLayout;
    boxes->setSpacing(0);
    boxes->addWidget(Instruction(QStringLiteral("Select the pages to print"), this));
    for (int i = 1; i <= kSectionCount; ++i) {
        mSections[i] = new QCheckBox(SectionCaption(i), this);
        mSections[i]->setObjectName(QStringLiteral("chkSection%1").arg(i));
        mSections[i]->setFixedHeight(ui::TwipsToPixels(300));
        boxes->addWidget(mSections[i]);
    }
    boxes->addStretch();

    mPreview = new QPushButton(QStringLiteral("Pre&view"), this);
    mPrint = new QPushButton(QStringLiteral("&Print"), this);
    mSelect = new QPushButton(QStringLiteral("Select All"), this);
    mClear = new QPushButton(QStringLiteral("Clear All"), this);
    mPrinterSetup = new QPushButton(QStringLiteral("Printer &Setup"), this);
    mSave = new QPushButton(QStringLiteral("Save to File..."), this);

    auto* colors = new QGroupBox(QStringLiteral("Graph Colors"), this);
    mBWPatterns = new QRadioButton(QStringLiteral("B/W patterns"), colors);
    mColorPatterns = new QRadioButton(QStringLiteral("Colored patterns"), colors);
    mSolid = new QRadioButton(QStringLiteral("Solid colors"), colors);
    colors->setMaximumWidth(ui::TwipsToPixels(3600));
    mColorPatterns->setChecked(true);
    auto* colorLayout = new QVBoxLayout(colors);
    colorLayout->addWidget(mBWPatterns);
    colorLayout->addWidget(mColorPatterns);
    colorLayout->addWidget(mSolid);

    auto* commands = new QGridLayout;
    commands->setColumnMinimumWidth(0, ui::TwipsToPixels(1800));
    commands->addWidget(mPreview, 0, 0);
    commands->addWidget(mPrint, 1, 0);
    commands->addWidget(mSelect, 2, 0);
    commands->addWidget(mClear, 3, 0);
    commands->addWidget(mPrinterSetup, 4, 0);
    commands->addWidget(colors, 0, 1, 4, 1);
    commands->addWidget(Instruction(QStringLiteral("Note: These options apply to printing and previewing, but do not "
                                                   "apply when exporting to an RTF file.  The graphs are always exported "
                                                   "using solid colors."), this), 4, 1, 2, 1);
    commands->setRowMinimumHeight(6, ui::TwipsToPixels(600));
    commands->addWidget(mSave, 7, 0, Qt::AlignTop);
    commands->addWidget(Instruction(QStringLiteral("Choose this option to export the selected pages to an RTF file, "
                                                   "which can then be imported into a word processor."), this), 7, 1);
    commands->setColumnStretch(1, 1);
    commands->setRowStretch(8, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(ui::TwipsToPixels(240), ui::TwipsToPixels(120), ui::TwipsToPixels(240), ui::TwipsToPixels(120));
    layout->addLayout(boxes);
    layout->addSpacing(ui::TwipsToPixels(600));
    layout->addLayout(commands, 1);

    connect(mPreview, &QPushButton::clicked, this, ui::Guarded(this, &frm83Reports::cmdPreview_Click));
    connect(mPrint, &QPushButton::clicked, this, ui::Guarded(this, &frm83Reports::cmdPrint_Click));
    connect(mSave, &QPushButton::clicked, this, ui::Guarded(this, &frm83Reports::cmdSave_Click));
    connect(mSelect, &QPushButton::clicked, this, ui::Guarded(this, &frm83Reports::cmdSelect_Click));
    connect(mClear, &QPushButton::clicked, this, ui::Guarded(this, &frm83Reports::cmdClear_Click));
    connect(mPrinterSetup, &QPushButton::clicked, this, ui::Guarded(this, &frm83Reports::cmdPrinterSetup_Click));
}

void frm83Reports::Setup()
{
    BeginSetup(QStringLiteral("frm83Reports.Setup"));
}

void frm83Reports::CountSelectedSections()
{
    mSelection = ReportSelection();
    for (int i = 1; i <= kSectionCount; ++i) {
        if (mSections[i]->isChecked()) {
            mSelection.sections[i] = true;
            ++mSelection.count;
        }
    }
    mSelection.graphColors = mBWPatterns->isChecked() ? GraphColors::BWPatterns
                             : mSolid->isChecked()    ? GraphColors::Solid
                                                      : GraphColors::ColoredPatterns;
    // The run keeps its own copy: the preview produces it again after this form is gone.
    SetLastSelection(mSelection);
}

void frm83Reports::PreviewReport()
{
    const bool produced = RunReport(printing::Output::Preview);
    frmPreview& preview = PreviewWindow();
    preview.Refresh();
    if (produced) {
        preview.show();
        preview.raise();
        preview.activateWindow();
    }
}

void frm83Reports::PrintReport()
{
    RunReport(printing::Output::Printer);
}

void frm83Reports::SaveReportAsRtf()
{
    const QString name = GetRtfFileName();
    if (name.isEmpty())
        return;
    ui::ProcessEventsWithoutInput();
    RunReport(printing::Output::Rtf, name);
}

void frm83Reports::cmdPreview_Click()
{
    core::Trace(QStringLiteral("cmdPreview_Click"));
    // The choice of a run under way must not change under it.
    if (RefusedWhileRunning())
        return;
    CountSelectedSections();
    PreviewReport();
}

void frm83Reports::cmdPrint_Click()
{
    core::Trace(QStringLiteral("cmdPrint_Click"));
    // The choice of a run under way must not change under it.
    if (RefusedWhileRunning())
        return;
    CountSelectedSections();
    PrintReport();
}

void frm83Reports::cmdSave_Click()
{
    core::Trace(QStringLiteral("cmdSave_Click"));
    // The choice of a run under way must not change under it.
    if (RefusedWhileRunning())
        return;
    CountSelectedSections();
    SaveReportAsRtf();
}

void frm83Reports::cmdSelect_Click()
{
    for (int i = 1; i <= kSectionCount; ++i)
        mSections[i]->setChecked(true);
}

void frm83Reports::cmdClear_Click()
{
    for (int i = 1; i <= kSectionCount; ++i)
        mSections[i]->setChecked(false);
}

void frm83Reports::cmdPrinterSetup_Click()
{
    core::Trace(QStringLiteral("cmdPrinterSetup_Click"));
    ui::ShowPrinterSetup();
}

}  // namespace worksheets::report
