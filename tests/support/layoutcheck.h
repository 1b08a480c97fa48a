#pragma once

// What a window shows of what it holds, measured by geometry and font metrics, never by pixels:
// the window on its screen, every control inside its window, every number whole, every caption
// uncut. A name may be cut where it keeps its column, but then its whole text is the tooltip;
// what scrolls (the content of a list, a grid or a scrolled area beyond its edges, the text of
// a box being edited) is left out, a grid's cells aside: a grid must be able to scroll to every
// cell, and its numbers and headers must fit their columns.

#include "platform/canvas/canvas.h"
#include "platform/grid/grid.h"
#include "platform/grid/griddelegate.h"
#include "platform/label/formattedlabel.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <functional>

namespace testsupport {

// A figure as the program shows one: "9000", "-110,000,000", "$1,596,000", "12.5%", "(1,000)".
inline bool IsFigure(const QString& text)
{
    static const QRegularExpression figure(
        QStringLiteral(R"(^\s*\(?[-+]?\$?\s*[-+]?(\d[\d,]*(\.\d*)?|\.\d+)\s*%?\)?\s*$)"));
    return figure.match(text).hasMatch();
}

// Tells a name (which may be cut in a header, whole in its tooltip) from a caption.
using NameTest = std::function<bool(const QString&)>;

namespace layoutcheck {

inline QString Where(const QWidget* w, const QWidget* window)
{
    QStringList path;
    for (const QWidget* p = w; p && p != window; p = p->parentWidget())
        path.prepend(p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className()) : p->objectName());
    return path.join(QLatin1Char('/'));
}

inline QString Shown(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("&&"), QLatin1String("\x01"));
    shown.remove(QLatin1Char('&'));
    shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return shown;
}

// Content that scrolls inside a scroll area (a viewport's children, a grid's cell editor).
inline bool Scrolls(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (auto* area = qobject_cast<const QAbstractScrollArea*>(p->parentWidget()); area && area->viewport() == p)
            return true;
    return false;
}

