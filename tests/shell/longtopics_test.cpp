// A topic body pasted past the longest value a field holds: the paste is taken back at once with
// a message, and what the box held before it is what the file gets.

#include "support/mainwindow_fixture.h"

#include "platform/dao/dao.h"
#include "platform/richtext/richtexteditor.h"
#include "worksheets/common/topiceditor.h"

#include <QApplication>
#include <QClipboard>
#include <QTextEdit>

namespace {

class LongTopics : public MainWindowFixture {
protected:
    QStringList stored(const char* sql)
    {
        QStringList values;
        auto rs = core::gDatabase()->OpenRecordset(QString::fromLatin1(sql));
        for (; !rs->Eof(); rs->MoveNext())
            values << rs->Field(0).toString();
        return values;
    }

    QTextEdit* body()
    {
        auto* topic = shell::CurrentWorksheetForm()->findChild<worksheets::TopicEditor*>();
        return topic ? topic->bodyEditor()->textEdit() : nullptr;
    }
};

TEST_F(LongTopics, APasteTooLongToStoreIsTakenBackWithAMessage)
{
    const QString tooLong = QStringLiteral("Spotting ahead of the main run. ").repeated(int(dao::kLongestValue / 32) + 1);
    const struct {
        int section, worksheet;
        const char* stored;
    } cases[] = {
        {3, 3, "SELECT Explanation FROM Objectives ORDER BY \"Key\""},   // an objective
        {4, 3, "SELECT Description FROM Outcomes ORDER BY ItemKey"},     // an outcome
        {7, 2, "SELECT Body FROM Items ORDER BY ItemKey"},               // a report topic
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "section " << c.section << ", worksheet " << c.worksheet);
        window->mnuSection_Click(c.section);
        window->mnuTab_Click(c.worksheet);
        QTextEdit* box = body();
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(box->isEnabled());
        const QStringList before = stored(c.stored);
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("Crews hold the ridge. "));
        const QString typed = box->toPlainText();
        prompter.clear();

        QApplication::clipboard()->setText(tooLong);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].text,
                  QStringLiteral("This text would be too long to be saved: it would take 513 KB, and a text holds at "
                                 "most 512 KB.\r\nThe last change has not been taken."));
        EXPECT_EQ(box->toPlainText(), typed) << "what was typed before the paste stays";
        EXPECT_EQ(box->textCursor().position(), 22);

        // What was typed is stored as the worksheet is left, without a word.
        window->mnuTab_Click(c.worksheet == 2 ? 3 : 2);
        EXPECT_EQ(prompter.messages().size(), 1);
        const QStringList after = stored(c.stored);
        EXPECT_NE(after, before);
        EXPECT_TRUE(after.join(QString()).contains(QStringLiteral("Crews hold the ridge. "))) << "stored";
    }
}

} // namespace
