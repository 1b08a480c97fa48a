#pragma once

// Ends a program the moment it takes input: once its window has been painted and what followed
// the paint has run (the event loop idle, see untilidle.h). Installed on the application before
// the window is shown. On the way out it writes the window's size on standard output, "WxH" and
// " maximized" when it is, so that a driver can give another program's window the same.

#include "bench/support/untilidle.h"

#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace benchsupport {

class ExitWhenReady : public QObject {
public:
    // ready: whether the program shows what it was to show by then (exit code 4 when not).
    ExitWhenReady(QWidget* window, std::function<bool()> ready) : mWindow(window), mReady(std::move(ready)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !mPainted && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget == mWindow || mWindow->isAncestorOf(widget)) {
                mPainted = true;
                WhenIdle([this] {
                    const int code = mReady() ? 0 : 4;
                    std::printf("%dx%d%s\n", mWindow->width(), mWindow->height(),
                                mWindow->isMaximized() ? " maximized" : "");
                    std::fflush(nullptr);
                    std::_Exit(code);
                });
            }
        }
        return false;
    }

private:
    QWidget* mWindow;
    std::function<bool()> mReady;
    bool mPainted = false;
};

} // namespace benchsupport
