#pragma once

// A disk that fills up, for tests of what a full disk leaves on screen and in the file: while
// it is full, every write the data engine makes to a file in one folder (the data file, its
// journal) fails as a write to a full disk does, until it is emptied. Files in other folders
// stand on other disks and take writes as before.
//
// It takes the engine's place as the default file layer for its lifetime, so only files opened
// after it is made are on it, and every one of them must be closed before it goes. One at a time.
//
//   testsupport::FullDisk disk(folder);
//   ... open the file ...
//   disk.fill();  ... every write fails with SQLITE_FULL ...
//   disk.empty();

#include <QDir>
#include <QString>

#include <sqlite3.h>

#include <cstring>

namespace testsupport {

class FullDisk {
public:
    explicit FullDisk(const QString& folder) : mFolder(QDir(folder).absolutePath().toUtf8() + '/')
    {
        sCurrent = this;
        mReal = sqlite3_vfs_find(nullptr);
        mVfs = *mReal;
        mVfs.zName = "tolmar-full-disk";
        mVfs.szOsFile = int(sizeof(File)) + mReal->szOsFile;
        mVfs.pNext = nullptr;
        mVfs.xOpen = &FullDisk::open;
        sqlite3_vfs_register(&mVfs, 1);
    }
    ~FullDisk()
    {
        sqlite3_vfs_unregister(&mVfs);
        sqlite3_vfs_register(mReal, 1);
        sCurrent = nullptr;
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    void fill() { mFull = true; }
    void empty() { mFull = false; }
    // Writes refused since the disk was made.
    int refusedWrites() const { return mRefused; }

private:
    struct File {
        sqlite3_file base;
        bool onDisk;
        sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
    };

    static File* of(sqlite3_file* f) { return reinterpret_cast<File*>(f); }

    static int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags)
    {
        File* file = of(f);
        const int rc = sCurrent->mReal->xOpen(sCurrent->mReal, name, file->real(), flags, outFlags);
        if (rc != SQLITE_OK || !file->real()->pMethods) {
            file->base.pMethods = nullptr;
            return rc;
        }
        file->onDisk = name && std::strncmp(name, sCurrent->mFolder.constData(), size_t(sCurrent->mFolder.size())) == 0;
        // The real layer's methods, but for the writes of a file on this disk.
        sCurrent->mMethods = *file->real()->pMethods;
        sCurrent->mMethods.xClose = &FullDisk::close;
        sCurrent->mMethods.xRead = [](sqlite3_file* f, void* p, int n, sqlite3_int64 at) {
            return of(f)->real()->pMethods->xRead(of(f)->real(), p, n, at);
        };
        sCurrent->mMethods.xWrite = &FullDisk::write;
        sCurrent->mMethods.xTruncate = [](sqlite3_file* f, sqlite3_int64 size) {
            return of(f)->real()->pMethods->xTruncate(of(f)->real(), size);
        };
        sCurrent->mMethods.xSync = [](sqlite3_file* f, int flags) { return of(f)->real()->pMethods->xSync(of(f)->real(), flags); };
        sCurrent->mMethods.xFileSize = [](sqlite3_file* f, sqlite3_int64* size) {
            return of(f)->real()->pMethods->xFileSize(of(f)->real(), size);
        };
        sCurrent->mMethods.xLock = [](sqlite3_file* f, int level) { return of(f)->real()->pMethods->xLock(of(f)->real(), level); };
        sCurrent->mMethods.xUnlock = [](sqlite3_file* f, int level) {
            return of(f)->real()->pMethods->xUnlock(of(f)->real(), level);
        };
        sCurrent->mMethods.xCheckReservedLock = [](sqlite3_file* f, int* out) {
            return of(f)->real()->pMethods->xCheckReservedLock(of(f)->real(), out);
        };
        sCurrent->mMethods.xFileControl = [](sqlite3_file* f, int op, void* arg) {
            // The engine asks for the file itself (its header is read through it): the real one.
            if (op == SQLITE_FCNTL_FILE_POINTER) {
                *static_cast<sqlite3_file**>(arg) = of(f)->real();
                return SQLITE_OK;
            }
            return of(f)->real()->pMethods->xFileControl(of(f)->real(), op, arg);
        };
        sCurrent->mMethods.xSectorSize = [](sqlite3_file* f) { return of(f)->real()->pMethods->xSectorSize(of(f)->real()); };
        sCurrent->mMethods.xDeviceCharacteristics = [](sqlite3_file* f) {
            return of(f)->real()->pMethods->xDeviceCharacteristics(of(f)->real());
        };
        // Shared memory and memory-mapped pages are for other journal modes and settings than the
        // program's: left out, so that every page goes through the reads and writes above.
        sCurrent->mMethods.iVersion = 1;
        file->base.pMethods = &sCurrent->mMethods;
        return SQLITE_OK;
    }

    static int close(sqlite3_file* f)
    {
        const int rc = of(f)->real()->pMethods->xClose(of(f)->real());
        f->pMethods = nullptr;
        return rc;
    }

    static int write(sqlite3_file* f, const void* data, int n, sqlite3_int64 at)
    {
        if (of(f)->onDisk && sCurrent && sCurrent->mFull) {
            ++sCurrent->mRefused;
            return SQLITE_FULL;
        }
        return of(f)->real()->pMethods->xWrite(of(f)->real(), data, n, at);
    }

    static inline FullDisk* sCurrent = nullptr;
    QByteArray mFolder;
    sqlite3_vfs* mReal = nullptr;
    sqlite3_vfs mVfs{};
    sqlite3_io_methods mMethods{};
    bool mFull = false;
    int mRefused = 0;
};

} // namespace testsupport
