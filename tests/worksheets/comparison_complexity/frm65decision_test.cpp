#include "worksheets/comparison_complexity/frm65decision.h"

#include "core/c0item.h"
#include "core/costsource.h"
#include "core/g0items.h"
#include "core/g8summary.h"
#include "core/u14properties.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/richtext/rtf.h"
#include "platform/richtext/scratchdocument.h"
#include "support/keeppicture.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/comparison_complexity/decisiondescription.h"
#include "worksheets/comparison_complexity/registerforms.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>

using model::OutcomeKind;
using worksheets::comparison_complexity::frm65Decision;
namespace cc = worksheets::comparison_complexity;

namespace {

// A body in the house format holding the paragraphs of text ("\n" between them); boldFirst
// makes the first paragraph bold.
QString Rtf(const QString& text, bool boldFirst = false)
{
    richtext::ScratchDocument doc;
    doc.insertText(text);
    if (boldFirst) {
        doc.setSelection(0, int(text.indexOf('\n') < 0 ? text.size() : text.indexOf('\n')));
        doc.setSelectionBold(true);
    }
    return doc.save();
}

class DecisionTest : public WorksheetFixture<frm65Decision> {
protected:
    DecisionTest() : WorksheetFixture({.size = {900, 600}}) {}
    frm65Decision& open()
    {
        reload();
        return WorksheetFixture::open();
    }
    // The worksheet as the shell leaves it: the summary items saved, the form gone.
    void leave()
    {
        core::SaveSummary();
        form.reset();
    }
    // An alternative with descriptions of its own and of its outcomes.
    int describedAlternative(const Alt& a, const QString& own, const QString& target, const QString& fallback)
    {
        const int key = addAlternative(a);
        auto alt = model::GetAlternative(key);
        alt->SetBody(Rtf(own, true));
        alt->SaveChanges();
        alt->Outcome(OutcomeKind::Target)->SetDescription(Rtf(target));
        alt->Outcome(OutcomeKind::Target)->SaveChanges();
        alt->Outcome(OutcomeKind::Fallback)->SetDescription(Rtf(fallback));
        alt->Outcome(OutcomeKind::Fallback)->SaveChanges();
        return key;
    }
    QString storedBody(int key)
    {
        auto rs = db().OpenTable("Items");
        rs->Seek(key);
        return rs->NoMatch() ? QStringLiteral("<no row>") : rs->Field("Body").toString();
    }
    void storeBody(int key, const QString& body)
    {
        core::GetSummaryItem(key)->SetBody(body);
        core::SaveSummary();
        reload();
    }
    QString selectedKey() { return core::Property_Get("SelectedAlternativeKey"); }

};

TEST(DecisionDescription, FallbackTextIsOneDocumentWithItsLabelsAndBlankLines)
{
    const QString built = cc::BuildFallbackDescription(Rtf("Hold the ridge road.\nBurn out from it.", true),
                                                       Rtf("Contained at 400 acres."), Rtf("Held at the river."));
    EXPECT_EQ(richtext::RtfToPlainText(built),
              "This alternative includes a Fallback outcome.\r\n\r\n"
              "Hold the ridge road.\r\nBurn out from it.\r\n\r\n"
              "Target:\r\n\r\nContained at 400 acres.\r\n"
              "Fallback:\r\n\r\nHeld at the river.");
    EXPECT_EQ(built.count("{\\rtf"), 1);
    EXPECT_TRUE(built.endsWith("\\par }"));
    // The bold of the alternative's own text survives; the labels after it are plain.
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(built, &doc));
    EXPECT_TRUE(doc.findBlockByNumber(2).begin().fragment().charFormat().font().bold());
    EXPECT_FALSE(doc.findBlockByNumber(5).begin().fragment().charFormat().font().bold());

    const QString targetOnly = cc::BuildTargetOnlyDescription(Rtf("Hold the ridge road."), Rtf("Contained."));
    EXPECT_EQ(richtext::RtfToPlainText(targetOnly), "Hold the ridge road.\r\n\r\nContained.");
    EXPECT_EQ(targetOnly.count("{\\rtf"), 1);
}

TEST(DecisionDescription, OnlyABuiltFallbackDescriptionIsBuiltAgain)
{
    EXPECT_TRUE(cc::IsBuiltFallbackDescription(cc::BuildFallbackDescription(Rtf("a"), Rtf("b"), Rtf("c"))));
    EXPECT_TRUE(cc::IsBuiltFallbackDescription("This alternative includes a Fallback outcome. Old plain text"));
    EXPECT_FALSE(cc::IsBuiltFallbackDescription(Rtf("This is the alternative we chose, because...")));
    EXPECT_FALSE(cc::IsBuiltFallbackDescription(Rtf("Our own words")));
    EXPECT_FALSE(cc::IsBuiltFallbackDescription(""));
}

