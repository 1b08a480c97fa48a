#include "worksheets/setup_situation/frm13rmas.h"

#include "core/g0items.h"
#include "core/g13rmas.h"
#include "core/uimode.h"
#include "platform/richtext/emptybody.h"
#include "platform/richtext/richtexteditor.h"
#include "support/datafile_fixture.h"
#include "support/keeppicture.h"
#include "support/placedarea.h"
#include "support/placedform.h"
#include "support/wholeentries.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/setup_situation/registerforms.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <memory>

using worksheets::frm13RMAs;

namespace {

class RMAsTest : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        core::ClearItems();
    }
    void TearDown() override
    {
        form.reset();
        core::ClearItems();
        DatafileFixture::TearDown();
    }

    // An area written to the file as the import or an earlier session left it.
    int storedRMA(const QString& heading, const QString& body)
    {
        core::c0Item* item = core::NewRMA(heading, body);
        core::SaveRMAs();
        const int key = item->ItemKey();
        core::ClearItems();
        return key;
    }

    // The worksheet as the shell shows it.
    frm13RMAs& open()
    {
        form = testsupport::NewForm<frm13RMAs>();
        form->resize(800, 500);
        form->Setup();
        form->show();
        QApplication::setActiveWindow(form.get());
        return *form;
    }
    // The worksheet as the shell leaves it: the areas saved, the form gone.
    void leave()
    {
        core::SaveRMAs();
        form.reset();
    }

    QVariant stored(int key, const QString& field)
    {
        auto rs = db().OpenTable("Items");
        rs->Seek(key);
        return rs->NoMatch() ? QVariant(QStringLiteral("<no row>")) : rs->Field(field);
    }
    QStringList listTexts() const
    {
        QStringList texts;
        for (int i = 0; i < form->lstRMAs()->count(); ++i)
            texts << form->lstRMAs()->item(i)->text();
        return texts;
    }
    void expectEmptyState()
    {
        EXPECT_EQ(form->lstRMAs()->count(), 0);
        EXPECT_EQ(form->topic()->nameBox()->text(), "");
        EXPECT_FALSE(form->topic()->nameBox()->isEnabled());
        EXPECT_FALSE(form->topic()->bodyEditor()->isEnabled());
        EXPECT_EQ(form->topic()->bodyEditor()->plainText(), "");
        EXPECT_FALSE(form->cmdDelete()->isEnabled());
        EXPECT_EQ(form->current(), nullptr);
    }

    std::unique_ptr<frm13RMAs> form;
};

TEST_F(RMAsTest, IsTheRegisteredFormOfItsWorksheet)
{
    worksheets::setup_situation::RegisterForms();
    std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm("tab13");
    ASSERT_NE(dynamic_cast<frm13RMAs*>(made.get()), nullptr);
    made->Setup();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab13");
}

TEST_F(RMAsTest, EmptyFileShowsTheEmptyStateAndAddPutsTheCursorInTheName)
{
    open();
    expectEmptyState();

    QTest::mouseClick(form->cmdAdd(), Qt::LeftButton);
    ASSERT_NE(form->current(), nullptr);
    const int key = form->current()->ItemKey();
    EXPECT_EQ(listTexts(), QStringList{"New RMA"});
    EXPECT_EQ(form->lstRMAs()->currentRow(), 0);
    EXPECT_EQ(form->topic()->nameBox()->text(), "New RMA");
    EXPECT_TRUE(form->topic()->nameBox()->isEnabled());
    EXPECT_TRUE(form->topic()->bodyEditor()->isEnabled());
    EXPECT_TRUE(form->cmdDelete()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), form->topic()->nameBox());
    EXPECT_EQ(form->topic()->nameBox()->selectedText(), "New RMA");

    // Written at once, under the areas' group, with the name in Heading.
    EXPECT_EQ(stored(key, "Heading").toString(), "New RMA");
    EXPECT_EQ(stored(key, "Body").toString(), richtext::kEmptyBody);
    EXPECT_EQ(stored(key, "ParentKey").toInt(), core::kRMAGroupKey);
    EXPECT_EQ(stored(key, "ItemName").toString(), "");

    // Typing over the selected name replaces it; the list follows each key.
    QTest::keyClicks(form->topic()->nameBox(), "Wilderness");
    EXPECT_EQ(listTexts(), QStringList{"Wilderness"});
    EXPECT_EQ(stored(key, "Heading").toString(), "New RMA");
    leave();
    EXPECT_EQ(stored(key, "Heading").toString(), "Wilderness");
}

