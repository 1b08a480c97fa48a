#include "worksheets/common/modaldialog.h"

#include "core/u91trace.h"
#include "platform/ui/guard.h"
#include "platform/ui/scriptedprompter.h"
#include "worksheets/common/worksheetform.h"

#include "mainwindowstub.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class CostDialog : public worksheets::ModalDialog {
public:
    CostDialog() : ModalDialog("frmTestCost") {}
    void Setup() override { ++setups; }
    void SaveChanges() override { ++saves; }
    int setups = 0;
    int saves = 0;
};

// Every way out of the dialog stores the pending edits exactly once.
TEST(ModalDialog, SavesOnceHoweverItIsClosed)
{
    const std::pair<const char*, std::function<void(CostDialog&)>> ways[] = {
        {"Close button", [](CostDialog& d) { QTest::mouseClick(d.cmdClose(), Qt::LeftButton); }},
        {"Escape", [](CostDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close box", [](CostDialog& d) { d.close(); }},
        {"closed twice", [](CostDialog& d) { d.close(); d.reject(); }},
    };
    for (const auto& [what, closeIt] : ways) {
        SCOPED_TRACE(what);
        CostDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog, closeIt = closeIt] {
            EXPECT_EQ(dialog.saves, 0);
            closeIt(dialog);
        });
        dialog.ShowModal();
        EXPECT_EQ(dialog.setups, 1);
        EXPECT_EQ(dialog.saves, 1);
        EXPECT_TRUE(dialog.unloaded());
        EXPECT_FALSE(dialog.isVisible());
    }
}

// A save that throws keeps the dialog open, so closing again tries the save again. Closed by
// Qt's own handlers (Escape, the close box) the error is shown there and goes no further; closed
// by the program, it comes out of the call.
TEST(ModalDialog, AFailedSaveKeepsTheDialogOpen)
{
    struct Failing : CostDialog {
        void SaveChanges() override
        {
            if (++saves <= 3)
                throw std::runtime_error("disk full");
        }
    } dialog;
    ui::ScriptedPrompter prompter;
    dialog.show();
    EXPECT_THROW(ui::CallThroughQt([&] { dialog.accept(); }), std::runtime_error);
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_FALSE(dialog.unloaded());
    EXPECT_TRUE(dialog.isVisible());

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages()[1].text, "An error occurred.\r\ndisk full");
    EXPECT_FALSE(dialog.unloaded());

    dialog.accept();
    EXPECT_EQ(dialog.saves, 4);
    EXPECT_TRUE(dialog.unloaded());
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ModalDialog, OpensCentredOverTheMainWindow)
{
    MainWindowStub main;
    worksheets::SetMainWindowHooks(&main);
    main.window.setGeometry(100, 80, 900, 700);
    main.window.show();
    {
        CostDialog dialog;
        dialog.resize(300, 200);
        dialog.show();
        const QRect outer = main.window.frameGeometry();
        const QRect d = dialog.frameGeometry();
        EXPECT_NEAR(d.center().x(), outer.center().x(), 2);
        EXPECT_NEAR(d.center().y(), outer.center().y(), 2);
        dialog.accept();
    }
    worksheets::SetMainWindowHooks(nullptr);
}

} // namespace
