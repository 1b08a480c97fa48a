// Values a user can type or paste that no number box was made for, driven by the keyboard into
// every box and every grid column of every worksheet with a form: the program neither crashes
// nor stores anything a field cannot hold, and the file stays sound.

#include "support/integritycheck.h"
#include "support/mainwindow_fixture.h"

#include "core/u11datafile.h"
#include "platform/dao/dao.h"
#include "platform/grid/grid.h"
#include "shell/a1tolmar.h"
#include "shell/a3tolmarforms.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct HostileValue {
    const char* name;
    QString text;
};

QList<HostileValue> HostileTable()
{
    return {
        {"1e309", QStringLiteral("1e309")},
        {"-0", QStringLiteral("-0")},
        {"NaN", QStringLiteral("NaN")},
        {"inf", QStringLiteral("inf")},
        {"10,000 digits", QString(10000, QLatin1Char('9'))},
        {"1,2,3", QStringLiteral("1,2,3")},
        {"$-5", QStringLiteral("$-5")},
        {"SQL", QStringLiteral("'; DROP TABLE Items; --")},
        {"1 MB paste", QStringLiteral("8675309 ").repeated(1 << 17)},
        {"non-ASCII digits", QStringLiteral("\u0661\u0662\u0663\uFF14\uFF15\u096A")},
    };
}

// Short values are typed key by key, long ones pasted, as a user would bring them in.
void Enter(QWidget* target, const QString& text)
{
    if (text.size() <= 40) {
        for (const QChar ch : text) {
            if (ch.unicode() < 128) {
                QTest::keyClick(target, ch.toLatin1());
            } else {   // a character no key of this keyboard makes, as an input method gives it
                QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            }
        }
    } else {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    }
}

// What each field of the file may hold: its type's range, a text its size.
QStringList OutOfRange(dao::Database& db)
{
    QStringList found;
    sqlite3* handle = db.handle();
    for (const QString& table : db.TableNames()) {
        for (const dao::FieldDef& f : db.Fields(table)) {
            QString bad;
            const QString c = QStringLiteral("\"%1\"").arg(f.name);
            const auto whole = [&](qint64 lo, qint64 hi) {
                return QStringLiteral("typeof(%1) NOT IN ('integer', 'null') OR %1 < %2 OR %1 > %3").arg(c).arg(lo).arg(hi);
            };
            switch (f.type) {
            case dao::FieldType::Boolean: bad = whole(-1, 1); break;
            case dao::FieldType::Byte: bad = whole(0, 255); break;
            case dao::FieldType::Integer: bad = whole(-32768, 32767); break;
            case dao::FieldType::Long:
            case dao::FieldType::AutoNumber: bad = whole(-2147483648LL, 2147483647LL); break;
            case dao::FieldType::Single:
                bad = QStringLiteral("typeof(%1) NOT IN ('integer', 'real', 'null') OR abs(%1) > 3.402823466e38").arg(c);
                break;
            case dao::FieldType::Double:
            case dao::FieldType::Currency:
                bad = QStringLiteral("typeof(%1) NOT IN ('integer', 'real', 'null') OR abs(%1) > 1.7976931348623157e308").arg(c);
                break;
            case dao::FieldType::Text:
                if (f.size > 0)
                    bad = QStringLiteral("length(%1) > %2").arg(c).arg(f.size);
                break;
            default: break;
            }
            if (bad.isEmpty())
                continue;
            const QByteArray sql = QStringLiteral("SELECT count(*) FROM \"%1\" WHERE %2").arg(table, bad).toUtf8();
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(handle, sql.constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW &&
                sqlite3_column_int(st, 0) > 0)
                found << QStringLiteral("%1.%2").arg(table, f.name);
            sqlite3_finalize(st);
        }
    }
    return found;
}

class HostileValues : public MainWindowFixture {
protected:
    // Shows the worksheet as a user does, through the Section and Worksheet menus.
    worksheets::WorksheetForm* ShowWorksheet(const shell::WorksheetInfo& info)
    {
        window->sectionItem(info.section)->trigger();
        window->tabItem(info.worksheet)->trigger();
        if (worksheets::gCurrentWorksheetID != info.id)
            return nullptr;
        return shell::CurrentWorksheetForm();
    }

    // Leaves the worksheet (which saves it) for the Introduction of its section.
    void Leave(const shell::WorksheetInfo& info)
    {
        window->tabItem(info.worksheet == 1 ? 2 : 1)->trigger();
    }

