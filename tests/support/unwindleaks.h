#pragma once

// Qt's widget library is built without exception cleanups: an error that unwinds through it to
// the application's guard leaves a few of Qt's own small objects behind (some hundred bytes an
// error). Tests that throw through Qt's widgets on purpose hold an UnwindLeaks while they do, so
// that the leak checker of a sanitizer build reports only leaks of our own.

#if defined(__SANITIZE_ADDRESS__)
#define TOLMAR_LEAK_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLMAR_LEAK_CHECKER 1
#endif
#endif

#ifdef TOLMAR_LEAK_CHECKER
#include <sanitizer/lsan_interface.h>
namespace testsupport {
using UnwindLeaks = __lsan::ScopedDisabler;
}
#else
namespace testsupport {
struct UnwindLeaks {
    UnwindLeaks() {}   // user-provided, so that an unused holder draws no warning
};
}
#endif
