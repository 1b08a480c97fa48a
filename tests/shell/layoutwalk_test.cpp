// Every worksheet and dialog of the program, reached as a user reaches them (the Section and
// Worksheet menus, the buttons that open the dialogs), on analyses whose names run to 150
// characters and whose amounts to nine digits, in the window as the program places it and
// maximized on a 1280 x 1024 screen: no control lies outside its window, no window outside the
// screen, no number or caption is cut. With TOLMAR_KEEP_PNG set to a folder, each page is kept
// there as a picture to look at; the checks never look at pixels.

#include "support/analysis_builder.h"
#include "support/keeppicture.h"
#include "support/layoutcheck.h"
#include "support/mainwindow_fixture.h"

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/tabs/indextab.h"
#include "platform/ui/scriptedprompter.h"
#include "reports/frmpreview.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm0_tolmar.h"
#include "shell/worksheetforms.h"
#include "worksheets/common/worksheetform.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The buttons that open a dialog, by the worksheet they are on, named or captioned.
struct Opener {
    const char* worksheet;
    const char* button;
};
const Opener kOpeners[] = {{"tab15", "&Add Item"},  {"tab55a", "cmdFIL"},   {"tab55b", "cmdFIL"},
                           {"tab56", "cmdSize"}, {"tab56", "cmdSRUse"}, {"tab56", "cmdDaily"}};

class LayoutWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(1280, 1024)) << "the walk's own screen";
        shell::RegisterWorksheetForms();
    }

    void TearDown() override { testsupport::CloseMainWindow(window); }

    // An analysis of four alternatives over the given number of FMUs, its situation written,
    // every name and amount at its longest.
    QString Build(const QString& name, int fmus)
    {
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(testsupport::CreateAnalysisFile(core::JoinPath(core::AppPath(), "TLM.new"), path,
                                                    {4, fmus, 5, 6, 2, 12}, &error))
            << error.toStdString();
        EXPECT_TRUE(core::OpenDatafile(path));
        testsupport::BuildSituation();
        testsupport::LengthenEntries();
        core::CloseDatafile();
        return path;
    }

    // The program started on the file, in its placed window or maximized.
    void Start(const QString& path, bool maximized)
    {
        window.reset();
        window = std::make_unique<shell::frm0_Tolmar>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->Startup(path);
        ASSERT_TRUE(core::gFileOpen());
        if (maximized)
            window->showMaximized();
        QApplication::processEvents();
        mSize = maximized ? QStringLiteral("1280x1024") : QStringLiteral("placed");
        if (maximized)
            EXPECT_EQ(window->frameGeometry(), window->screen()->availableGeometry());
        else
            EXPECT_EQ(window->size(), QSize(808, 608)) << "12,120 x 9,120 twips";
    }

    void Check(QWidget* w, const QString& page)
    {
        for (const QString& fault : testsupport::LayoutFaults(w, testsupport::IsLongEntry))
            mFaults << QStringLiteral("[%1 %2] %3").arg(mSize, page, fault);
        QString file = QStringLiteral("%1-%2-%3.png").arg(mFile, mSize, page);
        file.remove(QLatin1Char('&')).replace(QLatin1Char(' '), QLatin1Char('_'));
        testsupport::KeepPicture(*w, file);
    }

    // The dialog the button opens, checked once it is up (each of its tabs) and closed.
    void CheckDialog(QPushButton* opener, const QString& page)
    {
        bool seen = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QPointer<QWidget> dialog = QApplication::activeModalWidget();
            if (!dialog || seen)
                return;
            seen = true;
            QApplication::processEvents();
            const QString name = page + QLatin1Char('-') + dialog->objectName();
            Check(dialog, name);
            for (tabs::IndexTab* strip : dialog->findChildren<tabs::IndexTab*>()) {
                const int first = strip->currentTab();
                for (int tab = 0; tab < strip->count(); ++tab)
                    if (tab != first && strip->isTabEnabled(tab) && strip->setCurrentTab(tab))
                        Check(dialog, name + QStringLiteral("-tab%1").arg(tab));
            }
            if (dialog)
                dialog->close();
        });
        poll.start(20);
        QTest::mouseClick(opener, Qt::LeftButton);
        EXPECT_TRUE(seen) << page.toStdString() << ": " << opener->objectName().toStdString() << " opened no dialog";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    // The report of every section, in the preview window.
    void CheckPreview(QWidget* form)
    {
        QPushButton* preview = nullptr;
        for (QPushButton* b : form->findChildren<QPushButton*>()) {
            if (b->text() == QLatin1String("Select All"))
                QTest::mouseClick(b, Qt::LeftButton);
            if (b->text() == QLatin1String("Pre&view"))
                preview = b;
        }
        ASSERT_NE(preview, nullptr);
        QTest::mouseClick(preview, Qt::LeftButton);
        reports::frmPreview& window = reports::PreviewWindow();
        ASSERT_TRUE(window.isVisible());
        Check(&window, QStringLiteral("preview"));
        window.close();
    }

    void Walk(const QString& path, bool maximized)
    {
        Start(path, maximized);
        for (int section = 1; section <= 8; ++section) {
            window->sectionItem(section)->trigger();
            ASSERT_EQ(worksheets::gCurrentWorksheetID, "tab11");
            Check(window.get(), QStringLiteral("section%1").arg(section));
        }
        for (const shell::WorksheetInfo& info : shell::WorksheetTable()) {
            if (info.section < 1)
                continue;
            window->sectionItem(info.section)->trigger();
            window->tabItem(info.worksheet)->trigger();
            if (worksheets::gCurrentWorksheetID != info.id)
                continue;   // the other page of the natural resource impacts
            mShown.insert(info.id);
            Check(window.get(), info.id);
            QWidget* form = shell::CurrentWorksheetForm();
            ASSERT_NE(form, nullptr);
            for (const Opener& o : kOpeners) {
                if (info.id != QLatin1String(o.worksheet))
                    continue;
                QPushButton* button = nullptr;
                for (QPushButton* b : form->findChildren<QPushButton*>())
                    if (b->objectName() == QLatin1String(o.button) || b->text() == QLatin1String(o.button))
                        button = b;
                ASSERT_NE(button, nullptr) << o.button;
                CheckDialog(button, info.id + QLatin1Char('-') + QLatin1String(o.button));
                window->activateWindow();
            }
            if (info.id == QLatin1String("tab83"))
                CheckPreview(form);
        }
    }

    QTemporaryDir dir;
    ui::ScriptedPrompter prompter;
    std::unique_ptr<shell::frm0_Tolmar> window;
    QString mFile;
    QString mSize;
    QStringList mFaults;
    QSet<QString> mShown;
};

TEST_F(LayoutWalk, EveryWorksheetAndDialogShowsItsLongestEntriesWhole)
{
    // Three FMUs show the impacts by FMU and the cost tables by FMU; none, the single-unit pages.
    for (const auto& [name, fmus] : {std::pair{"Units", 3}, std::pair{"Whole", 0}}) {
        mFile = QLatin1String(name);
        const QString path = Build(mFile + QStringLiteral(".tlm"), fmus);
        for (bool maximized : {false, true}) {
            Walk(path, maximized);
            if (HasFatalFailure())
                return;
        }
    }
    for (const shell::WorksheetInfo& info : shell::WorksheetTable())
        EXPECT_TRUE(info.section < 1 || mShown.contains(info.id)) << info.id.toStdString() << " never shown";
    EXPECT_TRUE(mFaults.isEmpty()) << mFaults.size() << " faults:\n" << mFaults.join(QLatin1Char('\n')).toStdString();
}

} // namespace
