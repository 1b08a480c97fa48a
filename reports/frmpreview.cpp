#include "reports/frmpreview.h"

#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/printing/reportpreview.h"
#include "platform/ui/guard.h"
#include "platform/ui/printersetup.h"
#include "platform/ui/screen.h"
#include "platform/ui/userinputblock.h"
#include "reports/pagefurniture.h"
#include "reports/reportproduction.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace reports {

namespace {
ReportProducer gProducer;
QPointer<frmPreview> gPreviewWindow;
}

printing::ReportDocument& VSPrinter1()
{
    static printing::ReportDocument* document = [] {
        auto* d = new printing::ReportDocument;
        d->SetNewPageHandler([](printing::ReportDocument&) { vsPrinter1_NewPage(); });
        return d;
    }();
    return *document;
}

void vsPrinter1_NewPage()
{
    core::Trace(QStringLiteral("vsPrinter1_NewPage"));
    printing::ReportDocument& vp = VSPrinter1();
    if (vp.MarginTop() > 4300) {
        vp.SetMarginTop(1440);
        vp.SetCurrentY(1440);
        vp.SetRunningLineMode(printing::RunningLineMode::HeaderRuled);
    }
    SetPageHeaderFooter();
}

void SetReportProducer(ReportProducer producer)
{
    gProducer = std::move(producer);
    if (gPreviewWindow)
        gPreviewWindow->UpdateButtons();
}

bool HasReportProducer()
{
    return bool(gProducer);
}

void ProduceReport(printing::Output output, const QString& fileName)
{
    if (gProducer)
        gProducer(output, fileName);
}

QSize PreviewWindowSize(QSize screenTwips)
{
    const int width = std::min(screenTwips.width(), 12240);
    const int height = screenTwips.height() > 16640 ? 15840 : screenTwips.height() - 800;
    return QSize(width, height);
}

frmPreview::frmPreview(QWidget* parent) : QWidget(parent)
{
    core::TraceLoad(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    mPreview = new printing::ReportPreview(this);
    mPreview->SetDocument(&VSPrinter1());
    mSave = new QPushButton(QStringLiteral("Save to File"), this);
    mPrintPage = new QPushButton(QStringLiteral("Print Page"), this);
    mPrintReport = new QPushButton(QStringLiteral("Print Report"), this);
    mClose = new QPushButton(QStringLiteral("Close"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mSave);
    buttons->addWidget(mPrintPage);
    buttons->addWidget(mPrintReport);
    buttons->addStretch();
    buttons->addWidget(mClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(mPreview, 1);

    connect(mSave, &QPushButton::clicked, this, ui::Guarded(this, &frmPreview::cmdSave_Click));
    connect(mPrintPage, &QPushButton::clicked, this, ui::Guarded(this, &frmPreview::cmdPrintPage_Click));
    connect(mPrintReport, &QPushButton::clicked, this, ui::Guarded(this, &frmPreview::cmdPrintReport_Click));
    connect(mClose, &QPushButton::clicked, this, ui::Guarded(this, &frmPreview::cmdClose_Click));

    const QSize size = PreviewWindowSize(QSize(ui::ScreenWidthTwips(), ui::ScreenHeightTwips()));
    move(0, 0);
    resize(ui::TwipsToPixels(size.width()), ui::TwipsToPixels(size.height()));
    UpdateButtons();
}

frmPreview::~frmPreview()
{
    core::TraceUnload(QStringLiteral("frmPreview"));
}

void frmPreview::Refresh()
{
    mPreview->SetDocument(&VSPrinter1());
    UpdateButtons();
}

void frmPreview::UpdateButtons()
{
    mSave->setEnabled(HasReportProducer());
    mPrintReport->setEnabled(HasReportProducer());
}

void frmPreview::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Refresh();
}

void frmPreview::cmdSave_Click()
{
    core::Trace(QStringLiteral("cmdSave_Click"));
    if (!HasReportProducer() || RefusedWhileRunning())
        return;
    const QString name = GetRtfFileName();
    if (name.isEmpty())
        return;
    core::BusyScope busy;
    ui::ProcessEventsWithoutInput();
    bRTFExport = true;
    // The flag must not outlive the export, even when a section fails.
    struct Clear { ~Clear() { bRTFExport = false; } } clear;
    ProduceReport(printing::Output::Rtf, name);
}

void frmPreview::cmdPrintPage_Click()
{
    core::Trace(QStringLiteral("cmdPrintPage_Click"));
    if (ui::ChoosePrinter(PrintFileName()))
        VSPrinter1().PrintPages(mPreview->CurrentPage(), mPreview->CurrentPage());
}

void frmPreview::cmdPrintReport_Click()
{
    core::Trace(QStringLiteral("cmdPrintReport_Click"));
    core::BusyScope busy;
    ui::ProcessEventsWithoutInput();
    ProduceReport(printing::Output::Printer);
    // The printed run sent each page out as it went and kept none: the preview lays its own
    // out again.
    if (!VSPrinter1().KeepsPages())
        ProduceReport(printing::Output::Preview);
}

void frmPreview::cmdClose_Click()
{
    core::Trace(QStringLiteral("cmdClose_Click"));
    hide();
}

frmPreview& PreviewWindow()
{
    if (!gPreviewWindow)
        gPreviewWindow = new frmPreview;
    return *gPreviewWindow;
}

void UnloadPreviewWindow()
{
    delete gPreviewWindow.data();
}

}  // namespace reports
