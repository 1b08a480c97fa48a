#include "platform/richtext/rtftext.h"

namespace richtext {

namespace {
long gListCounter = 0;

// Replaces the single "1" that follows `prefix` at `at` by `n`; returns the index just past n.
qsizetype Renumber(QString& text, qsizetype at, qsizetype prefixLength, const QString& n)
{
    text = text.left(at + prefixLength) + n + text.mid(at + prefixLength + 1);
    return at + prefixLength + n.size();
}
}  // namespace

QString TrimTrailingBreaks(QString& text)
{
    qsizetype length = text.size();
    while (length > 0) {
        const QChar last = text.at(length - 1);
        if (last != u' ' && last != u'\r' && last != u'\n')
            break;
        --length;
    }
    text.truncate(length);
    return text;
}

QString FixRtfLists(const QString& rtf)
{
    QString text = rtf;

    static const QString kBareItem = QStringLiteral("\\tab}\\ls1\\ilvl0");
    static const QString kIndentedItem = QStringLiteral("\\tab}\\pard\\fi-360\\li360\\tx360\\ls1\\ilvl0");
    for (qsizetype p = text.indexOf(kBareItem); p >= 0; p = text.indexOf(kBareItem))
        text = text.left(p) + kIndentedItem + text.mid(p + kBareItem.size());

    const qsizetype p = text.indexOf(QStringLiteral("listtemplateid1"));
    if (p < 0)
        return text;

    ++gListCounter;
    if (gListCounter < 2)
        return text;  // the run's first list keeps its numbers

    const QString n = QString::number(gListCounter);
    qsizetype from = Renumber(text, p, 14, n);

    // The list table names the list twice. Searching on past the number just written keeps
    // ids of two digits from matching themselves ("listid12" holds "listid1").
    for (int i = 0; i < 2; ++i) {
        const qsizetype q = text.indexOf(QStringLiteral("listid1"), from);
        if (q < 0)
            return text;
        from = Renumber(text, q, 6, n);
    }

    qsizetype r = text.indexOf(QStringLiteral("\\ls1"), from);
    while (r >= 0) {
        from = Renumber(text, r, 3, n);
        r = text.indexOf(QStringLiteral("\\ls1\\"), from);
    }
    return text;
}

long ListCounter()
{
    return gListCounter;
}

void SetListCounter(long value)
{
    gListCounter = value;
}

}  // namespace richtext
