#include "platform/ui/application.h"

#include "platform/ui/guard.h"

#include <QEvent>
#include <QFont>

namespace ui {

namespace {
Application::EscapeCheck gEscapeCheck;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // Every window is set in Arial, as the tab rows and the topics are: one face to find, load and
    // shape at start-up instead of the desktop's own beside it, in the size the desktop gives.
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(font().pointSizeF());
    setFont(arial);
}

Application::EscapeCheck Application::SetEscapeCheck(EscapeCheck check)
{
    return std::exchange(gEscapeCheck, std::move(check));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    // Taken before the handler runs: it may delete the receiver before it throws.
    const char* receiverClass = receiver ? receiver->metaObject()->className() : "";
    const int type = event ? int(event->type()) : 0;
    const guard_detail::EventBoundary boundary;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString what = QStringLiteral("%1, event %2").arg(QLatin1String(receiverClass)).arg(type);
        if (gEscapeCheck) {
            try {
                gEscapeCheck(what);
            } catch (...) {
            }
        }
        ReportCurrentException(QString(), what);
        return false;
    }
}

} // namespace ui
