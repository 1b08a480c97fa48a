#include "platform/ui/waitcursor.h"

#include <QApplication>
#include <QCursor>

namespace ui {

namespace {
int gDepth = 0;
}

void BeginWaitCursor()
{
    if (gDepth++ == 0 && qApp)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void EndWaitCursor()
{
    if (gDepth == 0)
        return;
    if (--gDepth == 0 && qApp)
        QApplication::restoreOverrideCursor();
}

bool WaitCursorShown() { return gDepth > 0; }

void SetBusyCursor(bool busy)
{
    if (busy)
        BeginWaitCursor();
    else
        EndWaitCursor();
}

} // namespace ui
