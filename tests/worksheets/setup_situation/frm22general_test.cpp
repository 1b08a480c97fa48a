#include "worksheets/setup_situation/frm22general.h"

#include "core/g0items.h"
#include "core/g2situation.h"
#include "core/uimode.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/setup_situation/frm23situation.h"
#include "worksheets/setup_situation/frm24valuesatrisk.h"
#include "worksheets/setup_situation/registerforms.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <memory>

using worksheets::frm22General;
using Box = worksheets::frm22General::Box;

namespace {

class GeneralTest : public WorksheetFixture<frm22General> {
protected:
    // Items as an earlier session left them in the file.
    void storeItems(const QList<std::pair<int, QString>>& bodies)
    {
        for (const auto& [key, body] : bodies)
            core::GetSituationItem(key)->SetBody(body);
        core::SaveSituation();
        core::ClearItems();
    }
    // As the shell leaves the worksheet: every changed item stored, the form gone.
    void leave()
    {
        core::SaveSituation();
        form.reset();
    }
    QString stored(int key) { return WorksheetFixture::stored("Items", key, "Body").toString(); }
    QLineEdit* box(Box b) const { return form->box(b); }
    QWidget* focused() const { return QApplication::focusWidget(); }
};

TEST_F(GeneralTest, TheSituationWorksheetsAreTheRegisteredForms)
{
    worksheets::setup_situation::RegisterForms();
    const std::pair<const char*, std::function<bool(worksheets::WorksheetForm*)>> cases[] = {
        {"tab22", [](auto* f) { return dynamic_cast<frm22General*>(f) != nullptr; }},
        {"tab23", [](auto* f) { return dynamic_cast<worksheets::frm23Situation*>(f) != nullptr; }},
        {"tab24", [](auto* f) { return dynamic_cast<worksheets::frm24ValuesAtRisk*>(f) != nullptr; }},
    };
    for (const auto& [id, isIts] : cases) {
        std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm(id);
        ASSERT_TRUE(isIts(made.get())) << id;
        made->Setup();
        EXPECT_EQ(worksheets::gCurrentWorksheetID, id);
    }
}

TEST_F(GeneralTest, FirstVisitStampsTheDateAndTimeOfTheAnalysisLaterVisitsShowThem)
{
    const QDateTime before = QDateTime::currentDateTime();
    open();
    const QDateTime after = QDateTime::currentDateTime();
    const QString date = box(Box::CurrentDate)->text();
    const QString time = box(Box::CurrentTime)->text();
    EXPECT_TRUE(date == before.toString("MM/dd/yyyy") || date == after.toString("MM/dd/yyyy")) << date.toStdString();
    EXPECT_TRUE(time == before.toString("HHmm") || time == after.toString("HHmm")) << time.toStdString();
    EXPECT_EQ(time.size(), 4);
    // The start of the fire is the user's to give.
    EXPECT_EQ(box(Box::StartDate)->text(), "");
    EXPECT_EQ(box(Box::StartTime)->text(), "");
    EXPECT_EQ(stored(222), "<no row>") << "stamped in the cache, stored when the worksheet is left";
    leave();
    EXPECT_EQ(stored(222), date);
    EXPECT_EQ(stored(223), time);

    // Another day: what the file holds is shown as it is, and nothing is written.
    storeItems({{222, "07/01/2025"}, {223, "0815"}});
    open();
    EXPECT_EQ(box(Box::CurrentDate)->text(), "07/01/2025");
    EXPECT_EQ(box(Box::CurrentTime)->text(), "0815");
    EXPECT_FALSE(core::GetSituationItem(222)->Changed());
    EXPECT_FALSE(core::GetSituationItem(223)->Changed());
}

TEST_F(GeneralTest, EachBoxShowsAndEditsItsItemAsTyped)
{
    storeItems({{221, "17"}, {11, "Cedar Ridge"}, {52, "CA-SQF-001234"}, {61, "07/12/2026"}, {62, "1420"},
                {222, "07/14/2026"}, {223, "0600"}, {53, "USFS, CAL FIRE"}, {55, "South Ops"},
                {54, "Sequoia NF"}, {217, "P5K2LM"}, {57, "12,500"}});
    open();
    for (int b = 0; b < Box::BoxCount; ++b) {
        EXPECT_EQ(box(Box(b))->text(), core::GetSituationItem(frm22General::ItemKeyOf(Box(b)))->Body()) << b;
        EXPECT_FALSE(core::GetSituationItem(frm22General::ItemKeyOf(Box(b)))->Changed()) << "filling writes nothing";
    }

    // Typed text is stored as typed: no date, time or number is checked or reformatted.
    const std::pair<Box, const char*> typed[] = {
        {Box::Tolmar, "18"}, {Box::Name, "Cedar Ridge Complex"}, {Box::StartDate, "July 12"},
        {Box::StartTime, "2:20 pm"}, {Box::FireSize, "13,000 ac"}, {Box::Code, "P5K2LM (FS)"}};
    for (const auto& [b, text] : typed) {
        box(b)->setFocus();
        box(b)->selectAll();
        QTest::keyClicks(box(b), text);
        EXPECT_EQ(core::GetSituationItem(frm22General::ItemKeyOf(b))->Body(), text);
    }
    leave();
    for (const auto& [b, text] : typed)
        EXPECT_EQ(stored(frm22General::ItemKeyOf(b)), text);
    EXPECT_EQ(stored(53), "USFS, CAL FIRE");
}

// Enter and Down move down the column; in a date box Right moves to its time box and Down
// does nothing; nothing moves up, and nothing moves out of the size box.
TEST_F(GeneralTest, KeyMoves)
{
    storeItems({{61, "07/12/2026"}, {222, "07/14/2026"}, {223, "0600"}});
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const struct {
        Box from;
        Qt::Key key;
        Box to;
    } moves[] = {
        {Box::Tolmar, Qt::Key_Return, Box::Name},         {Box::Name, Qt::Key_Down, Box::Incident},
        {Box::Incident, Qt::Key_Enter, Box::StartDate},   {Box::StartDate, Qt::Key_Right, Box::StartTime},
        {Box::StartDate, Qt::Key_Return, Box::StartTime}, {Box::StartDate, Qt::Key_Down, Box::StartDate},
        {Box::StartTime, Qt::Key_Down, Box::CurrentDate}, {Box::CurrentDate, Qt::Key_Right, Box::CurrentTime},
        {Box::CurrentDate, Qt::Key_Down, Box::CurrentDate}, {Box::CurrentTime, Qt::Key_Return, Box::Jurisdiction},
        {Box::Jurisdiction, Qt::Key_Down, Box::Area},     {Box::Area, Qt::Key_Return, Box::Unit},
        {Box::Unit, Qt::Key_Down, Box::Code},             {Box::Code, Qt::Key_Return, Box::FireSize},
        {Box::FireSize, Qt::Key_Return, Box::FireSize},   {Box::FireSize, Qt::Key_Down, Box::FireSize},
        {Box::Name, Qt::Key_Up, Box::Name},               {Box::Name, Qt::Key_Right, Box::Name},
    };
    for (const auto& m : moves) {
        box(m.from)->setFocus();
        box(m.from)->setCursorPosition(1);   // inside the text: a date box still moves on Right
        QTest::keyClick(box(m.from), m.key);
        EXPECT_EQ(focused(), box(m.to)) << "from box " << m.from << " key " << m.key;
    }
    // The swallowed Enter typed nothing into the box it left.
    EXPECT_EQ(box(Box::StartDate)->text(), "07/12/2026");
}

TEST_F(GeneralTest, TheNumberAndTimeBoxesSelectTheirTextOnEntry)
{
    storeItems({{221, "17"}, {11, "Cedar"}, {62, "1420"}, {222, "07/14/2026"}, {223, "0600"}});
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    for (Box b : {Box::Tolmar, Box::StartTime, Box::CurrentTime}) {
        box(b)->setFocus(Qt::TabFocusReason);
        QTest::qWait(1);
        EXPECT_EQ(box(b)->selectedText(), box(b)->text()) << b;
    }
    // Typing over the selection replaces the whole time.
    QTest::keyClicks(box(Box::CurrentTime), "0930");
    EXPECT_EQ(core::GetSituationItem(223)->Body(), "0930");
}

// Typing stops at a box's length, and the user sees that it did: a note at the box says how many
// characters fit, as the last one goes in, as a further key is refused and as a paste is cut.
TEST_F(GeneralTest, ABoxThatIsFullSaysSo)
{
    open();
    form->show();
    QToolTip::hideText();
    box(Box::Tolmar)->setFocus();
    QTest::keyClicks(box(Box::Tolmar), "2026");
    EXPECT_FALSE(QToolTip::isVisible()) << "room is left";
    QTest::keyClicks(box(Box::Tolmar), "-014");
    EXPECT_EQ(box(Box::Tolmar)->text(), "2026-");
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "At most 5 characters fit here.");
    EXPECT_EQ(core::GetSituationItem(221)->Body(), "2026-") << "the length is kept";

