#include "platform/ui/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    ui::Application app(argc, argv);
    // Every handler runs through the guard: an error that reaches the event loop escaped one.
    ui::Application::SetEscapeCheck([](const QString& receiverAndEvent) {
        ADD_FAILURE() << "An error escaped a handler into Qt (" << receiverAndEvent.toStdString() << ")";
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
