#include "platform/richtext/scratchdocument.h"

#include "platform/richtext/rtf.h"

#include <QTextBlock>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace richtext;

namespace {

QString Body(const QString& paragraphs)
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
                          "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\\plain\\f0\\fs20 ")
        + paragraphs + QStringLiteral("}");
}

TEST(ScratchDocument, LabelsInsertedAtTheStartOfJoinedDescriptions)
{
    ScratchDocument doc;
    ASSERT_TRUE(doc.load(Body("\\pard Hold the ridge.\\par ")));
    doc.setSelection(0, 0);
    doc.insertText(QStringLiteral("Fallback:\r\n\r\n"));
    const QString fallback = doc.save();

    ASSERT_TRUE(doc.load(Body("\\pard \\b Direct\\b0  attack.\\par ")));
    doc.setSelection(0, 0);
    doc.insertText(QStringLiteral("\r\nTarget:\r\n\r\n"));
    const QString target = doc.save();

    ASSERT_TRUE(doc.load(Body("\\pard Full suppression.\\par ") + target + fallback));
    doc.setSelection(0, 0);
    doc.insertText(QStringLiteral("This alternative includes a Fallback outcome.\r\n\r\n"));
    EXPECT_EQ(doc.plainText().toStdString(),
              "This alternative includes a Fallback outcome.\r\n\r\nFull suppression.\r\n\r\nTarget:\r\n\r\n"
              "Direct attack.\r\nFallback:\r\n\r\nHold the ridge.");
    const QString saved = doc.save();
    EXPECT_TRUE(saved.contains(QStringLiteral("Direct\\b0  attack."))) << saved.toStdString();
    EXPECT_TRUE(saved.endsWith(QStringLiteral("\\par }")));
}

TEST(ScratchDocument, SelectionFindAndReplaceWithRtf)
{
    ScratchDocument doc;
    ASSERT_TRUE(doc.load(Body("\\pard one ### two ###\\par ")));
    EXPECT_EQ(doc.length(), 15);
    doc.setSelection(4, 1000);
    EXPECT_EQ(doc.selectionLength(), 11);
    EXPECT_EQ(doc.selectedText(), QStringLiteral("### two ###"));
    doc.setSelection(-5, 3);
    EXPECT_EQ(doc.selectedText(), QStringLiteral("one"));

    ASSERT_TRUE(doc.find(QStringLiteral("###")));
    EXPECT_EQ(doc.selectionStart(), 4);
    doc.replaceSelectionWithRtf(Body("\\pard \\i first\\i0\\par "));
    ASSERT_TRUE(doc.find(QStringLiteral("###")));
    EXPECT_EQ(doc.selectionStart(), 14);
    doc.replaceSelectionWithRtf(QStringLiteral("not rtf {x}"));
    EXPECT_FALSE(doc.find(QStringLiteral("###")));
    EXPECT_FALSE(doc.find(QString()));
    EXPECT_EQ(doc.plainText(), QStringLiteral("one first two not rtf {x}"));
    EXPECT_TRUE(doc.save().contains(QStringLiteral("\\i first\\i0")));
}

TEST(ScratchDocument, WholeTextSelectedByRtfLengthComesOutAsRtf)
{
    ScratchDocument doc;
    const QString rtf = Body("\\pard \\b Heading\\b0\\par \\pard\\li720 indented \\'e9\\par ");
    ASSERT_TRUE(doc.load(rtf));
    doc.setSelection(0, rtf.size());
    const QString part = doc.selectedRtf();
    EXPECT_EQ(RtfToPlainText(part), QStringLiteral("Heading\r\nindented \u00e9"));
    EXPECT_TRUE(part.contains(QStringLiteral("\\b Heading")));
    EXPECT_TRUE(part.contains(QStringLiteral("\\li720")));
}

TEST(ScratchDocument, TextThatIsNotRtfIsKeptAsPlainText)
{
    // a description stored as plain text still reaches the report, as the editor shows it
    ScratchDocument doc;
    const QString note = QStringLiteral("Hold at {Ridge Road}\r\nthen burn out");
    EXPECT_FALSE(doc.load(note));
    EXPECT_EQ(doc.plainText(), note);
    doc.setSelection(0, note.size());
    EXPECT_EQ(RtfToPlainText(doc.selectedRtf()), note);
    EXPECT_TRUE(doc.save().contains(QStringLiteral("Hold at \\{Ridge Road\\}\\par")));
}

TEST(ScratchDocument, TablesWithCellsFilledFromRtf)
{
    ScratchDocument doc;
    doc.clear();
    const int a = doc.insertTable(2, 1);
    doc.moveToEnd();
    doc.insertText(QStringLiteral("\r\n"));
    const int c = doc.insertTable(4, 6);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(doc.tableCount(), 2);

    ASSERT_TRUE(doc.setCellText(a, 1, 1, QStringLiteral("Alternative A")));
    doc.setSelection(doc.cellStart(a, 1, 1), 13);
    doc.setSelectionFontSize(11);
    doc.setSelectionBold(true);
    ASSERT_TRUE(doc.setCellText(a, 2, 1, QStringLiteral("###")));
    ASSERT_TRUE(doc.setCellText(c, 4, 6, QStringLiteral("12 hours")));
    EXPECT_FALSE(doc.setCellText(c, 5, 1, QStringLiteral("x")));
    EXPECT_FALSE(doc.setCellText(3, 1, 1, QStringLiteral("x")));
    EXPECT_EQ(doc.cellStart(c, 0, 1), -1);

    ASSERT_TRUE(doc.find(QStringLiteral("###")));
    doc.replaceSelectionWithRtf(Body("\\pard Line one\\par \\pard Line two\\par "));
    EXPECT_EQ(doc.cellText(a, 2, 1), QStringLiteral("Line one\r\nLine two"));

    const QString saved = doc.save();
    EXPECT_TRUE(saved.contains(QStringLiteral("\\b\\fs22 Alternative A"))) << saved.toStdString();
    ScratchDocument again;
    ASSERT_TRUE(again.load(saved));
    EXPECT_EQ(again.save(), saved);
    QList<QTextTable*> tables;
    for (QTextFrame* frame : again.document()->rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(frame))
            tables.append(t);
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(tables.at(0)->rows(), 2);
    EXPECT_EQ(tables.at(1)->rows(), 4);
    EXPECT_EQ(tables.at(1)->columns(), 6);
    EXPECT_EQ(RtfToPlainText(saved).count(QStringLiteral("12 hours")), 1);
}

} // namespace
