#pragma once

// A file or folder made immutable for the object's lifetime: read-only even for the superuser,
// whom file permissions do not bind.

#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace testsupport {

class Immutable {
public:
    explicit Immutable(const QString& path) : mPath(path) { mSet = setFlag(true); }
    ~Immutable()
    {
        if (mSet)
            setFlag(false);
    }
    bool set() const { return mSet; }

private:
    bool setFlag(bool on)
    {
        const int fd = ::open(mPath.toUtf8().constData(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }
    QString mPath;
    bool mSet = false;
};

} // namespace testsupport
