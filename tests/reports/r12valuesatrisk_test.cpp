#include "report_fixture.h"
#include "section_record.h"

#include "model/g36threateneditems.h"
#include "reports/printsettings.h"

using sectionrecord::Call;
using sectionrecord::YOf;

namespace {

const QString kFormat = QStringLiteral("6470|>1630|^1070|>1630;");
const QString kHeader = kFormat + QStringLiteral("Item|Potential Loss ($)|Probability of Loss (%)|Expected Value at Risk ($);");
const QString kLayout = QStringLiteral("margins 720,720,2160,720 indents 0,0,0 align 0 F 10");
const QString kNotesLayout = QStringLiteral("margins 720,720,2160,720 indents 1440,0,0 align 0 F 10");

QString Row(const QString& cells, const QString& at = QStringLiteral("720,*"))
{
    return QStringLiteral("TableRows \"%1%2;\" style 0 row 0 header 0 at %3 %4").arg(kFormat, cells, at, kLayout);
}

QString HeaderAt(const QString& at)
{
    return QStringLiteral("TableRows \"%1\" style 0 row 0 header 60 at %2 margins 720,720,2160,720 indents 0,0,0 align 0 F 8 b")
        .arg(kHeader, at);
}

void ClearValuesAtRisk()
{
    while (!model::GetThreatenedItems().IsEmpty())
        model::DeleteThreatenedItem(model::GetThreatenedItems().KeyAt(0));
}

void AddValueAtRisk(const QString& name, double loss, int probability, const QString& notes = QString())
{
    auto item = model::AddThreatenedItem(name);
    item->SetPotentialLoss(loss);
    item->SetProbabilityLabel(QString::number(probability));
    item->SetNotes(notes);
    item->SaveChanges();
}

}  // namespace

