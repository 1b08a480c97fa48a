#include "platform/ui/userinputblock.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace ui {

namespace {

bool IsUserInput(const QEvent& event)
{
    if (event.isInputEvent())   // keys, mouse, wheel, touch, tablet, context menu, hover
        return true;
    switch (event.type()) {
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    case QEvent::Close:
        // The close box; the program's own close() is not the user's.
        return event.spontaneous();
    default:
        return false;
    }
}

// Whether the receiver is the window, or is in it: a widget, its native window, or an object
// a widget of it owns (an action, a shortcut).
bool IsIn(QObject* receiver, const QWidget* window)
{
    if (auto* native = qobject_cast<QWindow*>(receiver))
        return native == window->windowHandle();
    for (QObject* o = receiver; o; o = o->parent())
        if (auto* widget = qobject_cast<QWidget*>(o))
            return widget->window() == window;
    return false;
}

class Filter : public QObject {
public:
    explicit Filter(QWidget* modalBefore) : mModalBefore(modalBefore) {}

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!IsUserInput(*event))
            return false;
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != mModalBefore && IsIn(receiver, modal))
            return false;
        // A close left accepted would close the window all the same; other input, left
        // ignored, would be offered to each widget up the chain.
        event->setAccepted(event->type() != QEvent::Close);
        return true;
    }

private:
    QPointer<QWidget> mModalBefore;
};

int gBlocks = 0;
Filter* gFilter = nullptr;

} // namespace

UserInputBlock::UserInputBlock()
{
    if (gBlocks++ == 0 && qApp) {
        gFilter = new Filter(QApplication::activeModalWidget());
        qApp->installEventFilter(gFilter);
    }
}

UserInputBlock::~UserInputBlock()
{
    if (--gBlocks == 0) {
        delete gFilter;   // taken off the application's filters as it goes
        gFilter = nullptr;
    }
}

void ProcessEventsWithoutInput()
{
    const UserInputBlock block;
    QCoreApplication::processEvents();
}

} // namespace ui
