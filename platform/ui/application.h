#pragma once

#include <QApplication>

namespace ui {

// The program's application object: every event, and so every handler a control, a worksheet
// or the main window runs for it, passes through the one error guard (platform/ui/guard.h).
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace ui
