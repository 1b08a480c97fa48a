#include "platform/ui/application.h"

#include "platform/ui/guard.h"

#include <QEvent>

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    // Taken before the handler runs: it may delete the receiver before it throws.
    const char* receiverClass = receiver ? receiver->metaObject()->className() : "";
    const int type = event ? int(event->type()) : 0;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException(QString(), QStringLiteral("%1, event %2").arg(QLatin1String(receiverClass)).arg(type));
        return false;
    }
}

} // namespace ui
