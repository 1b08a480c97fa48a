#include "core/g0items.h"
#include "core/g13rmas.h"
#include "platform/richtext/emptybody.h"
#include "support/keeppicture.h"
#include "support/worksheet_fixture.h"
#include "worksheets/objectives_alternatives/frm32safetyissues.h"
#include "worksheets/objectives_alternatives/frm33objectives.h"
#include "worksheets/objectives_alternatives/frm34prioritize.h"

#include <QComboBox>

namespace {

// The three worksheets on a filled analysis, as a user first sees them; with TOLMAR_KEEP_PNG
// set to a folder, each is kept there as a picture to look at.
class ObjectivesScreens : public WorksheetFixture<> {
protected:
    ObjectivesScreens() : WorksheetFixture({.size = {1100, 650}, .saveAllOrNothing = true}) {}
    void SetUp() override
    {
        WorksheetFixture::SetUp();
        testsupport::BuildAnalysis(testsupport::kSmallAnalysis);
        const QString body = QString(richtext::kEmptyBody)
                                 .replace("\\pard \\par }", "\\pard Maintain old-growth character of the reserve.\\par "
                                                            "Avoid dozer lines on slopes over 35 percent.\\par }");
        core::NewRMA("Late-successional reserve", body);
        core::SaveRMAs();
        core::ClearItems();
    }
    void keep(const QString& name) { testsupport::KeepPicture(*form, name); }
};

TEST_F(ObjectivesScreens, TheThreeWorksheetsOnAFilledAnalysis)
{
    auto& safety = open<worksheets::frm32SafetyIssues>();
    EXPECT_EQ(safety.Grid1()->rows(), 1 + 1 + testsupport::kSmallAnalysis.safetyIssues);
    keep("tab32.png");

    auto& objectives = open<worksheets::frm33Objectives>();
    EXPECT_EQ(objectives.Grid1()->rows(), 1 + 5 + testsupport::kSmallAnalysis.objectives);
    objectives.cboRMAs()->setCurrentIndex(0);
    QTest::mouseClick(objectives.Grid1()->viewport(), Qt::LeftButton, {}, cellPoint(*objectives.Grid1(), 2, 0));
    keep("tab33.png");

    auto& prioritize = open<worksheets::frm34Prioritize>();
    EXPECT_EQ(prioritize.grdSafety()->rows(), 1 + 1 + testsupport::kSmallAnalysis.safetyIssues);
    keep("tab34.png");

    // On a small screen every control keeps a usable size.
    for (const QString id : {"tab33", "tab34"}) {
        if (id == "tab33")
            open<worksheets::frm33Objectives>();
        else
            open<worksheets::frm34Prioritize>();
        form->resize(800, 480);
        QApplication::processEvents();
        EXPECT_LE(form->minimumSizeHint().width(), 800) << id.toStdString();
        keep(id + "-small.png");
    }
}

} // namespace