// Pixels the widest line takes as it is painted, to the nearest pixel.
inline int Painted(const QFont& font, const QString& text)
{
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (const QString& line : QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n').split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return int(std::round(widest));
}

// A cut name is told whole in its tooltip.
inline bool ToldWhole(const QWidget* w, const QString& text) { return !text.isEmpty() && w->toolTip() == text; }

inline void CheckGrid(const grid::Grid* g, const QString& where, const NameTest& isName, QStringList& faults)
{
    int width = 0;
    for (int c = 0; c < g->cols(); ++c)
        if (!g->isColumnHidden(c))
            width += g->columnWidth(c);
    int height = 0;
    for (int r = 0; r < g->rows(); ++r)
        if (!g->isRowHidden(r))
            height += g->QTableView::rowHeight(r);
    if (width > g->viewport()->width() && !g->horizontalScrollBar()->isVisible())
        faults << QStringLiteral("%1: columns %2 px wide in %3 px, and no scroll bar").arg(where).arg(width).arg(g->viewport()->width());
    if (height > g->viewport()->height() && !g->verticalScrollBar()->isVisible())
        faults << QStringLiteral("%1: rows %2 px high in %3 px, and no scroll bar").arg(where).arg(height).arg(g->viewport()->height());
    const QFontMetrics metrics(g->font());
    for (int r = 0; r < g->rows(); ++r) {
        if (g->isRowHidden(r))
            continue;
        for (int c = 0; c < g->cols(); ++c) {
            if (g->isColumnHidden(c))
                continue;
            const QRect merged = g->mergedRange(r, c);
            if (merged.x() != c || merged.y() != r)
                continue;
            const bool header = r < g->fixedRows() || c < g->fixedCols();
            const QString text = g->displayText(r, c);
            if (text.isEmpty() || (!header && g->colDataType(c) == grid::DataType::Boolean))
                continue;
            // A name may be cut (with an ellipsis, whole in the tooltip); without a test for
            // names, every text but a figure counts as one.
            if (!header && !IsFigure(text) && (!isName || isName(text)))
                continue;
            int room = g->showGrid() ? -1 : 0;   // a cell is painted inside the grid line at its right
            for (int m = c; m < c + merged.width(); ++m)
                room += g->isColumnHidden(m) ? 0 : g->columnWidth(m);
            int high = 0;
            for (int m = r; m < r + merged.height(); ++m)
                high += g->isRowHidden(m) ? 0 : g->QTableView::rowHeight(m);
            const bool wrap = g->colWordWrap(c);
            if (wrap && isName && isName(text))
                continue;   // a name that wraps ends in an ellipsis where its cell is full
            QString shown = text;
            if (!wrap && isName) {   // the lines of a header other than a name's
                QStringList lines = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n').split('\n');
                lines.removeIf(isName);
                shown = lines.join(QLatin1Char('\n'));
                if (shown.isEmpty())
                    continue;
            }
            const grid::CellText laid = grid::LayOutCellText(metrics, QRect(0, 0, room, high), text, wrap);
            QRect used = metrics.boundingRect(QRect(0, 0, laid.rect.width(), 1 << 20), wrap ? int(Qt::TextWordWrap) : 0,
                                              wrap ? laid.text : QString(text).replace('\r', QString()));
            used.setWidth(wrap ? used.width() : Painted(g->font(), shown));
            if (!header && !wrap)   // a figure laid out unrounded, as it is painted
                used.setWidth(int(std::ceil(QFontMetricsF(g->font()).horizontalAdvance(laid.text))));
            if (used.width() > laid.rect.width() || used.height() > laid.rect.height() + 2)
                faults << QStringLiteral("%1: cell (%2, %3) \"%4\" needs %5 x %6 px, has %7 x %8")
                              .arg(where).arg(r).arg(c).arg(text).arg(used.width()).arg(used.height())
                              .arg(laid.rect.width()).arg(laid.rect.height());
        }
    }
}

// The texts of a drawing lie inside it and clear of one another.
inline void CheckDrawing(const canvas::Canvas* picture, const QString& where, QStringList& faults)
{
    const double scale = picture->pixelsPerTwip();
    QList<std::pair<QRect, QString>> texts;
    for (const canvas::Shape& shape : picture->drawing().shapes()) {
        if (shape.kind != canvas::Shape::Kind::Text || shape.text.trimmed().isEmpty())
            continue;
        const QFontMetrics metrics(shape.font);
        const QRect at(int(shape.x1 * scale), int(shape.y1 * scale), metrics.horizontalAdvance(shape.text), metrics.ascent());
        if (!picture->rect().contains(at))
            faults << QStringLiteral("%1: \"%2\" runs past the drawing's edge").arg(where, shape.text);
        for (const auto& [other, text] : texts)
            if (other.intersects(at))
                faults << QStringLiteral("%1: \"%2\" lies over \"%3\"").arg(where, shape.text, text);
        texts.append({at, shape.text});
    }
}

inline void CheckText(QWidget* w, const QString& where, const NameTest& isName, QStringList& faults)
{
    const auto cut = [&](const QString& text, int need, int room) {
        faults << QStringLiteral("%1: \"%2\" needs %3 px, has %4").arg(where, text).arg(need).arg(room);
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const QString text = label->text();
        if (text.isEmpty() || ToldWhole(label, text) || (text.endsWith(QChar(0x2026)) && !label->toolTip().isEmpty()))
            return;
        if (label->wordWrap() || Qt::mightBeRichText(text)) {
            const int need = label->heightForWidth(label->width());
            if (need > label->height())
                faults << QStringLiteral("%1: \"%2\" needs %3 px of height, has %4").arg(where, text).arg(need).arg(label->height());
            else if (label->wordWrap() && !Qt::mightBeRichText(text)) {
                // A word longer than the line is cut, not broken.
                const QRect room = label->contentsRect().adjusted(label->margin(), 0, -label->margin(), 0);
                for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
                    if (label->fontMetrics().horizontalAdvance(word) > room.width())
                        cut(word, label->fontMetrics().horizontalAdvance(word), room.width());
            }
            return;
        }
        const QString shown = label->buddy() ? Shown(text) : text;
        const QRect room = label->contentsRect().adjusted(label->margin(), 0, -label->margin(), 0);
        int indent = label->indent();
        if (indent < 0)   // a framed label indents by half an x
            indent = label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
        const int need = Painted(label->font(), shown) + indent;
        if (need > room.width())
            cut(shown, need, room.width());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        const QString shown = Shown(button->text());
        if (auto* tool = qobject_cast<QToolButton*>(button);
            tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly && !tool->icon().isNull())
            return;   // its text is its tooltip
        if (shown.isEmpty())
            return;
        int need = button->fontMetrics().horizontalAdvance(shown);
        if (!button->icon().isNull())
            need += button->iconSize().width() + 4;
        QRect room;
        if (auto* push = qobject_cast<QPushButton*>(button)) {
            QStyleOptionButton option;
            option.initFrom(push);
            option.text = push->text();
            room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
        } else if (qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const bool radio = qobject_cast<QRadioButton*>(button);
            room = button->style()->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents,
                                                   &option, button);
        } else {
            room = button->rect();
        }
        if (need > room.width())
            cut(shown, need, room.width());
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
        const QString shown = Shown(box->title());
        if (shown.isEmpty())
            return;
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        const QRect room = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        const int need = box->fontMetrics().horizontalAdvance(shown);
        if (need > room.width() || room.right() > box->width())
            cut(shown, need, room.width());
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const QString text = edit->displayText();
        if (!IsFigure(text))
            return;   // a name or a text scrolls as it is typed
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        const QMargins margins = edit->textMargins();
        const int room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() -
                         margins.left() - margins.right() - 2 * 2;
        const int need = edit->fontMetrics().horizontalAdvance(text);
        if (need > room)
            cut(text, need, room);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QString text = combo->currentText();
        if (text.isEmpty() || ToldWhole(combo, text))
            return;
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        const int need = combo->fontMetrics().horizontalAdvance(text) + 2;
        if (need > field.width())
            cut(text, need, field.width());
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
        const int space = tabs->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs);
        for (int i = 0; i < tabs->count(); ++i) {
            const QString shown = Shown(tabs->tabText(i));
            const int need = tabs->fontMetrics().horizontalAdvance(shown) + space;
            if (tabs->isTabVisible(i) && need > tabs->tabRect(i).width())
                cut(shown, need, tabs->tabRect(i).width());
        }
    } else if (auto* formatted = qobject_cast<label::FormattedLabel*>(w)) {
        const int need = formatted->heightForWidth(formatted->width());
        if (need > formatted->height())
            faults << QStringLiteral("%1: its text needs %2 px of height, has %3").arg(where).arg(need).arg(formatted->height());
    } else if (auto* g = qobject_cast<grid::Grid*>(w)) {
        CheckGrid(g, where, isName, faults);
    } else if (auto* picture = qobject_cast<canvas::Canvas*>(w)) {
        CheckDrawing(picture, where, faults);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        // Its entries wrap or are cut with an ellipsis and told whole in their tooltips: two
        // long names that begin alike must not look alike at the list's edge.
        if (list->horizontalScrollBar()->isVisible())
            faults << QStringLiteral("%1: its entries run past its edge").arg(where);
    }
}