// Names as a Prep file brings them, long and alike but for their ends: in the placed window
// each entry shows its whole name on as many lines as it needs, below the one before it, and
// an entry renamed to a long name grows with it.
TEST_F(RMAsTest, LongAreaNamesShowWholeInThePlacedWindow)
{
    const QString north = "Upper Kestrel Creek Municipal Watershed and Spotted Owl Nesting Habitat, North Half";
    const QString south = "Upper Kestrel Creek Municipal Watershed and Spotted Owl Nesting Habitat, South Half";
    storedRMA(north, richtext::kEmptyBody);
    storedRMA(south, richtext::kEmptyBody);
    storedRMA("Grazing Allotments", richtext::kEmptyBody);
    open();
    testsupport::PlacedWorksheetArea placed(*form);
    QListWidget* list = form->lstRMAs();
    ASSERT_EQ(listTexts(), QStringList({north, south, "Grazing Allotments"}));
    ASSERT_GT(list->fontMetrics().horizontalAdvance(north), list->viewport()->width());
    testsupport::ExpectEntriesShowWhole(list);
    testsupport::KeepPicture(placed.host(), "tab13_placed_long.png");

    list->setCurrentRow(2);
    form->topic()->nameBox()->selectAll();
    QTest::keyClicks(form->topic()->nameBox(), "Grazing Allotments of the Lower Kestrel Valley and Juniper Flats");
    EXPECT_EQ(list->item(2)->text(), "Grazing Allotments of the Lower Kestrel Valley and Juniper Flats");
    testsupport::ExpectEntriesShowWhole(list);
}

TEST_F(RMAsTest, RenameAndBodyEditsAreStoredWhenAnotherAreaIsChosen)
{
    const int a = storedRMA("Riparian", richtext::kEmptyBody);
    const int b = storedRMA("Grazing", richtext::kEmptyBody);
    open();
    EXPECT_EQ(listTexts(), QStringList({"Riparian", "Grazing"}));
    EXPECT_EQ(form->current()->ItemKey(), a);

    form->topic()->nameBox()->setFocus();
    form->topic()->nameBox()->selectAll();
    QTest::keyClicks(form->topic()->nameBox(), "Stream corridors");
    form->topic()->bodyEditor()->textEdit()->setFocus();
    QTest::keyClicks(form->topic()->bodyEditor()->textEdit(), "No dozer lines within 100 ft");
    EXPECT_EQ(listTexts(), QStringList({"Stream corridors", "Grazing"}));

    form->lstRMAs()->setCurrentRow(1);   // the user picks the other area
    EXPECT_EQ(form->current()->ItemKey(), b);
    EXPECT_EQ(form->topic()->nameBox()->text(), "Grazing");
    EXPECT_EQ(stored(a, "Heading").toString(), "Stream corridors");
    const QString body = stored(a, "Body").toString();
    EXPECT_TRUE(body.contains("No dozer lines within 100 ft")) << body.toStdString();
    EXPECT_TRUE(body.endsWith("\\par }")) << body.toStdString();
    EXPECT_EQ(stored(b, "Body").toString(), richtext::kEmptyBody);

    // The edits come back on screen after the worksheet is left and opened again.
    leave();
    core::ClearItems();
    open();
    EXPECT_EQ(form->topic()->nameBox()->text(), "Stream corridors");
    EXPECT_TRUE(form->topic()->bodyEditor()->plainText().contains("No dozer lines within 100 ft"));
}

