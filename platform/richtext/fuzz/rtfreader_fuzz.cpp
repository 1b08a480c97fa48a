// libFuzzer entry: any text must read without crashing or hanging, and what
// the writer makes of it must read back to the same text.
#include "platform/richtext/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char name[] = "rtfreader_fuzz";
    static char* qtArgv[] = {name, nullptr};
    static QGuiApplication app(qtArgc, qtArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Half the inputs start as RTF so that the reader gets past its first check.
    QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), int(size));
    if (size > 0 && (data[0] & 1))
        text.prepend(QStringLiteral("{\\rtf1 "));
    QTextDocument doc;
    if (!richtext::ReadRtf(text, &doc))
        return 0;
    const QString once = richtext::WriteRtf(doc);
    QTextDocument again;
    if (!richtext::ReadRtf(once, &again))
        abort();
    if (richtext::WriteRtf(again) != once)
        abort();
    (void)richtext::RtfToPlainText(text);
    return 0;
}
