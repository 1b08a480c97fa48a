#pragma once

// Reading back what a section printed, its texts and its calls; and the analyses without FMUs
// and with five of them, for the sections that print by fire management unit.

#include "report_fixture.h"
#include "section_record.h"

#include "model/c33fmu.h"
#include "model/c35aactable.h"
#include "model/g33fmus.h"

#include <QRegularExpression>

inline const QString kBase = QStringLiteral("margins 720,720,720,720 indents 0,0,0");

// The cell and paragraph texts of every page in printing order, without the running lines.
inline QStringList Texts()
{
    QStringList out;
    for (int p = 0; p < reports::VSPrinter1().PageCount(); ++p)
        for (const QString& line : reports::VSPrinter1().PageRecord(p))
            if (line.startsWith(QStringLiteral("text ")))
                out << line.section(u'"', 1, -2);
    return out;
}

// The texts that follow the first one equal to `from`, `count` of them.
inline QStringList TextsAfter(const QString& from, int count)
{
    const QStringList texts = Texts();
    const qsizetype at = texts.indexOf(from);
    return at < 0 ? QStringList{QStringLiteral("<%1 not printed>").arg(from)} : texts.mid(at + 1, count);
}

// The calls that open a run of one section: the document, the section's title and its empty line.
inline QStringList SectionStart(const char* title)
{
    return {QStringLiteral("StartDoc"),
            QStringLiteral("Paragraph \"%1\" at 720,770 ").arg(QString::fromLatin1(title)) + kBase + " align 1 F 12 b",
            QStringLiteral("Paragraph \"\" at 720,* ") + kBase + " align 1 F 12 b"};
}

inline qsizetype IndexOf(const QStringList& calls, const QString& start, qsizetype from = 0)
{
    for (qsizetype i = from; i < calls.size(); ++i)
        if (calls[i].startsWith(start))
            return i;
    return -1;
}

// The vertical position a call was made at.
inline int YOf(const QString& call)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral(" at -?\\d+,(-?\\d+) ")).match(call);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class NoFMUReport : public ReportFixture {
protected:
    testsupport::AnalysisSize Size() const override { return {2, 0, 2, 3, 1, 6}; }
};

class FiveFMUReport : public ReportFixture {
protected:
    testsupport::AnalysisSize Size() const override { return {4, 5, 5, 6, 2, 12}; }
    void SetUp() override
    {
        ReportFixture::SetUp();
        // Cost tables of four size classes, short enough for their bands.
        for (model::c33FMU* fmu : model::GetFMUs()) {
            for (int i = 5; i <= model::kCostBracketCount; ++i) {
                fmu->AACTable()->SetTopSize(i, 0);
                fmu->AACTable()->SetCost(i, 0);
            }
            fmu->AACTable()->SaveChanges();
        }
    }

    // The vertical positions of the FMU bands, and whether a new page comes before each.
    static QList<std::pair<int, bool>> Bands()
    {
        QList<std::pair<int, bool>> bands;
        const QStringList calls = Calls();
        qsizetype last = 0;
        for (qsizetype i = 0; i < calls.size(); ++i) {
            if (!calls[i].startsWith(QStringLiteral("Paragraph \"Fire Management Unit: ")))
                continue;
            bands.append({YOf(calls[i]), calls.mid(last, i - last).contains(QStringLiteral("NewPage"))});
            last = i;
        }
        return bands;
    }
};

// A band stands at its place, or just below the table before it where that table is taller
// than the band allows (with the fonts installed), or on a page of its own.
inline void ExpectBandsClearOfTheTableBefore()
{
    int checked = 0;
    for (int page = 0; page < reports::VSPrinter1().PageCount(); ++page) {
        const QList<sectionrecord::Band> bands = sectionrecord::BandsOn(page);
        for (qsizetype k = 1; k < bands.size(); ++k, ++checked)
            EXPECT_GE(bands[k].top, bands[k - 1].bottom) << "band " << k + 1 << " of page " << page + 1;
    }
    EXPECT_GT(checked, 0) << "bands share a page";
}
