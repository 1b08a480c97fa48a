#include "platform/richtext/rtfescape.h"

#include "platform/richtext/cp1252.h"

namespace richtext {

bool RtfWritable(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u == u'\t' || u == u'\n' || u == u'\r')
        return true;
    return u >= 0x20 && u != QChar::ObjectReplacementCharacter && u < 0xFFFE;
}

void AppendRtfText(QString& out, QStringView text, bool& delimiterDue)
{
    auto word = [&](const QString& w) {
        out += w;
        delimiterDue = true;
    };
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += u'\\';
            out += ch;
            delimiterDue = false;
            continue;
        }
        if (u == u'\t') {
            word(QStringLiteral("\\tab"));
            continue;
        }
        if (u == QChar::LineSeparator || u == u'\n' || u == u'\r' || u == QChar::ParagraphSeparator) {
            word(QStringLiteral("\\line"));
            continue;
        }
        if (!RtfWritable(ch))
            continue;
        if (u < 0x80) {
            if (delimiterDue) {
                out += u' ';
                delimiterDue = false;
            }
            out += ch;
            continue;
        }
        const int b = UnicodeToCp1252(u);
        if (b >= 0) {
            out += QStringLiteral("\\'%1").arg(b, 2, 16, QLatin1Char('0'));
            delimiterDue = false;
            continue;
        }
        word(QStringLiteral("\\u%1").arg(int(static_cast<qint16>(u))));
    }
}

} // namespace richtext
