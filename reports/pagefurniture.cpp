#include "reports/pagefurniture.h"

#include "core/c0item.h"
#include "core/g2situation.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/printing/reportdocument.h"
#include "platform/printing/rtfwriter.h"
#include "platform/ui/prompter.h"
#include "reports/frmpreview.h"
#include "reports/printsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace reports {

bool bRTFExport = false;

namespace {
int gSelectedSectionCount = 0;
QString gReportFontName;

QString ItemBody(int key)
{
    const core::c0Item* item = core::gFileOpen() ? core::GetSituationItem(key) : nullptr;
    return item ? item->Body() : QString();
}
}  // namespace

int SelectedSectionCount()
{
    return gSelectedSectionCount;
}

void SetSelectedSectionCount(int count)
{
    gSelectedSectionCount = count;
}

QString GetRtfFileName()
{
    ui::FileDialog dialog;
    dialog.kind = ui::FileDialog::Kind::Save;
    dialog.title = QStringLiteral("Save as RTF File");
    // The reports' folder "docs" beside the program, made on first use; where the program's
    // folder cannot be written, the data folder.
    const QString docs = QDir(core::AppPath()).filePath(QStringLiteral("docs"));
    dialog.folder = QDir().mkpath(docs) ? docs : core::GetDataPath();
    const QString title = core::gFileOpen() ? core::GetDatafileTitle() : QString();
    dialog.fileName = title.left(std::max<qsizetype>(0, title.size() - 4)) + QStringLiteral(".rtf");
    dialog.filter = QStringLiteral("RTF files (*.rtf);;All Files (*)");
    QString name = ui::prompter().chooseFile(dialog);
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".rtf");
    return name;
}

QString PrintFileName()
{
    const QString title = core::gFileOpen() ? core::GetDatafileTitle() : QStringLiteral("Report.tlm");
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QFileInfo(title).completeBaseName() + QStringLiteral(".pdf"));
}

void SetPageHeaderFooter()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetRunningLineFont(GetReportFontName(), 10, false);
    const QString page = SelectedSectionCount() <= 7 ? QStringLiteral("|Page ___") : QStringLiteral("|Page %d");
    vp.SetRunningLine(QStringLiteral("Tolmar No. ") + printing::TableText(ItemBody(221)) + u'|' + printing::TableText(ItemBody(11)) + page);
    vp.SetRunningLineMode(printing::RunningLineMode::HeaderRuled);
}

void PrintSectionTitle(const QString& title)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.SetCurrentY(vp.MarginTop() + 50);
    vp.SetTextAlign(printing::Align::Center);
    vp.SetFontName(GetReportFontName());
    vp.SetFontSize(12);
    vp.SetFontBold(true);
    vp.Paragraph(title);
    vp.Paragraph(QString());
    PopPrintSettings();
}

int PrintSubTitle(const QString& text)
{
    printing::ReportDocument& vp = VSPrinter1();
    const int t = vp.MarginTop();
    const int right = vp.PageWidth() - 720;
    vp.SetCurrentX(vp.MarginLeft());
    vp.SetCurrentY(t);
    vp.SetFontSize(11);
    vp.SetFontBold(true);
    vp.SetTextAlign(printing::Align::Center);
    // A title that wraps (a long alternative's name) keeps its lower rule below its last line.
    const int below = t + 250 + std::max(0, vp.MeasureParagraph(text).height() - vp.MeasureParagraph(QStringLiteral("X")).height());
    DrawRule(720, t, right, t);
    DrawRule(720, below, right, below);
    vp.Paragraph(text);
    vp.SetTextAlign(printing::Align::Left);
    return below;
}

QString GetReportFontName()
{
    if (!gReportFontName.isEmpty())
        return gReportFontName;
    for (const QString& name : {QStringLiteral("Arial"), QStringLiteral("Microsoft Sans Serif")}) {
        if (printing::ReportDocument::FontExists(name)) {
            gReportFontName = name;
            return name;
        }
    }
    return VSPrinter1().FontName();
}

int GetUsableWidth()
{
    return VSPrinter1().PageWidth() - 1440;
}

int MaxLong(int a, int b)
{
    return a <= b ? b : a;
}

QString RtfLineShapeText(int x1, int y1, int x2, int y2, int penColor, int penWidth)
{
    int left, right, top, bottom, flipH, flipV;
    if (x1 >= x2)
        flipH = 1, left = x2 - 720, right = x1 - 720;
    else
        flipH = 0, left = x1 - 720, right = x2 - 720;
    if (y1 >= y2)
        flipV = 1, top = y2 - 720, bottom = y1 - 720;
    else
        flipV = 0, top = y1 - 720, bottom = y2 - 720;
    return printing::RtfWriter::Shape(left, top, right, bottom,
                                      QStringLiteral("{\\sp{\\sn shapeType}{\\sv 20}}{\\sp{\\sn fFlipH}{\\sv %1}}"
                                                     "{\\sp{\\sn fFlipV}{\\sv %2}}{\\sp{\\sn lineColor}{\\sv %3}}"
                                                     "{\\sp{\\sn lineWidth}{\\sv %4}}")
                                          .arg(flipH).arg(flipV).arg(penColor).arg(720 * penWidth));
}

void RtfLineShape(int x1, int y1, int x2, int y2)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.DrawLine(x1, y1, x2, y2);
    if (!bRTFExport)
        return;
    vp.InsertRtf(RtfLineShapeText(x1, y1, x2, y2, printing::BgrFromColor(vp.PenColor()), vp.PenWidth()));
}

}  // namespace reports
