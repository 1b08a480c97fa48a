#pragma once

// The small analysis with as many alternatives as a case needs, for the comparison sections, and
// a check that nothing on a page passes its foot.

#include "report_fixture.h"
#include "section_record.h"

#include "model/g51alternatives.h"
#include "reports/printsettings.h"
#include "reports/reportproduction.h"

class ComparisonFixture : public ReportFixture {
protected:
    // Deletes alternatives from the end, or adds "E. Strategy 5" and on, until there are n.
    static void SetAlternativeCount(int n)
    {
        model::AlternativeCollection& alternatives = model::GetAlternatives();
        while (alternatives.Count() > n)
            model::DeleteAlternative(alternatives.KeyAt(alternatives.Count() - 1));
        while (alternatives.Count() < n) {
            const int i = alternatives.Count();
            auto alternative = model::AddAlternative(QString(QChar(u'A' + i)));
            alternative->SetHeading(QStringLiteral("Strategy %1").arg(i + 1));
            alternative->SaveChanges();
        }
        testsupport::ClearModelCaches();
    }

    static QString LabelOf(int i) { return QStringLiteral("%1. Strategy %2").arg(QChar(u'A' + i)).arg(i + 1); }

    // Produces the sections into the preview on a page of the given size, with a graph option.
    static void ProduceOnPage(std::initializer_list<int> sections, int width, int height,
                              reports::GraphColors colors = reports::GraphColors::ColoredPatterns)
    {
        reports::ReportSelection selection;
        for (int i : sections)
            selection.sections[i] = true;
        selection.graphColors = colors;
        reports::SetLastSelection(selection);
        reports::VSPrinter1().SetPageSize(width, height);
        ASSERT_TRUE(reports::ProduceSelectedSections(printing::Output::Preview));
    }

    void TearDown() override
    {
        reports::VSPrinter1().SetPageSize(printing::ReportDocument::kLetterWidth, printing::ReportDocument::kLetterHeight);
        ReportFixture::TearDown();
    }

    // Every text and box of every page stands above the foot of the page.
    static void ExpectNothingPastTheFoot()
    {
        const printing::ReportDocument& vp = reports::VSPrinter1();
        static const QRegularExpression kBox(QStringLiteral("^box (-?[\\d.]+),(-?[\\d.]+) ([\\d.]+)x([\\d.]+)"));
        for (int page = 0; page < vp.PageCount(); ++page) {
            for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(page))
                EXPECT_LE(p.y + p.height, vp.BottomLimit()) << p.text.toStdString() << " on page " << page + 1;
            for (const QString& item : vp.PageRecord(page)) {
                const QRegularExpressionMatch m = kBox.match(item);
                if (m.hasMatch())
                    EXPECT_LE(m.captured(2).toDouble() + m.captured(4).toDouble(), vp.BottomLimit())
                        << item.toStdString() << " on page " << page + 1;
            }
        }
    }
};
