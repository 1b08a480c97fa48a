#include "worksheets/common/worksheetform.h"

#include "core/uimode.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

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

