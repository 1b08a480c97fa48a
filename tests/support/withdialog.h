#pragma once

// A modal dialog worked while it runs: the button that opens it is clicked, the work is done on
// the dialog once it is up, and the dialog is closed with its Close button; returns once the
// dialog is gone. A dialog that does not open is a test failure, and whatever else opened
// modally is closed so that the test goes on.

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace testsupport {

template <class Dialog> void WithDialog(QAbstractButton* opener, const std::function<void(Dialog&)>& work)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the dialog did not open";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        ran = true;
        work(*dialog);
        QTest::mouseClick(dialog->cmdClose(), Qt::LeftButton);
    });
    QTest::mouseClick(opener, Qt::LeftButton);
    EXPECT_TRUE(ran);
}

} // namespace testsupport
