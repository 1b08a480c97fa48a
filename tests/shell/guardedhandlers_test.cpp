// Every handler that the worksheets, the reports and the shell connect goes through the guard
// (ui::Guarded), so that no error of the data layer unwinds through Qt's widget code. The
// sources are read as they stand, so a handler connected later without it is caught here.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The text with its comments and the insides of its string and character literals blanked,
// lines kept where they were.
QString CodeOnly(const QString& text)
{
    QString code = text;
    const qsizetype n = code.size();
    for (qsizetype i = 0; i < n;) {
        if (code.mid(i, 2) == QLatin1String("//")) {
            for (; i < n && code[i] != u'\n'; ++i)
                code[i] = u' ';
        } else if (code.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = code.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            for (; i < stop; ++i)
                if (code[i] != u'\n')
                    code[i] = u' ';
        } else if (code[i] == u'"' || code[i] == u'\'') {
            const QChar quote = code[i++];
            for (; i < n && code[i] != quote && code[i] != u'\n'; ++i) {
                if (code[i] == u'\\' && i + 1 < n)
                    code[i++] = u' ';
                code[i] = u' ';
            }
            ++i;
        } else {
            ++i;
        }
    }
    return code;
}

// The lines of the connect() and QTimer::singleShot() calls in the text whose handler, their
// last argument, is not wrapped in Guarded().
QList<int> UnguardedHandlers(const QString& text)
{
    static const QRegularExpression call(QStringLiteral("(?<![A-Za-z0-9_])(connect|singleShot)\\s*\\("));
    const QString code = CodeOnly(text);
    QList<int> lines;
    for (auto it = call.globalMatch(code); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        // The arguments at the call's own level.
        QStringList args;
        qsizetype start = m.capturedEnd();
        int depth = 0;
        for (qsizetype i = start; i < code.size(); ++i) {
            const QChar c = code[i];
            if (c == u'(' || c == u'[' || c == u'{') {
                ++depth;
            } else if (c == u')' || c == u']' || c == u'}') {
                if (depth-- == 0) {
                    args << code.mid(start, i - start).trimmed();
                    break;
                }
            } else if (c == u',' && depth == 0) {
                args << code.mid(start, i - start).trimmed();
                start = i + 1;
            }
        }
        const qsizetype least = m.captured(1) == QLatin1String("connect") ? 3 : 2;
        if (args.size() < least)
            continue;
        const QString& handler = args.last();
        if (handler.startsWith(QLatin1String("ui::Guarded(")) || handler.startsWith(QLatin1String("Guarded(")))
            continue;
        lines << int(code.left(m.capturedStart()).count(u'\n')) + 1;
    }
    return lines;
}

} // namespace

TEST(GuardedHandlers, TheScanFindsEachHandlerThatBypassesTheGuard)
{
    const struct {
        const char* source;
        QList<int> lines;
    } cases[] = {
        {"connect(mAdd, &QPushButton::clicked, this, &frm13RMAs::cmdAdd_Click);", {1}},
        {"connect(mAdd, &QPushButton::clicked, this, ui::Guarded(this, &frm13RMAs::cmdAdd_Click));", {}},
        {"    connect(mSize, &QLineEdit::textChanged, this, Guarded(this, &frm43Outcomes::txtSize_Change));", {}},
        // A lambda over several lines, commas and brackets of its own inside.
        {"int a;\n"
         "QObject::connect(grid, &grid::Grid::keyDown, this,\n"
         "    [this](int& key, int) {\n"
         "        if (f(key, g(1, 2))) { h[0] = 1; }\n"
         "    });",
         {2}},
        {"QObject::connect(editor, &TopicEditor::nameChanged, editor, ui::Guarded([list, name](const QString& t) {\n"
         "    list->set(t, name);\n"
         "}));",
         {}},
        {"connect(mClose, &QPushButton::clicked, [this] { cmdClose_Click(); });", {1}},
        {"QTimer::singleShot(0, this, [this] { mKeyboardMove = false; });", {1}},
        {"QTimer::singleShot(0, txtTeam, ui::Guarded(txtTeam, &QLineEdit::selectAll));", {}},
        // Neither a disconnect, a comment, nor a text counts.
        {"disconnect(child, nullptr, &form, nullptr);\n"
         "// connect(mTopic, &TopicEditor::bodyChanged, this, &F::txtBody_Change);\n"
         "/* connect(a, &A::b, this, &F::c); */\n"
         "Trace(\"connect(a, b, c, d)\");",
         {}},
        {"Trace(\"(\"); connect(a, &A::b, this, &F::c);", {1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnguardedHandlers(QString::fromLatin1(c.source)), c.lines) << c.source;
}

TEST(GuardedHandlers, EveryHandlerOfTheWorksheetsReportsAndShellGoesThroughTheGuard)
{
    const QString root = qEnvironmentVariable("TOLMAR_SOURCE_DIR");
    ASSERT_FALSE(root.isEmpty());
    QStringList unguarded;
    int files = 0;
    for (const char* folder : {"worksheets", "reports", "shell"}) {
        QDirIterator it(QDir(root).filePath(QString::fromLatin1(folder)), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            ++files;
            for (int line : UnguardedHandlers(QString::fromUtf8(file.readAll())))
                unguarded << QDir(root).relativeFilePath(file.fileName()) + u':' + QString::number(line);
        }
    }
    EXPECT_GT(files, 100) << "the sources were found";
    EXPECT_TRUE(unguarded.isEmpty()) << "connect them through ui::Guarded: " << unguarded.join(u' ').toStdString();
}
