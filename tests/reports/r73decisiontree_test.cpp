#include "comparison_fixture.h"

#include "model/c53outcome.h"
#include "reports/sections/decisiontree.h"

using model::OutcomeKind;
namespace {

// The tops of the trees on a page: where their "Target Outcome" stands.
QList<int> TreeTops(int page)
{
    QList<int> tops;
    for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(page))
        if (p.text == QStringLiteral("Target Outcome"))
            tops << p.y;
    return tops;
}

QString Words(int count)
{
    QStringList words;
    for (int i = 1; i <= count; ++i)
        words << QStringLiteral("w%1").arg(i);
    return words.join(u' ');
}

void SetRationale(int alternative, OutcomeKind outcome, const QString& text)
{
    const auto o = model::GetAlternatives().At(alternative)->Outcome(outcome);
    o->SetSuccessRationale(text);
    o->SaveChanges();
}

}  // namespace

// A and B have a Fallback, C has none.
TEST_F(ComparisonFixture, TreeHeightsFollowTheBasisOfTheChances)
{
    // Measured in the layout the report leaves, as the section measures them.
    ASSERT_TRUE(Produce({16}));
    model::c51Alternative& a = *model::GetAlternatives().At(0);
    model::c51Alternative& c = *model::GetAlternatives().At(2);
    ASSERT_TRUE(a.Outcome(OutcomeKind::Fallback)->bShow());
    ASSERT_FALSE(c.Outcome(OutcomeKind::Fallback)->bShow());
    for (int alternative : {0, 2})
        for (const OutcomeKind outcome : model::kAlternativeOutcomeKinds)
            SetRationale(alternative, outcome, QString());
    EXPECT_EQ(reports::sections::TreeHeight(c), 3500);
    EXPECT_EQ(reports::sections::TreeHeight(a), 4000);
    SetRationale(0, OutcomeKind::Target, QStringLiteral("Winds ease by evening."));
    EXPECT_EQ(reports::sections::TreeHeight(a), 4000) << "a short basis";

    // A long basis sets the height: without a Fallback the basis itself, with one the basis below
    // the branches plus 3000. The next tree starts that far below, and the printed basis (caption
    // and text) takes what was measured.
    SetRationale(2, OutcomeKind::Target, Words(150));
    SetRationale(0, OutcomeKind::Fallback, Words(150));
    ASSERT_TRUE(Produce({16}));
    struct Tree { int page, top; };
    QList<Tree> trees;
    QList<sectionrecord::Printed> printed;
    for (int page = 0; page < reports::VSPrinter1().PageCount(); ++page) {
        for (int top : TreeTops(page))
            trees.append({page, top});
        printed << sectionrecord::PrintedOn(page);
    }
    ASSERT_EQ(trees.size(), 4);
    ASSERT_EQ(trees[0].page, trees[1].page);
    ASSERT_EQ(trees[2].page, trees[3].page);
    const int heightA = trees[1].top - trees[0].top;
    const int heightC = trees[3].top - trees[2].top;
    EXPECT_GT(heightA, 4000);
    EXPECT_GT(heightC, 3500);
    const auto box = std::find_if(printed.begin(), printed.end(), [](const sectionrecord::Printed& p) {
        return p.text.startsWith(QStringLiteral("Basis for probabilities for strategy/w1 ")) && p.x == 8100;
    });
    ASSERT_NE(box, printed.end());
    EXPECT_NEAR(box->height, heightC, 250);
    const auto fallbackBox = std::find_if(printed.begin(), printed.end(), [](const sectionrecord::Printed& p) {
        return p.text.startsWith(QStringLiteral("Basis for probabilities for fallback/w1 ")) && p.x == 4900;
    });
    ASSERT_NE(fallbackBox, printed.end());
    EXPECT_NEAR(fallbackBox->height + 3000, heightA, 250);
    ExpectNothingPastTheFoot();
}

TEST_F(ComparisonFixture, TreesStackDownThePageAndBreakByItsRealHeight)
{
    // Letter: 4000, 4000 and 3500 from 1440; D would end below 14400 and starts the next page.
    ASSERT_TRUE(Produce({16}));
    ASSERT_EQ(reports::VSPrinter1().PageCount(), 2);
    EXPECT_EQ(TreeTops(0), (QList<int>{1440, 5440, 9440}));
    EXPECT_EQ(TreeTops(1), (QList<int>{1440}));
    ExpectNothingPastTheFoot();

    const struct { int width, height; QList<QList<int>> pages; } cases[] = {
        {12240, 20160, {{1440, 5440, 9440, 12940}}},        // legal: all four on one page
        {15840, 12240, {{1440, 5440}, {1440, 4940}}},       // letter turned: two a page
    };
    for (const auto& c : cases) {
        ProduceOnPage({16}, c.width, c.height);
        ASSERT_EQ(reports::VSPrinter1().PageCount(), c.pages.size()) << c.height;
        for (int page = 0; page < c.pages.size(); ++page)
            EXPECT_EQ(TreeTops(page), c.pages[page]) << c.height << " page " << page + 1;
        ExpectNothingPastTheFoot();
    }
}

