#pragma once

// The moment a program takes input: its event loop has nothing posted, no timer due and no
// window-system event queued, so a click or a key would be handled at once. GLib runs a source of
// idle priority only when no source of a higher one is ready, and Qt's posted events, timers and
// window-system events are all sources of the default priority; an idle source therefore runs at
// exactly that moment. Header only, so that a plain Qt program needs nothing of ours but this.

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <glib.h>

#include <functional>
#include <memory>

namespace benchsupport {

// Whether the thread's event loop runs on GLib (Qt's default on Linux; QT_NO_GLIB turns it off).
inline bool RunsOnGLib()
{
    const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    return dispatcher && dispatcher->inherits("QEventDispatcherGlib");
}

// Calls then() once, the next time the main thread's event loop is idle.
inline void WhenIdle(std::function<void()> then)
{
    GSource* source = g_idle_source_new();
    g_source_set_callback(
        source,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        new std::function<void()>(std::move(then)),
        [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
    g_source_attach(source, g_main_context_default());
    g_source_unref(source);
}

// Runs the event loop until it is idle and done() holds; false when timeoutMs passed first.
inline bool RunUntilIdle(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        // Shared, since a source still waiting when the time is up runs after this returns.
        auto idle = std::make_shared<bool>(false);
        WhenIdle([idle] { *idle = true; });
        while (!*idle) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        if (done())
            return true;
    }
}

} // namespace benchsupport
