#pragma once

namespace ui {

// While one is alive, the user's input reaches no window of the program: keys, mouse, wheel,
// shortcuts, drops and a window's close box are dropped, not kept for later, while painting
// and timers go on. A long run that lets the screen catch up on the way (a report between its
// sections) holds one, so that no click can close the file, clear the model or take the page
// away under it. A modal window put up meanwhile (a message of the run) still takes its
// user's answer; the windows behind it still take nothing.
class UserInputBlock {
public:
    UserInputBlock();
    ~UserInputBlock();
    UserInputBlock(const UserInputBlock&) = delete;
    UserInputBlock& operator=(const UserInputBlock&) = delete;
};

// Paints what is waiting and runs the timers that are due, under a UserInputBlock.
void ProcessEventsWithoutInput();

} // namespace ui
