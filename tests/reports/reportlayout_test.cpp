// The report as a fire manager reads it on paper, section by section, for a large analysis and
// for one whose names run to 150 characters and whose amounts to nine digits: no text printed over
// other text, none out of the box it was laid out in or off the paper, no page of a section of
// banded tables left a table short where the next would fit, and every row of the comparison
// matrix there when it runs over pages.

#include "report_fixture.h"
#include "section_record.h"
#include "support/drawntext.h"

#include "model/c41objective.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"

#include <algorithm>

namespace {

class ReportLayout : public ReportFixture {
protected:
    // Each section alone, every page of it checked.
    void CheckEverySection()
    {
        const printing::ReportDocument& doc = reports::VSPrinter1();
        for (int section = 1; section <= reports::kSectionCount; ++section) {
            SCOPED_TRACE(reports::SectionCaption(section).toStdString());
            ASSERT_TRUE(Produce({section}));
            for (int page = 0; page < doc.PageCount(); ++page)
                for (const QString& fault : testsupport::PageFaults(doc, page))
                    ADD_FAILURE() << "page " << page + 1 << ": " << fault.toStdString();
            if (section == 10 || section == 11 || section == 12 || section == 14)
                CheckBands(doc);
            if (section == 17)
                CheckMatrixRows(doc);
        }
        EXPECT_TRUE(prompter.messages().isEmpty());
    }

    // The text of a table that ran on from the page before: printed above the page's first band.
    static bool TailOn(const printing::ReportDocument& doc, int page)
    {
        if (page == 0)
            return false;   // the section's first page: its title stands above the bands
        const QList<sectionrecord::Band> bands = sectionrecord::BandsOn(page);
        for (const printing::PageItem& item : doc.page(page).items)
            if (item.kind == printing::PageItem::Kind::Text && !item.lines.join(QString()).isEmpty() &&
                (bands.isEmpty() || item.rect.bottom() <= bands.first().top))
                return true;
        return false;
    }

    // A page of tables ends only when it has as many as any page of the section holds, or when
    // the next table would not fit below its last one; a table that starts below another ends on
    // its page, its title and heading never left at the foot.
    static void CheckBands(const printing::ReportDocument& doc)
    {
        constexpr int kGap = 240;
        qsizetype most = 0;
        for (int page = 0; page < doc.PageCount(); ++page)
            most = std::max(most, sectionrecord::BandsOn(page).size());
        for (int page = 0; page + 1 < doc.PageCount(); ++page) {
            const QList<sectionrecord::Band> here = sectionrecord::BandsOn(page);
            if (!here.isEmpty() && (here.size() > 1 || TailOn(doc, page)) && TailOn(doc, page + 1))
                ADD_FAILURE() << "page " << page + 1 << ": a table below another runs over the page end";
            const QList<sectionrecord::Band> next = sectionrecord::BandsOn(page + 1);
            if (here.isEmpty() || next.isEmpty() || here.size() == most)
                continue;
            const sectionrecord::Band& moved = next.first();
            EXPECT_GT(here.last().bottom + kGap + (moved.bottom - moved.top), doc.PageHeight() - 720)
                << "page " << page + 1 << " holds " << here.size() << " tables, ending at " << here.last().bottom
                << ", and the first table of the next page, " << moved.bottom - moved.top << " high, fits below";
        }
    }

    // Every row label of the matrix, once for each group of three alternatives, over its pages.
    static void CheckMatrixRows(const printing::ReportDocument& doc)
    {
        QStringList printed;
        for (int page = 0; page < doc.PageCount(); ++page)
            printed << sectionrecord::TextsOn(page);
        QStringList labels{QStringLiteral("Expected Objectives Score"), QStringLiteral("Probability (%)"),
                           QStringLiteral("Expected Safety Score")};
        const QList<model::c41Objective*> objectives = model::GetPrioritizedObjectives();
        for (qsizetype k = 1; k < objectives.size(); ++k)
            labels << objectives[k]->ItemName();
        const QList<model::c41Objective*>& safety = model::SafetyIssuesCollection();
        for (qsizetype k = 1; k < safety.size(); ++k)
            labels << safety[k]->ItemName();
        const int groups = (model::GetAlternatives().Count() + 2) / 3;
        for (const QString& label : labels)
            EXPECT_EQ(printed.count(label), groups) << label.toStdString();
    }
};

class LargeAnalysisLayout : public ReportLayout {
protected:
    testsupport::AnalysisSize Size() const override { return testsupport::kLargeAnalysis; }
};

class LongNamesLayout : public ReportLayout {
protected:
    testsupport::AnalysisSize Size() const override { return testsupport::kLongNamesAnalysis; }
};

}  // namespace

TEST_F(LargeAnalysisLayout, EverySectionReadsRightOnPaper)
{
    CheckEverySection();
}

TEST_F(LongNamesLayout, EverySectionReadsRightOnPaper)
{
    CheckEverySection();
}
