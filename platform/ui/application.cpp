#include "platform/ui/application.h"

#include "platform/ui/guard.h"

#include <QEvent>

namespace ui {

namespace {
Application::EscapeCheck gEscapeCheck;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

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
