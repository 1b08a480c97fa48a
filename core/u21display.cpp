#include "core/u21display.h"

#include "platform/ui/prompter.h"

namespace core {

DisplayFit CheckDisplay(int screenHeightTwips)
{
    if (screenHeightTwips < 8000) {
        ui::MsgBox(QStringLiteral("This program is designed for display at 800 x 600 ") +
                   QStringLiteral("resolution or higher.") + QStringLiteral("\r\n") +
                   QStringLiteral("You may have difficulty ") +
                   QStringLiteral("using the program with your current display settings."));
        return DisplayFit::TooSmall;
    }
    if (screenHeightTwips < 9120)
        return DisplayFit::Maximize;
    return DisplayFit::Place;
}

QRect CenterForm(const QRect& mainWindow, const QRect& form)
{
    QRect r = form;
    r.moveTo(mainWindow.left() + (mainWindow.width() - form.width()) / 2,
             mainWindow.top() + (mainWindow.height() - form.height()) / 2);
    return r;
}

QRect KeepOnScreen(const QRect& form, const QRect& screen)
{
    QRect r = form;
    if (r.right() > screen.right())
        r.moveRight(screen.right());
    if (r.bottom() > screen.bottom())
        r.moveBottom(screen.bottom());
    if (r.left() < screen.left())
        r.moveLeft(screen.left());
    if (r.top() < screen.top())
        r.moveTop(screen.top());
    return r;
}

QString GetCopyrightText()
{
    return ui::Lines({QStringLiteral("Copyright \u00A9 1998-2026 Tolmar Advanced development team."),
                      QStringLiteral("Portions copyright \u00A9 their control vendors, used under licence."),
                      QStringLiteral("All rights reserved.")});
}

} // namespace core
