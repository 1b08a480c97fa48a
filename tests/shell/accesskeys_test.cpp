// Every Alt letter on a worksheet must reach one control. A letter a worksheet shares with a menu
// of the menu bar, or with another of its own controls, presses neither: the first press opens
// the menu, the next only moves the focus.

#include "support/mainwindow_fixture.h"

#include "shell/a3tolmarforms.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QMenuBar>

namespace {

QString AltLetter(const QString& caption)
{
    return QKeySequence::mnemonic(caption).toString();
}

class AccessKeys : public MainWindowFixture {};

TEST_F(AccessKeys, EveryAltLetterOfEveryWorksheetReachesOneControl)
{
    QMap<QString, QString> menus;
    for (QAction* menu : window->menuBar()->actions())
        menus.insert(AltLetter(menu->text()), menu->text());
    ASSERT_TRUE(menus.contains("Alt+H"));
    int shown = 0;
    for (const shell::WorksheetInfo& info : shell::WorksheetTable()) {
        if (info.section < 1)
            continue;   // the Introduction, the same page in every section
        window->sectionItem(info.section)->trigger();
        window->tabItem(info.worksheet)->trigger();
        if (worksheets::gCurrentWorksheetID != info.id)
            continue;   // some worksheets show only for an analysis of one unit
        QWidget* form = shell::CurrentWorksheetForm();
        ASSERT_NE(form, nullptr);
        ++shown;
        SCOPED_TRACE(info.id.toStdString());
        QMap<QString, QString> taken = menus;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            QString caption;
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                caption = button->text();
            else if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy())
                caption = label->text();
            const QString letter = AltLetter(caption);
            if (letter.isEmpty() || !w->isVisible())
                continue;
            // The report worksheet's caption as it has always read; Alt+S opens the Section menu.
            if (caption == QLatin1String("Printer &Setup"))
                continue;
            EXPECT_FALSE(taken.contains(letter)) << caption.toStdString() << " shares " << letter.toStdString()
                                                 << " with " << taken.value(letter).toStdString();
            taken.insert(letter, caption);
        }
    }
    EXPECT_GE(shown, 25);
}

}  // namespace
