// The four worksheets on a filled analysis, painted as the user sees them. With
// TOLMAR_SCREENSHOT_DIR set, each is written there as a PNG to be looked at.

#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "platform/grid/grid.h"
#include "platform/richtext/emptybody.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/objectives_alternatives/frm42alternatives.h"
#include "worksheets/objectives_alternatives/frm43outcomes.h"
#include "worksheets/objectives_alternatives/frm44probabilities.h"
#include "worksheets/objectives_alternatives/frm45fmus.h"

#include <QDir>
#include <QImage>
#include <QListWidget>

using model::OutcomeKind;
namespace {

// A body of one paragraph, as the editor stores it.
QString Body(const QString& text)
{
    return QString(richtext::kEmptyBody).replace(QStringLiteral("\\pard \\par }"),
                                                 QStringLiteral("\\pard ") + text + QStringLiteral("\\par }"));
}

class ScreenshotsTest : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        testsupport::BuildAnalysis(testsupport::kSmallAnalysis);
        const char* names[] = {"Direct attack with dozers and hand crews", "Indirect line along Forest Road 12",
                               "Confine to the wilderness boundary", "Point protection of the Bear Creek homes"};
        int i = 0;
        for (const auto& alt : model::GetAlternatives())
            if (i < 4)
                alt->SetHeading(names[i++]);
        const auto a = model::GetAlternatives().At(0);
        a->SetBody(Body("Build dozer line along the east flank from the Forest Road 12 junction to Bear "
                        "Creek; hand crews hold the west flank on the ridge. Helicopters support the "
                        "crews during the afternoon burning period."));
        a->Outcome(OutcomeKind::Target)->SetDescription(Body("The east flank holds at the dozer line and the fire is "
                                           "contained at the ridge within three days."));
        a->Outcome(OutcomeKind::Target)->SetSuccessRationale("Crews and dozers are on scene; winds ease after Thursday.");
        a->Outcome(OutcomeKind::Fallback)->SetSuccessRationale("The river stops a run to the north in all but the worst weather.");
        a->Outcome(OutcomeKind::Target)->SaveChanges();
        a->Outcome(OutcomeKind::Fallback)->SaveChanges();
        model::SaveAlternatives();
        db().Execute("UPDATE FMZList SET Name = 'North Fork' WHERE Name = 'Unit-1'");
        db().Execute("UPDATE FMZList SET Name = 'Bear Creek' WHERE Name = 'Unit-2'");
        testsupport::ClearModelCaches();
    }
    void TearDown() override
    {
        testsupport::ClearModelCaches();
        DatafileFixture::TearDown();
    }

    void shoot(worksheets::WorksheetForm& form, const QString& name)
    {
        // The room a worksheet has in the main window as the program first places it.
        EXPECT_LE(form.minimumSizeHint().width(), 776) << name.toStdString();
        EXPECT_LE(form.minimumSizeHint().height(), 500) << name.toStdString();
        form.resize(776, 500);
        form.show();
        QApplication::processEvents();
        const QImage image = form.grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), form.size() * image.devicePixelRatio());
        const QString dir = qEnvironmentVariable("TOLMAR_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            EXPECT_TRUE(image.save(QDir(dir).filePath(name + ".png")));
        }
    }
};

TEST_F(ScreenshotsTest, TheFourWorksheetsOnAFilledAnalysis)
{
    {
        worksheets::frm42Alternatives form;
        testsupport::PlaceAsShell(form);
        form.Setup();
        shoot(form, "tab42-alternatives");
    }
    {
        worksheets::frm43Outcomes form;
        testsupport::PlaceAsShell(form);
        form.Setup();
        form.grdOutcomes()->setRow(2);   // A's Target
        shoot(form, "tab43-outcomes");
    }
    {
        worksheets::frm44Probabilities form;
        testsupport::PlaceAsShell(form);
        form.Setup();
        shoot(form, "tab44-probabilities-fallback");
        form.lstAlternatives()->setCurrentRow(2);   // the third keeps its Fallback hidden
        ASSERT_FALSE(form.current()->Outcome(OutcomeKind::Fallback)->bShow());
        shoot(form, "tab44-probabilities-no-fallback");
    }
    {
        worksheets::frm45FMUs form;
        testsupport::PlaceAsShell(form);
        form.Setup();
        shoot(form, "tab45-fmus");
    }
    EXPECT_TRUE(prompter.messages().isEmpty());
}

} // namespace
