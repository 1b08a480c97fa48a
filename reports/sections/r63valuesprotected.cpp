#include "reports/sections/sections.h"

#include "core/u92utilities.h"
#include "model/c53outcome.h"
#include "model/g36threateneditems.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "reports/sections/tablebands.h"

using model::OutcomeKind;
// Values protected: for every alternative a table of what each outcome protects of each value at
// risk. Several tables share a page in bands whose count and font size follow the length of the
// item list.
namespace reports::sections {

namespace {

// Where the first band starts and how much of the page the bands share.
constexpr int kFirstBandTop = 2040;
constexpr int kBandsHeight = 12000;
// A name longer than this takes a second line in the item column.
constexpr int kOneLineName = 35;

const QString kHeaderWithFallback = QStringLiteral("2880!|^1440!|^1440!|^1440!|^1440!|^1440;");
const QString kBodyWithFallback = QStringLiteral("2880!|>1440!|>1440!|>1440!|>1440!|>1440;");
const QString kHeaderWithoutFallback = QStringLiteral("2880!|^1800!|^1800!|^1800!|^1800;");
const QString kBodyWithoutFallback = QStringLiteral("2880!|>1800!|>1800!|>1800!|>1800;");
const QString kNotApplicable = QStringLiteral("|n/a");

QString Cell(double value, const QString& format)
{
    return QStringLiteral("|") + grid::FormatNumber(value, format);
}

void PrintAlternativeValuesProtected(model::c51Alternative& alternative, int fontSize)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.Paragraph(QString());
    // The table starts 150 twips below the title's lower rule, which a title that wraps moves down.
    vp.SetCurrentY(PrintSubTitle(QStringLiteral("Alternative ") + alternative.Label()) + 150);

    const auto target = alternative.Outcome(OutcomeKind::Target);
    const auto fallback = alternative.Outcome(OutcomeKind::Fallback);
    const auto extreme = model::GetExtremeOutcome();
    const bool withFallback = fallback->bShow();
    const QString p1 = QString::number(alternative.OutcomePercent(OutcomeKind::Target));
    const QString p2 = QString::number(alternative.OutcomePercent(OutcomeKind::Fallback));
    const QString p3 = QString::number(alternative.OutcomePercent(OutcomeKind::Extreme));

    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.SetFontSize(fontSize + 1);
    QString header = (withFallback ? kHeaderWithFallback : kHeaderWithoutFallback) +
                     QStringLiteral("Item|Values At Risk|Protected in Target Outcome (") + p1 + QStringLiteral("%)|");
    if (withFallback)
        header += QStringLiteral("Protected in Fallback Outcome (") + p2 + QStringLiteral("%)|");
    header += QStringLiteral("Protected in Extreme Outcome (") + p3 + QStringLiteral("%)|Expected Values Protected;");
    vp.TableRows(header);

    vp.SetFontSize(fontSize);
    vp.SetTableLineStyle(printing::LineStyle::RuleAbove);
    vp.SetFontBold(false);
    const QString body = withFallback ? kBodyWithFallback : kBodyWithoutFallback;
    // A certain Target leaves no room for the later outcomes, and a certain Fallback none for
    // the Extreme one.
    const bool fallbackCannotOccur = target->Success() == 100;
    const bool extremeCannotOccur = target->Success() == 100 || fallback->Success() == 100;
    const QString item = QStringLiteral("#,0");
    float totalAtRisk = 0;
    for (const auto& value : model::GetThreatenedItems()) {
        const int key = value->ItemKey();
        QString row = body + printing::TableText(value->ItemName()) + Cell(value->ValueAtRisk(), item);
        totalAtRisk += float(value->ValueAtRisk());
        row += Cell(core::RoundSignificant(target->SingleItemProtected(key), 3), item);
        if (withFallback)
            row += fallbackCannotOccur ? kNotApplicable
                                       : Cell(core::RoundSignificant(fallback->SingleItemProtected(key), 3), item);
        row += extremeCannotOccur ? kNotApplicable
                                  : Cell(core::RoundSignificant(extreme->SingleItemProtected(key), 3), item);
        vp.TableRows(row + QStringLiteral(";"));
    }

    vp.SetTableRowSetting(50);
    vp.SetFontSize(fontSize + 1);
    const QString money = QStringLiteral("$#,0");
    QString total = body + QStringLiteral("Total (rounded)") + Cell(core::RoundSignificant(totalAtRisk, 2), money);
    total += Cell(core::RoundSignificant(target->ValueProtected(), 2), money);
    if (withFallback)
        total += fallbackCannotOccur ? kNotApplicable : Cell(core::RoundSignificant(fallback->ValueProtected(), 2), money);
    total += extremeCannotOccur ? kNotApplicable : Cell(core::RoundSignificant(extreme->ValueProtected(), 2), money);
    total += Cell(alternative.ExpectedProtection(), money);
    vp.TableRows(total + QStringLiteral(";"));
    vp.SetTableRowSetting(0);
}

}  // namespace

int ValuesProtectedLayoutCode(int itemLines)
{
    if (itemLines >= 28)
        return 19;
    if (itemLines >= 25)
        return 28;
    if (itemLines >= 16)
        return 29;
    if (itemLines >= 14)
        return 38;
    if (itemLines >= 11)
        return 39;
    if (itemLines >= 9)
        return 48;
    return 49;
}

int GetValuesProtectedLayout()
{
    int lines = 0;
    for (const auto& value : model::GetThreatenedItems())
        lines += value->ItemName().size() > kOneLineName ? 2 : 1;
    return ValuesProtectedLayoutCode(lines);
}

void PrintValuesProtected()
{
    printing::ReportDocument& vp = VSPrinter1();
    model::AlternativeCollection& alternatives = model::GetAlternatives();
    const BandLayout bands = BandLayoutFor(GetValuesProtectedLayout(), alternatives.Count());
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Values Protected"));
    vp.SetFontSize(10);
    vp.Paragraph(QStringLiteral("Note: Outcome values are rounded to 3 ") +
                 QStringLiteral("significant digits counting from the left."));
    vp.Paragraph(QStringLiteral("Totals are rounded to 2 significant digits."));
    // What is printed so far ends here; the empty line below it may run into the first band.
    const int printedBottom = vp.CurrentY();
    vp.Paragraph(QString());

    TableBands tables(kFirstBandTop, kBandsHeight / bands.tablesPerPage, bands.tablesPerPage, printedBottom);
    for (int i = 0; i < alternatives.Count(); ++i) {
        tables.Begin();
        PrintAlternativeValuesProtected(*alternatives.At(i), bands.fontSize);
        tables.End();
    }
    PopPrintSettings();
}

}  // namespace reports::sections
