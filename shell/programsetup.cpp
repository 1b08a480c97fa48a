#include "shell/programsetup.h"

#include "core/uimode.h"
#include "platform/ui/qtprompter.h"
#include "platform/ui/waitcursor.h"
#include "reports/frmpreview.h"
#include "shell/frm0_tolmar.h"
#include "shell/worksheetforms.h"
#include "upgrade/upgrader.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMutex>
#include <QSemaphore>
#include <QThreadPool>
#include <QWaitCondition>

namespace shell {

namespace {

// Reading the system's fonts is the longest step before the first paint, and nothing needs them
// before the tab rows are made: it runs on a thread of its own beside building the window and
// opening the file. The font database may be used from any thread while the application object
// stands; its teardown waits for a reading under way and cancels one not yet begun.
struct FontReading {
    QMutex mutex;
    QWaitCondition finished;
    QSemaphore applicationMade;
    bool waiting = false;    // a thread made before the application object waits to be told
    bool reading = false;
    bool closing = false;
};
FontReading gFonts;

void ReadFonts()
{
    {
        QMutexLocker lock(&gFonts.mutex);
        if (gFonts.closing || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return;
        gFonts.reading = true;
    }
    QFontDatabase::families();
    QMutexLocker lock(&gFonts.mutex);
    gFonts.reading = false;
    gFonts.finished.wakeAll();
}

void StopReadingFonts()
{
    QMutexLocker lock(&gFonts.mutex);
    gFonts.closing = true;
    if (gFonts.waiting) {
        gFonts.waiting = false;
        gFonts.applicationMade.release();
    }
    while (gFonts.reading)
        gFonts.finished.wait(&gFonts.mutex);
}

} // namespace

void PrepareFontReading()
{
    QMutexLocker lock(&gFonts.mutex);
    // No pool while an earlier application object is going: the set-up reads them later.
    QThreadPool* pool = QThreadPool::globalInstance();
    if (gFonts.waiting || !pool)
        return;
    gFonts.waiting = true;
    // Should the application object never be set up, its teardown still lets the thread go.
    qAddPostRoutine(StopReadingFonts);
    // A thread only starts running a while after it is made: made before the application
    // object, it is ready by the time that exists.
    pool->start([] {
        gFonts.applicationMade.acquire();
        ReadFonts();
    });
}

void SetUpProgram(ui::QtPrompter& prompter)
{
    QApplication::setApplicationName(QStringLiteral("Tolmar Advanced"));
    qAddPostRoutine(StopReadingFonts);
    {
        QMutexLocker lock(&gFonts.mutex);
        gFonts.closing = false;
        if (gFonts.waiting) {
            gFonts.waiting = false;
            gFonts.applicationMade.release();
        } else if (QThreadPool* pool = QThreadPool::globalInstance()) {
            pool->start(ReadFonts);
        }
    }
    ui::setPrompter(&prompter);
    core::SetBusyCursorHandler(ui::SetBusyCursor);
    upgrade::Install();
    RegisterWorksheetForms();
    frm0_Tolmar::SetPreviewUnloader(reports::UnloadPreviewWindow);
}

} // namespace shell
