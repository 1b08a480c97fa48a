#include "reports/sections/sections.h"

#include "core/c0item.h"

#include "reports/frmpreview.h"
#include "reports/printsettings.h"

namespace reports::sections {

void SetTopicLayout()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetMarginTop(1440);
    vp.SetMarginLeft(2880);
    vp.SetMarginRight(1440);
    vp.SetFontSize(11);
    vp.SetCurrentY(1440);
}

void CheckTopicPageBreak(const QString& body)
{
    printing::ReportDocument& vp = VSPrinter1();
    if (vp.CurrentY() <= 8000)
        return;
    const QRect measured = vp.MeasureParagraph(body);
    if (measured.y() + measured.height() + 600 <= 13680)
        return;
    PopPrintSettings();
    vp.NewPage();
    PushPrintSettings();
    SetTopicLayout();
}

void PrintTopics(const QList<core::c0Item*>& topics)
{
    printing::ReportDocument& vp = VSPrinter1();
    for (const core::c0Item* topic : topics) {
        CheckTopicPageBreak(topic->Body());
        vp.SetCurrentX(1080);
        vp.SetFontBold(true);
        vp.Paragraph(topic->Heading());
        vp.SetFontBold(false);
        vp.Paragraph(topic->Body());
        vp.Paragraph(QString());
    }
}

}  // namespace reports::sections