    // The one-line boxes a user can type into, grid editors aside.
    static QList<QLineEdit*> Boxes(QWidget* form)
    {
        QList<QLineEdit*> boxes;
        for (QLineEdit* box : form->findChildren<QLineEdit*>()) {
            if (!box->isVisible() || !box->isEnabled() || box->isReadOnly())
                continue;
            bool inGrid = false;
            for (QWidget* w = box->parentWidget(); w && w != form; w = w->parentWidget())
                inGrid = inGrid || qobject_cast<grid::Grid*>(w);
            if (!inGrid)
                boxes << box;
        }
        return boxes;
    }

    static QList<grid::Grid*> Grids(QWidget* form)
    {
        QList<grid::Grid*> grids;
        for (grid::Grid* g : form->findChildren<grid::Grid*>())
            if (g->isVisible() && g->isEnabled())
                grids << g;
        return grids;
    }

    // Types the value into the box and leaves it with Tab; false when the box went away.
    static void TypeIntoBox(QLineEdit* box, const QString& text)
    {
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        Enter(box, text);
        if (box->isVisible())
            QTest::keyClick(box, Qt::Key_Tab);
    }

    // The grid's open cell editor, or null.
    static QWidget* Editor(grid::Grid* g)
    {
        if (!g->isEditing())
            return nullptr;
        for (QLineEdit* box : g->findChildren<QLineEdit*>())
            if (box->isVisible())
                return box;
        return nullptr;
    }

    // Starts an edit of the cell the way a user can (F2, Enter, or typing), brings the value
    // in and ends with Enter; false when the cell takes no edit.
    static bool TypeIntoCell(grid::Grid* g, int row, int col, const QString& text)
    {
        g->setFocus(Qt::MouseFocusReason);
        g->setCurrentCell(row, col);
        if (g->row() != row || g->col() != col)
            return false;
        QTest::keyClick(g, Qt::Key_F2);
        if (!g->isEditing())
            QTest::keyClick(g, Qt::Key_Return);
        if (!g->isEditing() && !text.isEmpty() && text[0].isPrint())
            QTest::keyClick(g, text[0].toLatin1() ? text[0].toLatin1() : 'x');   // some grids start on a character
        if (!g->isEditing())
            return false;
        QWidget* editor = Editor(g);
        if (!editor)
            return false;
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        Enter(editor, text);
        if (QWidget* still = Editor(g))
            QTest::keyClick(still, Qt::Key_Return);
        return true;
    }

    static QString NoneTried(const QMap<QString, int>& tried)
    {
        QStringList none;
        for (auto it = tried.cbegin(); it != tried.cend(); ++it)
            if (it.value() == 0)
                none << it.key();
        return none.join(", ");
    }

    // Every box, then every grid column (its first rows, until one takes an edit), of what
    // root() gives: looked up again after each one, since leaving a box or a cell may rebuild
    // the form. The number of fields that took the value.
    static int DriveFields(const std::function<QWidget*()>& root, const QString& text)
    {
        int fields = 0;
        QWidget* top = root();
        if (!top)
            return 0;
        const int boxes = int(Boxes(top).size());
        for (int i = 0; i < boxes; ++i) {
            if (!(top = root()))
                return fields;
            const QList<QLineEdit*> now = Boxes(top);
            if (i >= now.size())
                break;
            TypeIntoBox(now[i], text);
            ++fields;
        }
        if (!(top = root()))
            return fields;
        const int grids = int(Grids(top).size());
        for (int gi = 0; gi < grids; ++gi) {
            for (int col = 0;; ++col) {
                if (!(top = root()))
                    return fields;
                const QList<grid::Grid*> now = Grids(top);
                if (gi >= now.size())
                    break;
                grid::Grid* g = now[gi];
                col = std::max(col, g->fixedCols());
                if (col >= g->cols())
                    break;
                if (g->colHidden(col))
                    continue;
                for (int row = g->fixedRows(); row < std::min(g->rows(), g->fixedRows() + 4); ++row)
                    if (TypeIntoCell(g, row, col, text)) {
                        ++fields;
                        break;
                    }
            }
        }
        return fields;
    }

    // The dialogs a worksheet's buttons open are modal: while one is open, this fills its
    // fields with the value and ends it with OK (which stores, or says why not), then Close or
    // Cancel, as a user would.
    class DialogDriver {
    public:
        explicit DialogDriver(const QString& text) : mText(text)
        {
            QObject::connect(&mTimer, &QTimer::timeout, [this] { poll(); });
            mTimer.start(10);
        }
        int fields() const { return mFields; }
        int dialogs() const { return mDialogs; }

    private:
        void poll()
        {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || mSeen.contains(modal))
                return;
            mSeen.insert(modal);
            ++mDialogs;
            QPointer<QWidget> dialog(modal);
            mFields += DriveFields([dialog] { return dialog.data(); }, mText);
            for (const char* caption : {"OK", "Close", "Cancel"}) {
                if (!dialog || !dialog->isVisible())
                    return;
                for (QPushButton* b : dialog->findChildren<QPushButton*>())
                    if (b->isVisible() && b->isEnabled() && b->text().remove(QLatin1Char('&')) == QLatin1String(caption)) {
                        QTest::mouseClick(b, Qt::LeftButton);
                        break;
                    }
            }
            if (dialog && dialog->isVisible())
                dialog->close();
        }

