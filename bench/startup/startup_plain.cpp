// The yardstick of the start-up benchmark: a plain Qt program, built from Qt alone, whose main
// window has a menu bar of five menus and a page of text, at the size it is told. It ends the
// moment it takes input, as the program's run in startup_bench does.
//
//   startup_plain --size=WxH [--maximized]

#include "bench/support/exitwhenready.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTextEdit>

#include <cstdio>

namespace {

QString PageOfText()
{
    QStringList paragraphs;
    for (int p = 0; p < 8; ++p) {
        QStringList words;
        for (int w = 0; w < 60; ++w)
            words << QStringLiteral("fire%1").arg((p * 13 + w * 7) % 101);
        paragraphs << words.join(u' ');
    }
    return paragraphs.join(QStringLiteral("\n\n"));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QSize size(800, 600);
    bool maximized = false;
    for (const QString& arg : QApplication::arguments()) {
        if (arg.startsWith(QLatin1String("--size="))) {
            const QStringList wh = arg.mid(7).split(u'x');
            size = QSize(wh.value(0).toInt(), wh.value(1).toInt());
        }
        maximized = maximized || arg == QLatin1String("--maximized");
    }
    if (!benchsupport::RunsOnGLib()) {
        std::fprintf(stderr, "startup_plain needs Qt's GLib event loop (unset QT_NO_GLIB)\n");
        return 1;
    }
    QMainWindow window;
    for (const char* title : {"&File", "&Section", "&Worksheet", "&Edit", "&Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 1; i <= 8; ++i)
            menu->addAction(QStringLiteral("Item &%1").arg(i));
    }
    auto* text = new QTextEdit;
    text->setReadOnly(true);
    text->setPlainText(PageOfText());
    window.setCentralWidget(text);
    window.resize(size);
    if (maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    benchsupport::ExitWhenReady watch(&window, [] { return true; });
    app.installEventFilter(&watch);
    window.show();
    app.exec();
    return 3;   // closed without ever taking input
}
