#include "report_fixture.h"
#include "section_record.h"

#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/richtext/rtf.h"
#include "reports/printsettings.h"
#include "reports/sections/sections.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <QTextTable>

using model::OutcomeKind;
using sectionrecord::Find;
using sectionrecord::RowOf;

namespace {

model::c51Alternative& Alternative(int i)
{
    return *model::GetAlternatives().At(i);
}

// The tables of a document in reading order, nested ones after their parent.
QList<QTextTable*> TablesOf(QTextDocument& doc)
{
    QList<QTextTable*> tables;
    QList<QTextFrame*> frames{doc.rootFrame()};
    while (!frames.isEmpty()) {
        QTextFrame* frame = frames.takeFirst();
        if (auto* table = qobject_cast<QTextTable*>(frame))
            tables.append(table);
        frames = frame->childFrames() + frames;
    }
    std::sort(tables.begin(), tables.end(), [](QTextTable* a, QTextTable* b) { return a->firstPosition() < b->firstPosition(); });
    return tables;
}

QString CellText(QTextTable* table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
    return c.selectedText().replace(QChar::ParagraphSeparator, u'\n').trimmed();
}

}  // namespace

TEST_F(ReportFixture, AlternativesPrintOneTableEachWithTheOutcomeBlocksAndFacts)
{
    // Trailing blanks and line ends of a description are not printed: it ends in one line end.
    Alternative(0).Outcome(OutcomeKind::Target)->SetDescription(QStringLiteral("Hold at the ridge.  \r\n\r\n"));
    Alternative(2).Outcome(OutcomeKind::Target)->SetContainTimeString(QStringLiteral("0"));
    ASSERT_TRUE(Produce({8}));
    const QStringList calls = Calls();
    ASSERT_EQ(calls.filter(QStringLiteral("AddTable ")).size(), 4);
    EXPECT_TRUE(calls[3].startsWith(QStringLiteral("Paragraph \"\" at 720,1440 "))) << calls[3].toStdString();
    EXPECT_TRUE(calls[4].startsWith(QStringLiteral(
        "AddTable \"1800|1800|1800|1800|1800|1800;\" \"Alternative A. Strategy 1|||||;\" \"\" style 0 ")))
        << calls[4].toStdString();
    EXPECT_TRUE(calls[4].endsWith(QStringLiteral(" F 9"))) << calls[4].toStdString();
    EXPECT_EQ(calls.count(QStringLiteral("EndTable 7 rows")), 4);

    const sectionrecord::Printed title = Find(0, QStringLiteral("Alternative A. Strategy 1"));
    EXPECT_TRUE(title.bold && title.size == 11 && title.width == 10680) << "spans the six columns";
    const sectionrecord::Printed target = Find(0, QStringLiteral("Target Outcome"));
    EXPECT_TRUE(target.bold && target.width == 3480) << "two columns with a Fallback";
    EXPECT_EQ(RowOf(0, target), (QStringList{"Target Outcome", "Fallback Outcome", "Extreme Outcome"}));
    EXPECT_EQ(Find(0, QStringLiteral("Hold at the ridge.\r\n")).x, 780);
    EXPECT_EQ(RowOf(0, Find(0, QStringLiteral("40%"))),
              (QStringList{"Probability:", "40%", "Probability:", "18%", "Probability:", "42%"}));
    EXPECT_EQ(RowOf(0, Find(0, QStringLiteral("373 acres"))),
              (QStringList{"Final Fire Size:", "373 acres", "Final Fire Size:", "546 acres", "Final Fire Size:", "7981 acres"}));

    // Alternative C keeps its Fallback hidden: two blocks of three columns, the Extreme heading
    // from column 4 and its facts still in columns 5 and 6.
    QList<sectionrecord::Printed> headings;
    for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(0))
        if (p.text == QStringLiteral("Extreme Outcome"))
            headings.append(p);
    ASSERT_EQ(headings.size(), 4);
    EXPECT_EQ(headings[2].x, 720 + 3 * 1800 + 60);
    EXPECT_EQ(headings[2].width, 3 * 1800 - 120);
    EXPECT_EQ(RowOf(0, headings[2]), (QStringList{"Target Outcome", "Extreme Outcome"}));
    const sectionrecord::Printed p66 = Find(0, QStringLiteral("66%"));
    EXPECT_EQ(RowOf(0, p66), (QStringList{"Probability:", "66%", "Probability:", "34%"}));
    EXPECT_EQ(Find(0, QStringLiteral("34%")).x, 720 + 5 * 1800 + 60);
    EXPECT_EQ(RowOf(0, Find(0, QStringLiteral("0 days"))), (QStringList{"Time to Contain:", "0 days", "Time to Contain:", "4 days"}));
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(ReportFixture, AlternativesKeepEachTableWholeOnOnePage)
{
    QString words;
    for (int i = 0; i < 60; ++i)
        words += QStringLiteral("Indirect line along the two-track road, burnout when the humidity recovers. ");
    for (const auto& alternative : model::GetAlternatives())
        alternative->SetBody(ReportFixture::Rtf(words.toLatin1().constData()));
    ASSERT_TRUE(Produce({8}));
    ASSERT_GE(reports::VSPrinter1().PageCount(), 2);
    for (int page = 0; page < reports::VSPrinter1().PageCount(); ++page) {
        // Every table that starts on a page ends on it: as many titles as last rows of facts.
        int titles = 0;
        QSet<int> lastRows;
        for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(page)) {
            if (p.text.startsWith(QStringLiteral("Alternative ")))
                ++titles;
            if (p.text == QStringLiteral("Time to Control:"))
                lastRows.insert(p.y);
        }
        EXPECT_EQ(titles, lastRows.size()) << page;
        EXPECT_GE(titles, 1) << page;
    }
}

