#pragma once

#include "platform/printing/reportdocument.h"
#include "support/callrecord.h"

#include <QTextDocument>
#include <gtest/gtest.h>

// A topic body as the editor stores it: a line, then a list of two items, bulleted or numbered.
inline QString ListBody(bool numbered)
{
    return QStringLiteral(
               "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
               "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}"
               "{\\*\\listtable{\\list\\listtemplateid1\\listsimple{\\listlevel\\levelnfc%1\\leveljc0\\levelfollow0"
               "\\levelstartat1{\\leveltext%2;}{\\levelnumbers%3;}\\fi-360\\li360}\\listid1}}"
               "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}\\plain\\f0\\fs20 "
               "\\pard Crews:\\par \\pard{\\listtext %4\\tab}\\ls1\\ilvl0 Two type 2 crews on the north flank\\par "
               "\\pard{\\listtext %5\\tab}\\ls1\\ilvl0 One dozer\\par }")
        .arg(numbered ? QStringLiteral("0") : QStringLiteral("23"),
             numbered ? QStringLiteral("\\'02\\'00.") : QStringLiteral("\\'01\\'95"),
             numbered ? QStringLiteral("\\'01") : QString(), numbered ? QStringLiteral("1.") : QStringLiteral("\\'95"),
             numbered ? QStringLiteral("2.") : QStringLiteral("\\'95"));
}

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
    testsupport::CallRecord calls{doc};
    int pagesStarted = 0;
};