    QToolTip::hideText();
    QGuiApplication::clipboard()->setText(QString(60, QLatin1Char('J')));
    box(Box::Jurisdiction)->setFocus();
    QTest::keyClick(box(Box::Jurisdiction), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box(Box::Jurisdiction)->text(), QString(50, QLatin1Char('J')));
    EXPECT_EQ(QToolTip::text(), "At most 50 characters fit here.");

    // A stored value as long as its box says nothing when it is shown.
    QToolTip::hideText();
    leave();
    open();
    EXPECT_FALSE(QToolTip::isVisible());
}

// A file written elsewhere may hold a value longer than its box: shown whole, an edit at its end
// keeps the rest, and it cannot grow; a shorter value shown after it has the box's own length.
TEST_F(GeneralTest, AStoredValueLongerThanItsBoxIsShownAndEditedWhole)
{
    const QString longName = QString(40, QLatin1Char('N')) + QString(30, QLatin1Char('E'));
    storeItems({{11, longName}});
    open();
    EXPECT_EQ(box(Box::Name)->text(), longName);
    box(Box::Name)->setFocus();
    box(Box::Name)->end(false);
    QTest::keyClick(box(Box::Name), Qt::Key_Backspace);
    QTest::keyClicks(box(Box::Name), "XY");
    EXPECT_EQ(core::GetSituationItem(11)->Body(), longName.chopped(1) + "X");
    leave();
    EXPECT_EQ(stored(11), longName.chopped(1) + "X");

    storeItems({{11, "Cedar"}});
    open();
    QTest::keyClicks(box(Box::Name), QString(60, QLatin1Char('W')));
    EXPECT_EQ(core::GetSituationItem(11)->Body().size(), 50);
}

