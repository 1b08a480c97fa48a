#include "reports/sections/sections.h"

#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/richtext/scratchdocument.h"

using model::OutcomeKind;
// The alternatives section as it goes into an RTF file: a word processor gets real tables,
// three for each alternative (label and description; outcome headings and descriptions; facts),
// built in a scratch rich-text document.
namespace reports::sections {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The document being built, and the one a description is cut from. Both belong to the run, not
// to the report worksheet, so that the preview window can export again after the worksheet is gone.
richtext::ScratchDocument& Pages()
{
    static auto* document = new richtext::ScratchDocument;
    return *document;
}

richtext::ScratchDocument& Cutting()
{
    static auto* document = new richtext::ScratchDocument;
    return *document;
}

QString ExtractDescriptionRtf(const QString& text)
{
    richtext::ScratchDocument& cutting = Cutting();
    cutting.load(text);
    cutting.setSelection(0, int(text.size()));
    return cutting.selectedRtf();
}

// The description goes straight into its own cell: a placeholder text searched for afterwards
// could be found first in a description placed earlier that happens to contain it.
void SetCellRichText(int table, int row, int column, const QString& rtf)
{
    richtext::ScratchDocument& pages = Pages();
    pages.setCellText(table, row, column, QString());
    pages.setSelection(pages.cellStart(table, row, column), 0);
    pages.replaceSelectionWithRtf(ExtractDescriptionRtf(rtf));
}

void SetRtfOutcomeHeading(int table, const QString& title, const QString& description, int column)
{
    Pages().setCellText(table, 1, column, title);
    SetCellRichText(table, 2, column, description);
}

void SetFacts(int table, int column, int percent, const model::c53Outcome& outcome)
{
    richtext::ScratchDocument& pages = Pages();
    int row = 1;
    for (const OutcomeFact& fact : OutcomeFacts(percent, outcome)) {
        pages.setCellText(table, row, column, fact.label);
        pages.setCellText(table, row, column + 1, fact.value);
        ++row;
    }
}

void SetRtfOutcomeFacts(int table, model::c51Alternative& alternative, OutcomeKind kind, int column)
{
    SetFacts(table, column, alternative.OutcomePercent(kind), *alternative.Outcome(kind));
}

void SetRtfExtremeOutcomeFacts(int table, model::c51Alternative& alternative, int column)
{
    SetFacts(table, column, alternative.OutcomePercent(OutcomeKind::Extreme), *model::GetExtremeOutcome());
}

void InsertLineBreaks(int count)
{
    richtext::ScratchDocument& pages = Pages();
    pages.moveToEnd();
    for (int i = 0; i < count; ++i)
        pages.insertText(kLineBreak);
}

void BuildAlternativeRtfTables(model::c51Alternative& alternative)
{
    richtext::ScratchDocument& pages = Pages();
    pages.moveToEnd();
    const int a = pages.insertTable(2, 1);
    const QString label = QStringLiteral("Alternative ") + alternative.Label();
    pages.setCellText(a, 1, 1, label);
    pages.setSelection(pages.cellStart(a, 1, 1), int(label.size()));
    pages.setSelectionFontSize(11);
    pages.setSelectionBold(true);
    SetCellRichText(a, 2, 1, alternative.Body());
    InsertLineBreaks(1);

    const bool withFallback = alternative.Outcome(OutcomeKind::Fallback)->bShow();
    const int b = pages.insertTable(2, withFallback ? 3 : 2);
    InsertLineBreaks(1);
    const int c = pages.insertTable(4, 6);

    SetRtfOutcomeHeading(b, QStringLiteral("Target Outcome"), alternative.Outcome(OutcomeKind::Target)->Description(), 1);
    SetRtfOutcomeFacts(c, alternative, OutcomeKind::Target, 1);
    int extremeColumn = 2;
    if (withFallback) {
        SetRtfOutcomeHeading(b, QStringLiteral("Fallback Outcome"),
                             alternative.Outcome(OutcomeKind::Fallback)->Description(), 2);
        SetRtfOutcomeFacts(c, alternative, OutcomeKind::Fallback, 3);
        extremeColumn = 3;
    }
    SetRtfOutcomeHeading(b, QStringLiteral("Extreme Outcome"), model::GetExtremeOutcome()->Description(), extremeColumn);
    SetRtfExtremeOutcomeFacts(c, alternative, 5);
    InsertLineBreaks(2);
}

}  // namespace

QString BuildAlternativesRTF()
{
    Pages().clear();
    for (const auto& alternative : model::GetAlternatives())
        BuildAlternativeRtfTables(*alternative);
    return Pages().save();
}

}  // namespace reports::sections