TEST_F(RMAsTest, DeleteAsksFirstAndOnlyYesDeletes)
{
    const int a = storedRMA("Riparian", richtext::kEmptyBody);
    const int b = storedRMA("Grazing", richtext::kEmptyBody);
    open();
    form->lstRMAs()->setCurrentRow(1);

    prompter.answer(ui::Answer::No);
    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Do you really want to delete Grazing");
    EXPECT_EQ(prompter.messages()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(prompter.messages()[0].defaultButton, ui::Answer::No);
    EXPECT_EQ(listTexts(), QStringList({"Riparian", "Grazing"}));
    EXPECT_EQ(form->current()->ItemKey(), b);
    EXPECT_EQ(stored(b, "Heading").toString(), "Grazing");

    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    EXPECT_EQ(stored(b, "Heading").toString(), "<no row>");
    EXPECT_EQ(listTexts(), QStringList{"Riparian"});
    EXPECT_EQ(form->lstRMAs()->currentRow(), 0);
    EXPECT_EQ(form->current()->ItemKey(), a);
    EXPECT_EQ(form->topic()->nameBox()->text(), "Riparian");

    // Deleting the last area leaves the empty state; leaving then writes nothing back.
    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    expectEmptyState();
    leave();
    EXPECT_EQ(stored(a, "Heading").toString(), "<no row>");
    EXPECT_EQ(core::CountChildItems(core::kRMAGroupKey), 0);
}

TEST_F(RMAsTest, ADeleteTheFileRefusesLeavesTheAreaShownAndEdited)
{
    storedRMA("Riparian", richtext::kEmptyBody);
    const int grazing = storedRMA("Grazing", richtext::kEmptyBody);
    open();
    form->lstRMAs()->setCurrentRow(1);
    db().Execute("CREATE TEMP TRIGGER keep_items BEFORE DELETE ON Items BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    db().Execute("DROP TRIGGER keep_items");
    EXPECT_EQ(prompter.messages().size(), 2);   // the question, then the refusal
    EXPECT_EQ(listTexts(), QStringList({"Riparian", "Grazing"}));
    ASSERT_NE(form->current(), nullptr);
    EXPECT_EQ(form->current()->ItemKey(), grazing);
    form->topic()->nameBox()->setFocus();
    form->topic()->nameBox()->selectAll();
    QTest::keyClicks(form->topic()->nameBox(), "Grazing allotments");
    leave();
    EXPECT_EQ(stored(grazing, "Heading").toString(), "Grazing allotments");
}

TEST_F(RMAsTest, BodiesStayByteForByteAcrossTenVisits)
{
    // Bodies as other writers left them: an import's plain conversion, a body without the
    // closing paragraph, one with characters beyond ASCII.
    const QString imported = "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
                             "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\\plain\\f0\\fs20 \\pard "
                             "Protect owl habitat\\par Keep fire out of the seed orchard\\par }";
    const QString unclosed = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Open \\b range\\b0}";
    const QString accented = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Ca\\'f1on \\u8212? trail\\par }";
    const int keys[] = {storedRMA("Owls", imported), storedRMA("Range", unclosed), storedRMA("Canyon", accented)};
    const QString bodies[] = {imported, unclosed, accented};

    for (int visit = 0; visit < 10; ++visit) {
        open();
        for (int row = 0; row < 3; ++row)
            form->lstRMAs()->setCurrentRow(row);
        form->topic()->bodyEditor()->textEdit()->setFocus();
        leave();
        core::ClearItems();
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(stored(keys[i], "Body").toString(), bodies[i]) << i;
}

TEST_F(RMAsTest, ChangesFiredWhileFillingWriteNothing)
{
    const int a = storedRMA("Riparian", richtext::kEmptyBody);
    open();
    ASSERT_NE(form->current(), nullptr);
    // Setup filled the name box and the body, which raised their change signals.
    EXPECT_FALSE(form->current()->Changed());
    {
        core::BusyScope busy;   // as a display procedure fills the boxes
        form->topic()->nameBox()->setText("Overwritten");
        form->topic()->bodyEditor()->textEdit()->insertPlainText("Overwritten");
    }
    EXPECT_FALSE(form->current()->Changed());
    EXPECT_EQ(listTexts(), QStringList{"Riparian"});
    leave();
    EXPECT_EQ(stored(a, "Heading").toString(), "Riparian");
    EXPECT_EQ(stored(a, "Body").toString(), richtext::kEmptyBody);
}

} // namespace

namespace {

TEST_F(RMAsTest, AnAreaThatCannotBeStoredStaysShownAndSelected)
{
    const int a = storedRMA("Riparian", richtext::kEmptyBody);
    storedRMA("Grazing", richtext::kEmptyBody);
    open();
    form->topic()->nameBox()->setFocus();
    form->topic()->nameBox()->selectAll();
    QTest::keyClicks(form->topic()->nameBox(), "Stream corridors");

    db().Execute("ALTER TABLE Items RENAME TO ItemsAway");   // the save fails
    form->lstRMAs()->setCurrentRow(1);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(form->lstRMAs()->currentRow(), 0);
    EXPECT_EQ(form->current()->ItemKey(), a);
    EXPECT_EQ(form->topic()->nameBox()->text(), "Stream corridors");
    QTest::keyClicks(form->topic()->nameBox(), "!");
    EXPECT_EQ(listTexts(), QStringList({"Stream corridors!", "Grazing"}));

    db().Execute("ALTER TABLE ItemsAway RENAME TO Items");
    form->lstRMAs()->setCurrentRow(1);
    EXPECT_EQ(form->topic()->nameBox()->text(), "Grazing");
    EXPECT_EQ(stored(a, "Heading").toString(), "Stream corridors!");
}

} // namespace

namespace {

// Add, name, describe and delete with the keyboard alone: Tab from the list reaches Add and
// Delete, Space presses them.
TEST_F(RMAsTest, KeyboardAlone)
{
    storedRMA("Riparian", richtext::kEmptyBody);
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->lstRMAs()->setFocus();
    QTest::keyClick(form->lstRMAs(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->cmdAdd());
    QTest::keyClick(form->cmdAdd(), Qt::Key_Space);
    ASSERT_EQ(form->lstRMAs()->count(), 2);
    QTest::keyClicks(QApplication::focusWidget(), "Wilderness");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->topic()->bodyEditor()->textEdit());
    QTest::keyClicks(QApplication::focusWidget(), "Let fire play its role");
    EXPECT_EQ(listTexts(), QStringList({"Riparian", "Wilderness"}));
    EXPECT_TRUE(form->current()->Body().contains("Let fire play its role"));

    prompter.answer(ui::Answer::Yes);
    form->cmdDelete()->setFocus();
    QTest::keyClick(form->cmdDelete(), Qt::Key_Space);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Do you really want to delete Wilderness");
    EXPECT_EQ(listTexts(), QStringList{"Riparian"});
}

} // namespace