TEST_F(DecisionTest, IsTheRegisteredFormOfItsWorksheet)
{
    worksheets::comparison_complexity::RegisterForms();
    std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm("tab65");
    ASSERT_NE(dynamic_cast<frm65Decision*>(made.get()), nullptr);
    made->Setup();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab65");
}

TEST_F(DecisionTest, LeastCostLabelTiesGoToTheEarlierAlternative)
{
    addAlternative({"Direct attack", 300000});
    addAlternative({"Confine", 200000});
    addAlternative({"Contain", 200000});
    open();
    EXPECT_EQ(form->lblLeastCost()->text(), "B. Confine");
    EXPECT_EQ(form->cboAlternatives()->count(), 3);
}

TEST_F(DecisionTest, WithNoStoredSelectionNothingIsChosenAndTheDescriptionIsKept)
{
    addAlternative({"Direct attack", 1000});
    storeBody(core::kDecisionDescriptionKey, Rtf("Written before any choice."));
    const QString before = storedBody(core::kDecisionDescriptionKey);
    open();
    EXPECT_EQ(form->cboAlternatives()->currentIndex(), -1);
    EXPECT_EQ(form->lstTopics()->currentRow(), 0);
    EXPECT_EQ(form->current()->ItemKey(), core::kDecisionDescriptionKey);
    EXPECT_EQ(form->topic()->bodyEditor()->plainText(), "Written before any choice.");
    leave();
    EXPECT_EQ(storedBody(core::kDecisionDescriptionKey), before);
}

TEST_F(DecisionTest, ChoosingAnAlternativeWithAFallbackWritesItsDescriptionOnce)
{
    describedAlternative({"Direct attack", 1000}, "Attack at the head.", "Caught in a day.", "-");
    const int b = describedAlternative({"Confine", 1000, 70, 30}, "Hold the ridge road.", "Contained at 400 acres.",
                                       "Held at the river.");
    open();
    form->lstTopics()->setCurrentRow(1);   // the user is on the rationale
    form->cboAlternatives()->setCurrentIndex(1);

    EXPECT_EQ(selectedKey(), QString::number(b));
    const QString stored = storedBody(core::kDecisionDescriptionKey);
    const QString text = richtext::RtfToPlainText(stored);
    EXPECT_EQ(text, "This alternative includes a Fallback outcome.\r\n\r\nHold the ridge road.\r\n\r\n"
                    "Target:\r\n\r\nContained at 400 acres.\r\nFallback:\r\n\r\nHeld at the river.");
    EXPECT_EQ(text.count("Hold the ridge road."), 1);
    EXPECT_EQ(stored.count("{\\rtf"), 1);
    // The description topic is shown with what was written.
    EXPECT_EQ(form->lstTopics()->currentRow(), 0);
    EXPECT_EQ(form->topic()->bodyEditor()->plainText(), text);
    // Showing it wrote nothing back; leaving keeps it as it is.
    leave();
    EXPECT_EQ(storedBody(core::kDecisionDescriptionKey), stored);
}

TEST_F(DecisionTest, ChoosingAnAlternativeWithoutAFallbackJoinsItsTextAndTheTargets)
{
    addAlternative({"Direct attack", 1000});
    const int b = describedAlternative({"Confine", 1000, 100, -1}, "Hold the ridge road.", "Contained at 400 acres.",
                                       "Never used.");
    open();
    // Something typed in the description before the choice is replaced by the choice.
    form->topic()->bodyEditor()->textEdit()->setFocus();
    QTest::keyClicks(form->topic()->bodyEditor()->textEdit(), "scratch notes");
    form->cboAlternatives()->setCurrentIndex(1);
    EXPECT_EQ(selectedKey(), QString::number(b));
    EXPECT_EQ(richtext::RtfToPlainText(storedBody(core::kDecisionDescriptionKey)),
              "Hold the ridge road.\r\n\r\nContained at 400 acres.");

    // Picking the alternative already selected changes nothing.
    const QString stored = storedBody(core::kDecisionDescriptionKey);
    leave();
    open();
    EXPECT_EQ(form->cboAlternatives()->currentIndex(), 1);
    form->cboAlternatives()->setCurrentIndex(0);
    form->cboAlternatives()->setCurrentIndex(1);
    EXPECT_EQ(richtext::RtfToPlainText(storedBody(core::kDecisionDescriptionKey)), richtext::RtfToPlainText(stored));
}

