#include "platform/richtext/texttortf.h"

#include "platform/richtext/rtf.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using richtext::kRtfHeader;
using richtext::TextToRTF;

namespace {

const QString kEnd = QStringLiteral("\\par }");

struct Case {
    const char* name;
    QString text;
    QString body;   // between the header and the closing "\par }"
};

} // namespace

TEST(TextToRTF, WritesTheHouseBodyAroundTheText)
{
    const QString crlf = QStringLiteral("\r\n");
    const Case cases[] = {
        {"empty", QString(), QString()},
        {"only blanks and breaks", QStringLiteral("  \r\n \n\r "), QString()},
        {"one line", QStringLiteral("Hold the ridge"), QStringLiteral("Hold the ridge")},
        {"two lines", QStringLiteral("a") + crlf + QStringLiteral("b"), QStringLiteral("a\\par b")},
        {"trailing break dropped", QStringLiteral("a\r\nb\r\n"), QStringLiteral("a\\par b")},
        {"leading and inner blanks kept", QStringLiteral("  a  b  "), QStringLiteral("  a  b")},
        {"empty line kept", QStringLiteral("a\r\n\r\nb"), QStringLiteral("a\\par \\par b")},
        {"lone line feed breaks the line", QStringLiteral("a\nb"), QStringLiteral("a\\par b")},
        {"lone carriage return breaks the line", QStringLiteral("a\rb"), QStringLiteral("a\\par b")},
        {"reserved characters escaped", QStringLiteral("{x}\\"), QStringLiteral("\\{x\\}\\\\")},
        {"tab", QStringLiteral("a\tb"), QStringLiteral("a\\tab b")},
        {"two tabs", QStringLiteral("a\t\tb"), QStringLiteral("a\\tab\\tab b")},
        {"accented letter as its code page byte", QStringLiteral("caf\u00e9"), QStringLiteral("caf\\'e9")},
        {"euro sign as its code page byte", QStringLiteral("\u20ac5"), QStringLiteral("\\'805")},
        {"outside the code page, 16 bits signed", QStringLiteral("\uffe5 5"), QStringLiteral("\\u-27  5")},
        {"control word ending a line", QStringLiteral("\uffe5\r\nb\t"), QStringLiteral("\\u-27\\par b\\tab")},
        {"characters without a place dropped", QStringLiteral("a\x01\ufffc\uffffb"), QStringLiteral("ab")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToRTF(c.text), kRtfHeader + c.body + kEnd) << c.name;
}

TEST(TextToRTF, EmptyTextGivesTheEmptyBodyOfNewItems)
{
    EXPECT_EQ(TextToRTF(QString()),
              QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
                             "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\\plain\\f0\\fs20 \\pard \\par }"));
    EXPECT_EQ(kRtfHeader.size(), 155);
}

TEST(TextToRTF, ReadsBackAsTheSameText)
{
    const struct {
        QString text;
        QString shown;
    } cases[] = {
        {QString(), QString()},
        {QStringLiteral("  \r\n"), QString()},
        {QStringLiteral("a\r\nb"), QStringLiteral("a\r\nb")},
        {QStringLiteral("a\nb"), QStringLiteral("a\r\nb")},
        {QStringLiteral("{x}\\"), QStringLiteral("{x}\\")},
        {QStringLiteral("\u00e9"), QStringLiteral("\u00e9")},
        {QStringLiteral("Zone \u00c9st\tna\u00efve \u20ac 5"), QStringLiteral("Zone \u00c9st\tna\u00efve \u20ac 5")},
        {QString::fromUtf8("Smoke \xF0\x9F\x94\xA5 5"), QString::fromUtf8("Smoke \xF0\x9F\x94\xA5 5")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(richtext::RtfToPlainText(TextToRTF(c.text)), c.shown) << c.text.toStdString();
}

// A line of plain text brought in reads as the same bytes the editor would store for it.
TEST(TextToRTF, OneLineIsWrittenAsTheEditorWritesIt)
{
    const QString line = QStringLiteral("Zone \u00c9st\tna\u00efve \u20ac5 \uffe5{x}\\ \u4e2d");
    QTextDocument doc;
    doc.setPlainText(line);
    EXPECT_EQ(TextToRTF(line), richtext::WriteRtf(doc));
    EXPECT_EQ(TextToRTF(line), kRtfHeader + QStringLiteral("Zone \\'c9st\\tab na\\'efve \\'805 \\u-27\\{x\\}\\\\ \\u20013\\par }"));
}
