// The walk's screen: 1280 x 1024 at 96 dots per inch, the one a fire manager's desk has, where
// the program opens in its placed window size and may be maximized. Offscreen unless another
// platform was asked for (under Xvfb, to watch).

#include "platform/ui/application.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QString config;
    if (platform.isEmpty() || platform == "offscreen") {
        config = QDir::temp().filePath(QStringLiteral("tolmar-walk-screen-%1.json").arg(QCoreApplication::applicationPid()));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 2;
        file.write(R"({"synchronousWindowSystemEvents": false, "windowFrameMargins": true, "screens": [
            {"name": "Desk", "x": 0, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    }
    ui::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (!config.isEmpty())
        QFile::remove(config);
    return result;
}