TEST_F(ComparisonFixture, ABasisTallerThanThePageGoesOnAtTheTopOfTheNext)
{
    SetRationale(0, OutcomeKind::Target, Words(2500));
    SetRationale(0, OutcomeKind::Fallback, QStringLiteral("Fallback holds at the river."));
    ASSERT_TRUE(Produce({16}));
    const printing::ReportDocument& vp = reports::VSPrinter1();
    ASSERT_GE(vp.PageCount(), 3);
    ExpectNothingPastTheFoot();
    // Every word is printed once, in order, down the column at 1500.
    QStringList words;
    int lastPage = 0;
    for (int page = 0; page < vp.PageCount(); ++page)
        for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(page))
            if (p.x == 1500) {
                words << p.text.split(QRegularExpression(QStringLiteral("[ /]")), Qt::SkipEmptyParts);
                lastPage = page;
            }
    EXPECT_EQ(words.mid(5).join(u' '), Words(2500));
    EXPECT_EQ(words.mid(0, 5).join(u' '), QStringLiteral("Basis for probabilities for strategy"));
    // B's tree follows below the end of A's basis, or at the top of the next page.
    int end = 0;
    for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(lastPage))
        if (p.x == 1500)
            end = std::max(end, p.y + p.height);
    const QList<int> tops = TreeTops(lastPage);
    if (tops.isEmpty()) {
        ASSERT_GT(end + 650 + 4000, vp.PageHeight() - 1440) << "B would have fitted below";
        EXPECT_EQ(TreeTops(lastPage + 1).value(0), 1440);
    } else {
        EXPECT_GT(tops.first(), end);
    }
}

TEST_F(ComparisonFixture, TreeOfAnAlternativeShowsItsChancesAndAShortenedName)
{
    model::c51Alternative& a = *model::GetAlternatives().At(0);
    a.SetHeading(QStringLiteral("Direct attack along the whole west flank"));
    a.SaveChanges();
    a.Outcome(OutcomeKind::Target)->SetSuccess(70);
    a.Outcome(OutcomeKind::Target)->SaveChanges();
    ASSERT_TRUE(Produce({16}));
    const QStringList calls = Calls();
    EXPECT_FALSE(calls.filter(QStringLiteral("TextBox \"A. Direct attack along the whole we\" 745,2240 3600x0")).isEmpty());
    EXPECT_FALSE(calls.filter(QStringLiteral("TextBox \"70%\" 3620,1940 600x0")).isEmpty());
    EXPECT_FALSE(calls.filter(QStringLiteral("TextBox \"30%\" 3620,2790 600x0")).isEmpty());
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);

    SetAlternativeCount(0);
    ASSERT_TRUE(Produce({16}));
    EXPECT_EQ(sectionrecord::TextsOn(0), QStringList{QStringLiteral("Decision Tree")});
}

// A wide name (capitals, other scripts) stands on one line, clear of the expected values printed
// under it: it used to wrap onto them.
TEST_F(ComparisonFixture, AWideStrategyNameStaysOnOneLineAboveItsValues)
{
    for (const QString& heading : {QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"),
                                   QStringLiteral("\u03A9mega \u0411\u0440\u0430\u043D\u0434\u043C\u0430\u0443\u044D\u0440 \u5317\u4EAC \u00C5sa \u00D8re"),
                                   QStringLiteral("Hold the ridge line from the county")}) {
        SCOPED_TRACE(heading.toStdString());
        model::c51Alternative& a = *model::GetAlternatives().At(0);
        a.SetHeading(heading);
        a.SaveChanges();
        ASSERT_TRUE(Produce({16}));
        const QString label = a.Label().left(35);
        sectionrecord::Printed name;
        for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(0))   // lines are joined by "/"
            if (p.text.startsWith(QStringLiteral("A.")) &&
                QString(label).remove(u' ').startsWith(QString(p.text).remove(u'/').remove(u' ')))
                name = p;
        ASSERT_FALSE(name.text.isEmpty());
        const sectionrecord::Printed title = sectionrecord::Find(0, QStringLiteral("Target Outcome"));
        ASSERT_GT(title.height, 0);
        EXPECT_LE(name.height, title.height);
        int valuesTop = 0;
        for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(0))
            if (!valuesTop && p.text.startsWith(QStringLiteral("Expected Objectives Score:")))
                valuesTop = p.y;
        ASSERT_GT(valuesTop, 0);
        EXPECT_LE(name.y + name.height, valuesTop);
    }
}