TEST_F(DecisionTest, OpeningBuildsABuiltDescriptionAgainButKeepsTheUsersOwn)
{
    const int a = describedAlternative({"Direct attack", 1000, 70, 30}, "Attack at the head.", "Caught in a day.",
                                       "Held at the river.");
    open();
    form->cboAlternatives()->setCurrentIndex(0);
    leave();
    // The Target's description changes on the Outcomes worksheet.
    auto target = model::GetAlternative(a)->Outcome(OutcomeKind::Target);
    target->SetDescription(Rtf("Caught in two days."));
    target->SaveChanges();
    open();
    EXPECT_TRUE(richtext::RtfToPlainText(storedBody(core::kDecisionDescriptionKey)).contains("Caught in two days."));
    EXPECT_TRUE(form->topic()->bodyEditor()->plainText().contains("Caught in two days."));
    leave();

    // The Fallback is given up: the description is built again without it.
    auto fallback = model::GetAlternative(a)->Outcome(OutcomeKind::Fallback);
    fallback->SetbShow(false);
    fallback->SaveChanges();
    open();
    EXPECT_EQ(richtext::RtfToPlainText(storedBody(core::kDecisionDescriptionKey)),
              "Attack at the head.\r\n\r\nCaught in two days.");
    leave();

    // A description of the user's own that happens to begin with "This" is kept.
    storeBody(core::kDecisionDescriptionKey, Rtf("This is the strategy the line officer chose."));
    const QString own = storedBody(core::kDecisionDescriptionKey);
    open();
    leave();
    EXPECT_EQ(storedBody(core::kDecisionDescriptionKey), own);
}

// What the user adds to a built description, here or on the Report Topics worksheet, is theirs:
// coming back to the worksheet builds nothing over it.
TEST_F(DecisionTest, ASentenceAddedToABuiltDescriptionIsKept)
{
    describedAlternative({"Direct attack", 1000, 70, 30}, "Attack at the head.", "Caught in a day.",
                         "Held at the river.");
    open();
    form->cboAlternatives()->setCurrentIndex(0);
    QTextEdit* body = form->topic()->bodyEditor()->textEdit();
    body->setFocus();
    body->moveCursor(QTextCursor::End);
    QTest::keyClicks(body, " Call the county first.");
    leave();
    open();
    EXPECT_TRUE(form->topic()->bodyEditor()->plainText().endsWith("Held at the river. Call the county first."));
    EXPECT_TRUE(richtext::RtfToPlainText(storedBody(core::kDecisionDescriptionKey))
                    .endsWith("Held at the river. Call the county first."));
    leave();

    // The same text edited on the Report Topics worksheet, which stores the item as this one does.
    const QString edited = Rtf(richtext::RtfToPlainText(storedBody(core::kDecisionDescriptionKey))
                                   .replace("\r\n", "\n") + "\nSigned off by the duty officer.");
    storeBody(core::kDecisionDescriptionKey, edited);
    open();
    leave();
    EXPECT_EQ(storedBody(core::kDecisionDescriptionKey), edited);
}

TEST_F(DecisionTest, RationaleEditsAreStoredOnTopicChangeAndOnLeaving)
{
    addAlternative({"Direct attack", 1000});
    open();
    form->lstTopics()->setCurrentRow(1);
    EXPECT_EQ(form->current()->ItemKey(), core::kDecisionRationaleKey);
    EXPECT_EQ(form->lblInstructions()->text(), form->current()->ItemText());
    form->topic()->bodyEditor()->textEdit()->setFocus();
    QTest::keyClicks(form->topic()->bodyEditor()->textEdit(), "Least cost and safest");
    form->lstTopics()->setCurrentRow(0);
    EXPECT_TRUE(storedBody(core::kDecisionRationaleKey).contains("Least cost and safest"));
    form->topic()->nameBox()->setFocus();
    form->topic()->nameBox()->selectAll();
    QTest::keyClicks(form->topic()->nameBox(), "Chosen strategy");
    leave();
    auto rs = db().OpenTable("Items");
    rs->Seek(core::kDecisionDescriptionKey);
    EXPECT_EQ(rs->Field("Heading").toString(), "Chosen strategy");
}

TEST_F(DecisionTest, KeyboardOnlyChoosesAnAlternativeAndReachesTheRationale)
{
    const int a = describedAlternative({"Direct attack", 1000}, "Attack at the head.", "Caught in a day.", "-");
    open();
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form.get(), Qt::Key_S, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), form->cboAlternatives());
    QTest::keyClick(form->cboAlternatives(), Qt::Key_Down);
    EXPECT_EQ(selectedKey(), QString::number(a));
    EXPECT_EQ(richtext::RtfToPlainText(storedBody(core::kDecisionDescriptionKey)),
              "Attack at the head.\r\n\r\nCaught in a day.");
    QTest::keyClick(form.get(), Qt::Key_D, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), form->lstTopics());
    QTest::keyClick(form->lstTopics(), Qt::Key_Down);
    EXPECT_EQ(form->current()->ItemKey(), core::kDecisionRationaleKey);
}

TEST_F(DecisionTest, NoAlternativesShowsTheEmptyStateAndKeepsTheTopicsEditable)
{
    open();
    EXPECT_TRUE(form->lblNoAlternatives()->isVisible());
    EXPECT_FALSE(form->cboAlternatives()->isEnabled());
    EXPECT_EQ(form->lblLeastCost()->text(), "");
    EXPECT_TRUE(form->topic()->bodyEditor()->isEnabled());
    EXPECT_EQ(selectedKey(), "");
}

} // namespace