        QString mText;
        QTimer mTimer;
        QSet<QWidget*> mSeen;
        int mFields = 0;
        int mDialogs = 0;
    };

    // The buttons that open a dialog with figures in it: adding an entry, changing percents,
    // reviewing or entering a cost estimate.
    static QList<QPushButton*> DialogButtons(QWidget* form)
    {
        static const QRegularExpression opens(QStringLiteral("^(Add|Change|Review|Get)"));
        QList<QPushButton*> buttons;
        for (QPushButton* b : form->findChildren<QPushButton*>())
            if (b->isVisible() && b->isEnabled() && opens.match(b->text().remove(QLatin1Char('&'))).hasMatch())
                buttons << b;
        return buttons;
    }

    // Every hostile value into every box and grid column of each worksheet and of the dialogs
    // its buttons open, the worksheet left after each value (which saves it) and the file
    // checked.
    void DriveEveryWorksheet(const QStringList& ids, QMap<QString, int>& tried, QStringList& unreached)
    {
        for (const QString& id : ids) {
            const shell::WorksheetInfo* info = shell::FindWorksheet(id);
            ASSERT_NE(info, nullptr) << id.toStdString();
            for (const HostileValue& value : HostileTable()) {
                SCOPED_TRACE(QStringLiteral("%1, %2").arg(id, QLatin1String(value.name)).toStdString());
                if (!ShowWorksheet(*info)) {
                    unreached << id;
                    break;
                }
                const auto form = [] { return static_cast<QWidget*>(shell::CurrentWorksheetForm()); };
                int fields = DriveFields(form, value.text);
                const int buttons = form() ? int(DialogButtons(form()).size()) : 0;
                for (int b = 0; b < buttons && form(); ++b) {
                    const QList<QPushButton*> now = DialogButtons(form());
                    if (b >= now.size())
                        break;
                    DialogDriver driver(value.text);
                    QTest::mouseClick(now[b], Qt::LeftButton);
                    fields += driver.fields();
                    window->activateWindow();   // as closing a dialog gives the window back
                    mDialogs[id + QLatin1Char('/') + now.value(b) ->text()] += driver.dialogs();
                }
                EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a dialog stayed open";
                tried[id] += fields;
                Leave(*info);
                ASSERT_TRUE(core::gFileOpen());
                ASSERT_EQ(testsupport::IntegrityCheck(core::gDatabase()->handle()), "ok");
                const QStringList bad = OutOfRange(*core::gDatabase());
                EXPECT_TRUE(bad.isEmpty()) << "stored out of range: " << bad.join(", ").toStdString();
            }
        }
    }

    QMap<QString, int> mDialogs;   // dialogs driven, by worksheet and button
};

TEST_F(HostileValues, NoBoxOrGridColumnTakesAValueTheFileCannotHold)
{
    ASSERT_TRUE(OutOfRange(*core::gDatabase()).isEmpty()) << "the analysis holds out-of-range values already";
    QMap<QString, int> tried;
    QStringList unreached;
    DriveEveryWorksheet(worksheets::RegisteredWorksheetIds(), tried, unreached);
    // Some worksheets show only for an analysis of a single unit.
    if (!unreached.isEmpty()) {
        const QString single = dir.filePath("Single.tlm");
        QString error;
        ASSERT_TRUE(testsupport::CreateAnalysisFile(core::JoinPath(core::AppPath(), "TLM.new"), single,
                                                    {4, 1, 5, 6, 2, 12}, &error))
            << error.toStdString();
        shell::StartWithFile(single);
        ASSERT_TRUE(core::gFileOpen());
        const QStringList again = unreached;
        unreached.clear();
        DriveEveryWorksheet(again, tried, unreached);
    }
    int total = 0;
    for (auto it = tried.cbegin(); it != tried.cend(); ++it) {
        std::printf("[ hostile  ] %-6s %4d values typed or pasted\n", qPrintable(it.key()), it.value());
        total += it.value();
    }
    for (auto it = mDialogs.cbegin(); it != mDialogs.cend(); ++it)
        std::printf("[ hostile  ] dialog of %s: %d times\n", qPrintable(it.key()), it.value());
    std::printf("[ hostile  ] %d in all; worksheets without a box or an editable cell: %s\n", total,
                qPrintable(NoneTried(tried)));
    EXPECT_TRUE(unreached.isEmpty()) << "not reached from the menus: " << unreached.join(", ").toStdString();
    EXPECT_GT(total, 0);
}

} // namespace
