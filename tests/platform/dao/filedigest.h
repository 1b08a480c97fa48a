#pragma once

// A file's contents in one hash: to tell that nothing was written into it.

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>

namespace daotest {

inline QByteArray Digest(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace daotest
