#pragma once

#include <functional>

namespace core {

// Nesting busy counter: while above zero the program is not idle and shows the wait cursor.
void BeginBusy();
void EndBusy();      // never goes below zero
bool IsIdle();

// Called with true when the count leaves 0 and with false when it returns to 0.
void SetBusyCursorHandler(std::function<void(bool busy)> handler);

// Holds the counter for its lifetime, so an exception cannot leave the program busy.
class BusyScope {
public:
    BusyScope() { BeginBusy(); }
    ~BusyScope() { EndBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

} // namespace core
