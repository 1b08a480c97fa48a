#include "platform/ui/userinputblock.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QPushButton>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A window with one button, as the program's main window stands behind a long run.
struct Window : QWidget {
    Window()
    {
        button = new QPushButton(QStringLiteral("Open"), this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        show();
    }
    QPushButton* button;
    int clicks = 0;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

void PressCloseBox(QWidget& window)
{
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QApplication::sendEvent(window.windowHandle(), &close);
}

} // namespace

TEST(UserInputBlock, TheUsersClicksKeysAndCloseBoxAreDroppedWhileTimersAndThePaintGoOn)
{
    Window window;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    {
        const ui::UserInputBlock block;
        QTest::mouseClick(window.button, Qt::LeftButton);
        window.button->setFocus();
        QTest::keyClick(window.button, Qt::Key_Space);
        PressCloseBox(window);
        bool timerRan = false;
        QTimer::singleShot(0, [&] { timerRan = true; });
        const int paints = window.paints;
        window.update();
        ui::ProcessEventsWithoutInput();
        EXPECT_TRUE(timerRan);
        EXPECT_GT(window.paints, paints);
        EXPECT_EQ(window.clicks, 0);
        EXPECT_TRUE(window.isVisible());
    }
    // Dropped, not kept for later: the run over, nothing of it arrives, and the hand works again.
    QApplication::processEvents();
    EXPECT_EQ(window.clicks, 0);
    QTest::mouseClick(window.button, Qt::LeftButton);
    EXPECT_EQ(window.clicks, 1);
    window.close();
}

// A message that the run puts up (the printer is missing, the file cannot be written) takes its
// answer, or the run could not go on.
TEST(UserInputBlock, AModalWindowPutUpDuringTheBlockTakesItsAnswer)
{
    Window window;
    const ui::UserInputBlock block;
    QDialog message;
    auto* ok = new QPushButton(QStringLiteral("OK"), &message);
    QObject::connect(ok, &QPushButton::clicked, &message, &QDialog::accept);
    QTimer::singleShot(0, &message, [&] {
        QTest::mouseClick(window.button, Qt::LeftButton);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QTimer::singleShot(5000, &message, &QDialog::reject);   // the answer never arrived
    EXPECT_EQ(message.exec(), QDialog::Accepted);
    EXPECT_EQ(window.clicks, 0);
}