// Long, pasted, multi-line and foreign text: the box keeps what fits and stores exactly that.
TEST_F(GeneralTest, HostileTextIsCutToTheBoxAndStored)
{
    open();
    box(Box::Name)->setFocus();
    QTest::keyClicks(box(Box::Name), QString(70, QLatin1Char('W')));
    EXPECT_EQ(core::GetSituationItem(11)->Body(), QString(50, QLatin1Char('W')));

    const QString foreign = QString::fromUtf8("Cañon \"Fire\" {\\par} \t 火 🔥");
    QGuiApplication::clipboard()->setText(foreign + "\r\nsecond line");
    box(Box::Incident)->setFocus();
    box(Box::Incident)->paste();
    const QString pasted = box(Box::Incident)->text();
    EXPECT_TRUE(pasted.startsWith(QString::fromUtf8("Cañon \"Fire\" {\\par}"))) << pasted.toStdString();
    EXPECT_LE(pasted.size(), 40);
    EXPECT_EQ(core::GetSituationItem(52)->Body(), pasted);

    box(Box::Tolmar)->setFocus();
    QTest::keyClicks(box(Box::Tolmar), "-1e999x");
    EXPECT_EQ(core::GetSituationItem(221)->Body(), "-1e99");
    leave();
    core::ClearItems();
    open();
    EXPECT_EQ(box(Box::Name)->text(), QString(50, QLatin1Char('W')));
    EXPECT_EQ(box(Box::Incident)->text(), pasted);
    EXPECT_EQ(box(Box::Tolmar)->text(), "-1e99");
}

} // namespace
