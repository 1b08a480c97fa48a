#include "core/uimode.h"

namespace core {

namespace {
int gBusyDepth = 0;
std::function<void(bool)> gCursorHandler;
} // namespace

void BeginBusy()
{
    if (gBusyDepth++ == 0 && gCursorHandler)
        gCursorHandler(true);
}

void EndBusy()
{
    // An unmatched EndBusy must not leave the program never idle again.
    if (gBusyDepth == 0)
        return;
    if (--gBusyDepth == 0 && gCursorHandler)
        gCursorHandler(false);
}

bool IsIdle()
{
    return gBusyDepth == 0;
}

void SetBusyCursorHandler(std::function<void(bool busy)> handler)
{
    gCursorHandler = std::move(handler);
}

} // namespace core
