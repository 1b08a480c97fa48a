#include "upgrade/texttortf.h"

#include "platform/richtext/rtftext.h"

namespace upgrade {

const QString kRtfHeader = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\\plain\\f0\\fs20 \\pard ");

namespace {

void AppendEscaped(QString& out, QChar c)
{
    const char16_t u = c.unicode();
    switch (u) {
    case u'\\': out += QStringLiteral("\\\\"); return;
    case u'{': out += QStringLiteral("\\{"); return;
    case u'}': out += QStringLiteral("\\}"); return;
    case u'\t': out += QStringLiteral("\\tab "); return;
    default: break;
    }
    if (u >= 0x20 && u < 0x80) {
        out += c;
    } else if (u >= 0x80) {
        // \uc0 in the header: no fallback character follows; RTF wants a signed 16-bit value.
        out += QStringLiteral("\\u%1 ").arg(u > 0x7FFF ? int(u) - 0x10000 : int(u));
    }
    // Other control characters have no place in a paragraph's text and are left out.
}

} // namespace

QString TextToRTF(QString text)
{
    richtext::TrimTrailingBreaks(text);
    QString out = kRtfHeader;
    out.reserve(kRtfHeader.size() + text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            // CR LF is one break; a lone CR or LF breaks the line too, or the words would run together.
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += QStringLiteral("\\par ");
            continue;
        }
        AppendEscaped(out, c);
    }
    out += QStringLiteral("\\par }");
    return out;
}

} // namespace upgrade
