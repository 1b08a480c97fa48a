// An error that a worksheet's own handler meets must not end the program: the guard it is
// connected through logs and shows it, and the worksheet stays with what the user typed.

#include "shellfixture.h"

#include "core/u91trace.h"
#include "platform/ui/guard.h"
#include "shell/a1tolmar.h"

#include <QPushButton>
#include <QTest>

#include <stdexcept>

using namespace shelltest;

namespace {

// A worksheet with a box and a button whose handler fails as a data-layer call can.
class FailingForm : public worksheets::WorksheetForm {
public:
    explicit FailingForm(QWidget* parent) : WorksheetForm(QStringLiteral("frm14NVCTable"), parent)
    {
        box = new QLineEdit(this);
        button = new QPushButton(QStringLiteral("Add"), this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(box);
        layout->addWidget(button);
        layout->addStretch();
        connect(button, &QPushButton::clicked, this,
                ui::Guarded([] { throw std::runtime_error("The NVCPerAcre table cannot be read."); }));
    }
    void Setup() override { BeginSetup(QStringLiteral("frm14NVCTable.Setup")); }
    void SaveChanges() override { Log() << "Save " + box->text(); }

    QLineEdit* box;
    QPushButton* button;
};

QString ErrorLog()
{
    QFile f(core::JoinPath(core::LogFolder(), QStringLiteral("ERROR.LOG")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST_F(ShellTest, AWorksheetHandlerThatThrowsIsReportedAndTheWorksheetKeepsItsEdit)
{
    worksheets::RegisterWorksheetForm(QStringLiteral("tab14"), [](QWidget* parent) { return new FailingForm(parent); });
    startWithFile();
    window->mnuTab_Click(4);
    auto* page = dynamic_cast<FailingForm*>(shell::CurrentWorksheetForm());
    ASSERT_NE(page, nullptr);
    QApplication::processEvents();

    page->box->setFocus();
    QTest::keyClicks(page->box, QStringLiteral("Dry Creek"));
    QTest::mouseClick(page->button, Qt::LeftButton);
    QApplication::processEvents();

    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, QStringLiteral("An error occurred.\r\nThe NVCPerAcre table cannot be read."));
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ErrorLog().contains(QStringLiteral("The NVCPerAcre table cannot be read."))) << ErrorLog().toStdString();

    // The program is still up on the same worksheet, the typed text in place, and leaving the
    // worksheet saves it.
    EXPECT_EQ(shell::CurrentWorksheetForm(), page);
    EXPECT_EQ(id(), QStringLiteral("tab14"));
    EXPECT_EQ(page->box->text(), QStringLiteral("Dry Creek"));
    Log().clear();
    window->mnuTab_Click(5);
    EXPECT_EQ(Log().value(0), QStringLiteral("Save Dry Creek"));
    EXPECT_EQ(id(), QStringLiteral("tab15"));
    EXPECT_EQ(prompter.messages().size(), 1);
}