TEST_F(ReportFixture, ValuesAtRiskPrintEveryItemWithItsNotesAndTheRoundedTotal)
{
    // Trailing blanks and line ends of notes are not printed; an item without notes has no
    // paragraph below its row.
    model::GetThreatenedItems().At(0)->SetNotes(QStringLiteral("Road closed at the pass.  \r\n\r\n"));
    model::GetThreatenedItems().At(2)->SetNotes(QString());
    ASSERT_TRUE(Produce({4}));
    ExpectCalls(Calls(), {
        QStringLiteral("StartDoc"),
        Call("Paragraph", "Values at Risk", "720,770", "margins 720,720,720,720 indents 0,0,0 align 1 F 12 b"),
        Call("Paragraph", "", "720,*", "margins 720,720,720,720 indents 0,0,0 align 1 F 12 b"),
        HeaderAt(QStringLiteral("720,1620")),
        Row("Value at risk 1|1,000|5|50"),
        Call("Paragraph", "Road closed at the pass.", "2160,*", kNotesLayout),
        Call("Paragraph", "", "2160,*", kNotesLayout),
        Row("Value at risk 2|38,000|25|9,500"),
        Call("Paragraph", "Notes on value 2", "2160,*", kNotesLayout),
        Call("Paragraph", "", "2160,*", kNotesLayout),
        Row("Value at risk 3|75,000|50|38,000"),
        Row("Value at risk 4|112,000|75|84,000"),
        Call("Paragraph", "Notes on value 4", "2160,*", kNotesLayout),
        Call("Paragraph", "", "2160,*", kNotesLayout),
        Row("Value at risk 5|149,000|95|140,000"),
        Call("Paragraph", "Notes on value 5", "2160,*", kNotesLayout),
        Call("Paragraph", "", "2160,*", kNotesLayout),
        Row("|||____________"),
        // 50 + 9,500 + 38,000 + 84,000 + 140,000 = 271,550, two significant digits.
        Row("Total expected value at risk (rounded)|||270,000"),
        QStringLiteral("EndDoc")});
    const sectionrecord::Printed header = sectionrecord::Find(0, QStringLiteral("Item"));
    EXPECT_TRUE(header.bold && header.size == 8);
    EXPECT_EQ(sectionrecord::Find(0, QStringLiteral("Value at risk 1")).size, 10);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

// A row string parts cells with "|" and rows with ";": a name holding them is still one cell and
// the figures stay in their columns.
TEST_F(ReportFixture, AValueNamedWithBarsAndSemicolonsKeepsItsRowInPlace)
{
    ClearValuesAtRisk();
    AddValueAtRisk(QStringLiteral("Homes; barns | sheds"), 1000, 50);
    ASSERT_TRUE(Produce({4}));
    const sectionrecord::Printed name = sectionrecord::Find(0, QStringLiteral("Homes; barns | sheds"));
    ASSERT_FALSE(name.text.isEmpty());
    EXPECT_EQ(sectionrecord::RowOf(0, name), (QStringList{"Homes; barns | sheds", "1,000", "50", "500"}));
}

TEST_F(ReportFixture, ValuesAtRiskTotalIsRoundedAgainToTwoSignificantDigits)
{
    const struct {
        QList<std::pair<double, int>> items;
        QStringList rows;
    } cases[] = {
        // 12,000 + 4,600 = 16,600, which prints as 17,000.
        {{{12000, 100}, {4600, 100}}, {"V1|12,000|100|12,000", "V2|4,600|100|4,600", "|||____________",
                                       "Total expected value at risk (rounded)|||17,000"}},
        {{{125000, 30}, {40000, 75}}, {"V1|125,000|30|38,000", "V2|40,000|75|30,000", "|||____________",
                                       "Total expected value at risk (rounded)|||68,000"}},
        {{}, {"|||____________", "Total expected value at risk (rounded)|||0"}},
    };
    for (const auto& c : cases) {
        ClearValuesAtRisk();
        for (qsizetype i = 0; i < c.items.size(); ++i)
            AddValueAtRisk(QStringLiteral("V%1").arg(i + 1), c.items[i].first, c.items[i].second);
        ASSERT_TRUE(Produce({4}));
        QStringList expected{kHeader};
        for (const QString& row : c.rows)
            expected << kFormat + row + u';';
        EXPECT_EQ(sectionrecord::TableRowStrings(Calls()), expected);
    }
}

TEST_F(ReportFixture, ValuesAtRiskLowOnThePageGoOnANewPageUnderTheHeaderAgain)
{
    ClearValuesAtRisk();
    QString notes;
    for (int i = 0; i < 20; ++i)
        notes += QStringLiteral("Winter range and calving grounds. ");
    for (int i = 0; i < 24; ++i)
        AddValueAtRisk(QStringLiteral("Value %1").arg(i + 1), 10000, 50, notes);
    ASSERT_TRUE(Produce({4}));
    const QStringList calls = Calls();
    ASSERT_GE(calls.count(QStringLiteral("NewPage")), 2);
    for (qsizetype i = 0; i < calls.size(); ++i) {
        if (calls[i] != QStringLiteral("NewPage"))
            continue;
        // The next row lay below 12000 twips (under the notes' empty line) and its notes would
        // have run past the page foot.
        EXPECT_GT(YOf(calls[i - 1]), 11700) << calls[i - 1].toStdString();
        EXPECT_TRUE(calls[i - 1].startsWith(QStringLiteral("Paragraph \"\" "))) << calls[i - 1].toStdString();
        ExpectCalls({calls[i + 1]}, {HeaderAt(QStringLiteral("720,1620"))});
        EXPECT_TRUE(calls[i + 2].startsWith(QStringLiteral("TableRows \"") + kFormat + QStringLiteral("Value ")))
            << calls[i + 2].toStdString();
    }
    EXPECT_EQ(sectionrecord::TableRowStrings(calls).filter(QStringLiteral("Total expected")).size(), 1);
}
