#pragma once

namespace ui {

// One wait cursor for the whole program, however many parts ask for it: it goes up when the
// first request begins and comes down when the last one ends. The busy counter and the few
// places that show the hourglass directly all go through here.
void BeginWaitCursor();
void EndWaitCursor();          // an unmatched call is ignored
bool WaitCursorShown();

// The handler for the busy counter: true when the count leaves 0, false when it returns to 0.
void SetBusyCursor(bool busy);

class WaitCursor {
public:
    WaitCursor() { BeginWaitCursor(); }
    ~WaitCursor() { EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace ui
