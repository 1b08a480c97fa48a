#pragma once

#include <QApplication>

#include <functional>

namespace ui {

// The program's application object. Every handler runs through the guard (platform/ui/guard.h),
// so no error should reach the event loop; one that does all the same, from a handler that was
// not guarded, is caught here as a last net, logged and shown, and the escape check is told.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Told of each error that reached notify, with the receiver's class and the event type; the
    // tests make it a failure. Returns the check it replaces.
    using EscapeCheck = std::function<void(const QString& receiverAndEvent)>;
    static EscapeCheck SetEscapeCheck(EscapeCheck check);
};

} // namespace ui
