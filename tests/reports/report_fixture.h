#pragma once

// A small analysis built through the model, with the general information, the resource management
// areas and the situation and summary topics that the report sections print.

#include "core/c0item.h"
#include "core/g0items.h"
#include "core/g13rmas.h"
#include "core/g2situation.h"
#include "core/g8summary.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/reportproduction.h"
#include "support/analysis_builder.h"
#include "support/callrecord.h"
#include "support/datafile_fixture.h"

#include <QRegularExpression>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

class ReportFixture : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        sCalls = std::make_unique<testsupport::CallRecord>(reports::VSPrinter1());
        testsupport::BuildAnalysis(Size());
        const struct { int key; const char* body; } items[] = {
            {221, "12"}, {11, "Ridge"}, {52, "ID-BOF-000417"}, {222, "08/14/2026"}, {223, "1400"},
            {53, "BLM, State"}, {55, "Great Basin"}, {54, "Boise District"}, {217, "{P0K3}\\x"},
            {61, "08/12/2026"}, {62, "1315"}, {57, "2300"}};
        for (const auto& item : items)
            SetItem(item.key, QString::fromLatin1(item.body));
        core::NewRMA(QStringLiteral("Owyhee Uplands"), Rtf("Protect sage grouse habitat."));
        core::NewRMA(QStringLiteral("Snake River"), Rtf("Keep fire out of the riparian zone."));
        core::SaveRMAs();
        const int topic = core::NewSituationTopic(QStringLiteral("Weather"));
        core::c0Item* weather = core::GetItem(topic);
        weather->SetHeading(QStringLiteral("Weather"));
        weather->SetBody(Rtf("Dry cold front Thursday."));
        weather->SaveChanges();
        core::c0Item* description = core::GetSummaryItem(291);
        description->SetBody(Rtf("Hold the fire south of the river."));
        description->SaveChanges();
        reports::SetLastSelection(reports::ReportSelection());
    }

    // The analysis the fixture builds.
    virtual testsupport::AnalysisSize Size() const { return testsupport::kSmallAnalysis; }

    void TearDown() override
    {
        reports::SetLastSelection(reports::ReportSelection());
        sCalls.reset();
        DatafileFixture::TearDown();
    }

    static QString Rtf(const char* text)
    {
        return QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
                              "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\\plain\\f0\\fs20 \\pard %1\\par }")
            .arg(QString::fromLatin1(text));
    }

    static void SetItem(int key, const QString& body)
    {
        core::c0Item* item = core::GetSituationItem(key);
        ASSERT_NE(item, nullptr);
        item->SetBody(body);
        item->SaveChanges();
    }

    // Chooses the sections and produces them into the preview.
    static bool Produce(std::initializer_list<int> sections, printing::Output output = printing::Output::Preview,
                        const QString& file = QString())
    {
        reports::ReportSelection selection;
        for (int i : sections) {
            selection.sections[i] = true;
            ++selection.count;
        }
        reports::SetLastSelection(selection);
        return reports::RunReport(output, file);
    }

    // The calls of the run with the report font written as "F".
    static QStringList Calls()
    {
        QStringList calls = sCalls->calls();
        for (QString& call : calls)
            call.replace(QStringLiteral(" ") + reports::GetReportFontName() + QStringLiteral(" "), QStringLiteral(" F "));
        return calls;
    }

    // Compares calls with expected records in which "*" stands for any number (a position that
    // follows from the line heights of the installed fonts).
    static void ExpectCalls(const QStringList& actual, const QStringList& expected)
    {
        const qsizetype n = std::max(actual.size(), expected.size());
        for (qsizetype i = 0; i < n; ++i) {
            const QString a = actual.value(i, QStringLiteral("<none>"));
            const QString e = expected.value(i, QStringLiteral("<none>"));
            QString pattern = QRegularExpression::escape(e);
            pattern.replace(QStringLiteral("\\*"), QStringLiteral("-?\\d+"));
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^") + pattern + QStringLiteral("$")).match(a).hasMatch())
                << "call " << i << "\n  actual:   " << a.toStdString() << "\n  expected: " << e.toStdString();
        }
    }

private:
    // Installed for each test: the report document describes its calls only to an observer.
    inline static std::unique_ptr<testsupport::CallRecord> sCalls;
};
