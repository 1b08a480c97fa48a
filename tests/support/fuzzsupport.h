#pragma once

// Shared by the libFuzzer targets: the Qt application they need (offscreen), a user who agrees
// to every question so that the longest paths (conversions, edition changes) are taken, and
// the bytes of one input written to a file of its own.

#include "platform/ui/prompter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace fuzzsupport {

template <typename App>
void StartApplication(const char* name)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(name), nullptr};
    static App app(argc, argv);
}

class AgreeingPrompter : public ui::Prompter {
public:
    AgreeingPrompter() { ui::setPrompter(this); }
    ~AgreeingPrompter() override { ui::setPrompter(nullptr); }
    ui::Answer ask(const ui::Message& message) override
    {
        ++mAsked;
        switch (message.buttons) {
        case ui::Buttons::YesNo:
        case ui::Buttons::YesNoCancel: return ui::Answer::Yes;
        case ui::Buttons::RetryCancel: return ui::Answer::Cancel;   // a retry could go on for ever
        case ui::Buttons::AbortRetryIgnore: return ui::Answer::Abort;
        default: return ui::Answer::OK;
        }
    }
    QString chooseFile(const ui::FileDialog&) override { return QString(); }
    int asked() const { return mAsked; }

private:
    int mAsked = 0;
};

// A file of the one folder the whole run works in.
inline QString FuzzPath(const QString& fileName)
{
    static QTemporaryDir* dir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/tolmarfuzz-XXXXXX"));
    return dir->filePath(fileName);
}

// Each input replaces the file before it.
inline QString WriteInput(const QString& fileName, const uint8_t* data, size_t size)
{
    const QString path = FuzzPath(fileName);
    // Whatever the last input left beside it (a journal) must not become part of this one.
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    f.close();
    return path;
}

// Whether the file still holds exactly the bytes of the input.
inline bool InputIs(const QString& path, const uint8_t* data, size_t size)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) &&
           f.readAll() == QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace fuzzsupport