// Controls a layout places side by side never lie over one another (a layout short of room
// squeezes them below their size and they overlap, the later one hiding the end of the other).
inline void CheckOverlap(const QWidget* w, const QWidget* window, const QString& where, QStringList& faults)
{
    const QWidget* parent = w->parentWidget();
    if (!parent || !parent->layout() || qobject_cast<const QAbstractScrollArea*>(parent) ||
        qobject_cast<const QAbstractScrollArea*>(parent->parentWidget()))
        return;
    const QList<QWidget*> siblings = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(w)) + 1; i < siblings.size(); ++i) {
        const QWidget* other = siblings[i];
        if (other->isVisible() && !other->isWindow() && other->geometry().intersects(w->geometry()))
            faults << QStringLiteral("%1 and %2 overlap").arg(where, Where(other, window));
    }
}

} // namespace layoutcheck

// The faults of a window as it now shows, one line each, naming the control by its path of
// object names; isName tells the lines of a grid's header that are names. The window stands on its screen's available area; a dialog's title has the
// room a title bar needs (its text in the window's font, and 120 px for the icon and buttons).
inline QStringList LayoutFaults(QWidget* window, const NameTest& isName = {})
{
    QApplication::processEvents();
    QStringList faults;
    const QString name = window->objectName().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                                        : window->objectName();
    if (const QScreen* screen = window->screen(); screen && !screen->availableGeometry().contains(window->frameGeometry()))
        faults << QStringLiteral("%1: the window (%2, %3, %4 x %5) is not inside the screen (%6 x %7)")
                      .arg(name).arg(window->frameGeometry().x()).arg(window->frameGeometry().y())
                      .arg(window->frameGeometry().width()).arg(window->frameGeometry().height())
                      .arg(screen->availableGeometry().width()).arg(screen->availableGeometry().height());
    if (window->parentWidget() || window->isModal()) {
        QFont bold = window->font();
        bold.setBold(true);
        const int need = QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + 120;
        if (!window->windowTitle().isEmpty() && need > window->width())
            faults << QStringLiteral("%1: the title \"%2\" needs %3 px, the window is %4 px wide")
                          .arg(name, window->windowTitle()).arg(need).arg(window->width());
    }
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->isWindow() || w->window() != window)
            continue;
        if (layoutcheck::Scrolls(w, window))
            continue;
        const QString where = name + QLatin1Char('/') + layoutcheck::Where(w, window);
        const QRect rect(w->mapTo(window, QPoint(0, 0)), w->size());
        QRect shown = rect;
        for (const QWidget* p = w->parentWidget(); p; p = p == window ? nullptr : p->parentWidget())
            shown &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
        if (!rect.isEmpty() && shown != rect) {
            faults << QStringLiteral("%1: at (%2, %3, %4 x %5), only (%6, %7, %8 x %9) of it inside")
                          .arg(where).arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height())
                          .arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height());
            continue;
        }
        layoutcheck::CheckText(w, where, isName, faults);
        layoutcheck::CheckOverlap(w, window, where, faults);
    }
    return faults;
}

} // namespace testsupport
