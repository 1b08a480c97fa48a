#pragma once

// The program's main window on a small analysis built from the template, with every worksheet
// form registered; a worksheet of the current section is shown as a user shows it, by the
// Worksheet menu.
//
//   class MyTest : public MainWindowFixture {};
//   TEST_F(MyTest, Something) { auto* nvc = Show<worksheets::frm14NVCTable>(4); ... }

#include "support/analysis_builder.h"

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm0_tolmar.h"
#include "shell/worksheetforms.h"
#include "worksheets/common/worksheetform.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace testsupport {

// The window gone, the file closed and the worksheet state as a new program has it.
inline void CloseMainWindow(std::unique_ptr<shell::frm0_Tolmar>& window)
{
    window.reset();
    if (core::gFileOpen())
        core::CloseDatafile();
    worksheets::gCurrentWorksheetID.clear();
    worksheets::gCurrentSection = 1;
}

} // namespace testsupport

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("Cedar.tlm");
        QString error;
        ASSERT_TRUE(testsupport::CreateAnalysisFile(core::JoinPath(core::AppPath(), "TLM.new"), path,
                                                    testsupport::kSmallAnalysis, &error))
            << error.toStdString();
        shell::RegisterWorksheetForms();
        window = std::make_unique<shell::frm0_Tolmar>();
        window->resize(1000, 740);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->Startup(path);
        ASSERT_TRUE(core::gFileOpen());
    }

    void TearDown() override { testsupport::CloseMainWindow(window); }

    template <class Form> Form* Show(int worksheet)
    {
        window->mnuTab_Click(worksheet);
        auto* form = dynamic_cast<Form*>(shell::CurrentWorksheetForm());
        EXPECT_NE(form, nullptr) << "worksheet " << worksheet;
        return form;
    }

    QTemporaryDir dir;
    QString path;
    ui::ScriptedPrompter prompter;
    std::unique_ptr<shell::frm0_Tolmar> window;
};
