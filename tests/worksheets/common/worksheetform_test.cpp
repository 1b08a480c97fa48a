#include "worksheets/common/worksheetform.h"

#include "core/uimode.h"
#include "worksheets/common/modaldialog.h"

#include "mainwindowstub.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(SwitchShownObject, SavesFirstThenDisplaysWhileBusy)
{
    QStringList steps;
    worksheets::SwitchShownObject([&] { steps << (core::IsIdle() ? "save idle" : "save busy"); },
                                  [&] { steps << (core::IsIdle() ? "display idle" : "display busy"); });
    EXPECT_EQ(steps, QStringList({"save idle", "display busy"}));
    EXPECT_TRUE(core::IsIdle());
}

TEST(SwitchShownObject, AFailedSaveShowsNothingElse)
{
    bool displayed = false;
    EXPECT_THROW(worksheets::SwitchShownObject([] { throw std::runtime_error("locked"); }, [&] { displayed = true; }),
                 std::runtime_error);
    EXPECT_FALSE(displayed);
    EXPECT_TRUE(core::IsIdle());
}

class CountingDialog : public worksheets::ModalDialog {
public:
    CountingDialog() : ModalDialog("frmTestSwitch") {}
    void SaveChanges() override { ++saves; }
    int saves = 0;
};

// A page whose fill of the next object fails part way shows parts of two objects: it goes
// unsaved, the worksheet through the main window, a running dialog closed (and the worksheet
// under it kept). A save that fails shows nothing else, so it keeps the page.
TEST(SwitchShownObject, APageWhoseFillFailsGoesUnsaved)
{
    struct Case {
        const char* what;
        bool saveFails;
        bool fillFails;
        bool inDialog;
        int drops;            // of the worksheet
        bool dialogOpen;      // after the switch
    };
    const Case cases[] = {
        {"shown", false, false, false, 0, false},
        {"save fails", true, false, false, 0, false},
        {"fill fails", false, true, false, 1, false},
        {"shown in a dialog", false, false, true, 0, true},
        {"save fails in a dialog", true, false, true, 0, true},
        {"fill fails in a dialog", false, true, true, 0, false},
    };
    MainWindowStub main;
    worksheets::SetMainWindowHooks(&main);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        main.drops = 0;
        auto switchOnce = [&c] {
            const auto save = [&c] {
                if (c.saveFails)
                    throw std::runtime_error("locked");
            };
            const auto fill = [&c] {
                if (c.fillFails)
                    throw std::runtime_error("no such table");
            };
            if (c.saveFails || c.fillFails)
                EXPECT_THROW(worksheets::SwitchShownObject(save, fill), std::runtime_error);
            else
                EXPECT_NO_THROW(worksheets::SwitchShownObject(save, fill));
        };
        if (c.inDialog) {
            CountingDialog dialog;
            QTimer::singleShot(0, &dialog, [&] {
                switchOnce();
                EXPECT_EQ(dialog.isVisible(), c.dialogOpen);
                EXPECT_EQ(dialog.unloaded(), !c.dialogOpen);
                EXPECT_EQ(dialog.saves, 0) << "a dialog dropped stores nothing";
                if (dialog.isVisible())
                    dialog.reject();
            });
            dialog.ShowModal();
        } else {
            switchOnce();
        }
        EXPECT_EQ(main.drops, c.drops);
        EXPECT_TRUE(core::IsIdle());
    }
    worksheets::SetMainWindowHooks(nullptr);
}

// A form whose box finishes its edit when the form goes: the handler must not run on the
// part of the form already gone.
class FocusedBoxForm : public worksheets::WorksheetForm {
public:
    explicit FocusedBoxForm(int& lateCalls) : WorksheetForm("frmTest"), mLateCalls(lateCalls)
    {
        box = new QLineEdit(this);
        connect(box, &QLineEdit::editingFinished, this, [this] {
            if (mGone)
                ++mLateCalls;
        });
    }
    ~FocusedBoxForm() override { mGone = true; }
    void Setup() override {}
    QLineEdit* box;

private:
    int& mLateCalls;
    bool mGone = false;
};

TEST(WorksheetForm, ChildrenSpeakToNoOneOnceTheFormIsGone)
{
    int lateCalls = 0;
    {
        FocusedBoxForm form(lateCalls);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.box->setFocus();
        ASSERT_TRUE(form.box->hasFocus());
        QTest::keyClicks(form.box, "12");   // an edit not yet finished
    }
    EXPECT_EQ(lateCalls, 0);
}

} // namespace

