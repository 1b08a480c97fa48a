#pragma once

#include "platform/printing/reportdocument.h"

#include <QTextDocument>
#include <gtest/gtest.h>

// A document on a letter page with the default margins of 720 twips, one page started.
class ReportDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.SetNewPageHandler([this](printing::ReportDocument&) { ++pagesStarted; });
        doc.StartDoc();
    }

    QList<printing::PageItem> Texts(int page) const
    {
        QList<printing::PageItem> out;
        for (const printing::PageItem& item : doc.page(page).items)
            if (item.kind == printing::PageItem::Kind::Text)
                out.append(item);
        return out;
    }

    int Count(int page, printing::PageItem::Kind kind) const
    {
        int n = 0;
        for (const printing::PageItem& item : doc.page(page).items)
            n += item.kind == kind;
        return n;
    }

    static QString Words(int count)
    {
        QStringList words;
        for (int i = 1; i <= count; ++i)
            words << QStringLiteral("word%1").arg(i);
        return words.join(u' ');
    }

    printing::ReportDocument doc;
    int pagesStarted = 0;
};
