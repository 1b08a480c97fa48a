#pragma once

// A child process for the tests that kill a program part way: the child runs body with the
// write end of a pipe to the parent (and must never return from it); the parent gets its id
// and the read end.

#include <functional>
#include <sys/types.h>
#include <unistd.h>

namespace testsupport {

struct ForkedChild {
    pid_t pid = -1;   // -1: no child could be made
    int pipe = -1;    // read end
};

inline ForkedChild ForkChild(const std::function<void(int report)>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        body(fds[1]);
        _exit(5);   // the body returned, which it must not
    }
    close(fds[1]);
    if (child < 0) {
        close(fds[0]);
        return {};
    }
    return {child, fds[0]};
}

} // namespace testsupport
