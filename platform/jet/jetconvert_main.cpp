// tolmar_jetconvert <Jet file> <new SQLite file>
//
// Run by the program (jet::ConvertToSqlite) in a process of its own, so that a damaged file
// that crashes or hangs the reader takes only this process down. Exit 0 when the copy is
// written; 1 when the Jet file cannot be read, with the reason on the standard error; 2 when
// called wrongly.

#include "platform/jet/jetreader.h"

#include <QFile>

#include <cstring>
#include <exception>
#include <fcntl.h>
#include <unistd.h>

namespace {

void Report(int fd, const char* text)
{
    if (fd < 0)
        return;
    const size_t length = std::strlen(text);
    ssize_t written = ::write(fd, text, length);
    (void)written;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        Report(2, "usage: tolmar_jetconvert <Jet file> <new SQLite file>\n");
        return 2;
    }
    // mdbtools writes a warning for every oddity it meets, as many as a damaged file has; the
    // program reads only the one line of reason, so the rest goes nowhere.
    const int report = ::dup(2);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere >= 0) {
        ::dup2(nowhere, 2);
        ::close(nowhere);
    }
    try {
        jet::ConvertFile(QFile::decodeName(argv[1]), QFile::decodeName(argv[2]));
    } catch (const std::exception& e) {
        Report(report, e.what());
        return 1;
    }
    return 0;
}