TEST_F(ReportFixture, AlternativesWithoutAnyPrintTheTitleAlone)
{
    while (!model::GetAlternatives().IsEmpty())
        model::DeleteAlternative(model::GetAlternatives().KeyAt(0));
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({8}));
    EXPECT_EQ(Calls().size(), 4) << Calls().join(u'\n').toStdString();
    EXPECT_EQ(sectionrecord::TextsOn(0), QStringList{"Alternatives"});
}

// In an RTF file the section is three word-processor tables per alternative. Each description
// goes into its own cell, whatever text it holds.
TEST_F(ReportFixture, AlternativesInAnRtfFileAreThreeTablesEach)
{
    Alternative(0).SetBody(ReportFixture::Rtf("Pincer ### attack from both flanks."));
    Alternative(0).Outcome(OutcomeKind::Target)->SetDescription(ReportFixture::Rtf("Held at the \\b ridge\\b0 ."));
    Alternative(0).Outcome(OutcomeKind::Fallback)->SetDescription(ReportFixture::Rtf("Held at the river."));
    model::GetExtremeOutcome()->SetDescription(ReportFixture::Rtf("Runs to the highway."));
    const QString file = QDir(tempDir()).filePath(QStringLiteral("Alternatives.rtf"));
    ASSERT_TRUE(Produce({8}, printing::Output::Rtf, file));
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_RTF"))
        QFile::copy(file, qEnvironmentVariable("TOLMAR_KEEP_RTF"));

    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(QString::fromLatin1(in.readAll()), &doc));
    const QList<QTextTable*> tables = TablesOf(doc);
    ASSERT_EQ(tables.size(), 4 * 3);
    const char* const labels[] = {"Alternative A. Strategy 1", "Alternative B. Strategy 2", "Alternative C. Strategy 3",
                                  "Alternative D. Strategy 4"};
    for (int i = 0; i < 4; ++i) {
        QTextTable* a = tables[3 * i];
        QTextTable* b = tables[3 * i + 1];
        QTextTable* c = tables[3 * i + 2];
        const bool fallback = i != 2;
        SCOPED_TRACE(labels[i]);
        EXPECT_EQ(std::make_pair(a->rows(), a->columns()), std::make_pair(2, 1));
        EXPECT_EQ(std::make_pair(b->rows(), b->columns()), std::make_pair(2, fallback ? 3 : 2));
        EXPECT_EQ(std::make_pair(c->rows(), c->columns()), std::make_pair(4, 6));
        EXPECT_EQ(CellText(a, 0, 0), QString::fromLatin1(labels[i]));
        const QTextCharFormat heading = a->cellAt(0, 0).firstCursorPosition().block().begin().fragment().charFormat();
        EXPECT_TRUE(heading.fontWeight() >= QFont::Bold);
        EXPECT_EQ(heading.fontPointSize(), 11);
        QStringList titles;
        for (int col = 0; col < b->columns(); ++col)
            titles << CellText(b, 0, col);
        EXPECT_EQ(titles, fallback ? QStringList({"Target Outcome", "Fallback Outcome", "Extreme Outcome"})
                                   : QStringList({"Target Outcome", "Extreme Outcome"}));
        EXPECT_EQ(CellText(b, 1, b->columns() - 1), QStringLiteral("Runs to the highway."));
        EXPECT_EQ(CellText(c, 0, 0), QStringLiteral("Probability:"));
        EXPECT_EQ(CellText(c, 0, 1), QString::number(Alternative(i).OutcomePercent(OutcomeKind::Target)) + u'%');
        EXPECT_EQ(CellText(c, 3, 4), QStringLiteral("Time to Control:"));
        EXPECT_EQ(CellText(c, 1, 5), model::GetExtremeOutcome()->FireSize() + QStringLiteral(" acres"));
        EXPECT_EQ(CellText(c, 0, 2), fallback ? QStringLiteral("Probability:") : QString());
    }
    // The first description's own "###" does not take the Target's description.
    EXPECT_EQ(CellText(tables[0], 1, 0), QStringLiteral("Pincer ### attack from both flanks."));
    EXPECT_EQ(CellText(tables[1], 1, 0), QStringLiteral("Held at the ridge."));
    EXPECT_EQ(CellText(tables[1], 1, 1), QStringLiteral("Held at the river."));
    // Carried whole, with its own character formatting.
    QTextCursor ridge = doc.find(QStringLiteral("ridge"));
    ASSERT_FALSE(ridge.isNull());
    EXPECT_TRUE(ridge.charFormat().fontWeight() >= QFont::Bold);
}

TEST_F(ReportFixture, AlternativesRtfOfAnAnalysisWithoutAlternativesIsAnEmptyDocument)
{
    while (!model::GetAlternatives().IsEmpty())
        model::DeleteAlternative(model::GetAlternatives().KeyAt(0));
    testsupport::ClearModelCaches();
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(reports::sections::BuildAlternativesRTF(), &doc));
    EXPECT_TRUE(doc.toPlainText().trimmed().isEmpty());
    EXPECT_TRUE(TablesOf(doc).isEmpty());
}
