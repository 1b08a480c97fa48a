#include "platform/richtext/richtexteditor.h"

#include "platform/richtext/rtf.h"
#include "platform/richtext/ruler.h"
#include "platform/richtext/units.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPolygonF>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QToolBar>
#include <QVBoxLayout>

namespace richtext {

namespace {

const QString kRtfMime = QStringLiteral("text/rtf");
const QString kRtfMimeAlt = QStringLiteral("application/rtf");
constexpr int kIndentStepTwips = 360;

// Small drawn icons: no icon theme can be relied on. Each line is drawn from
// its first to its second x; a mark, when given, stands before lines 1 and 3.
QIcon LinesIcon(const QList<std::pair<int, int>>& lines, QChar mark = QChar())
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 40);
    p.setPen(QPen(ink, 1.2));
    int y = 3;
    for (const auto& [from, to] : lines) {
        if (to > from)
            p.drawLine(from, y, to, y);
        y += 3;
    }
    if (mark == u'*') {
        p.setBrush(ink);
        p.drawEllipse(QPointF(2.5, 3.5), 1.6, 1.6);
        p.drawEllipse(QPointF(2.5, 9.5), 1.6, 1.6);
    } else if (mark == u'1') {
        QFont f = p.font();
        f.setPixelSize(6);
        p.setFont(f);
        p.drawText(QRect(0, 0, 6, 7), Qt::AlignCenter, QStringLiteral("1"));
        p.drawText(QRect(0, 6, 6, 7), Qt::AlignCenter, QStringLiteral("2"));
    } else if (mark == u'<' || mark == u'>') {
        const double tip = mark == u'>' ? 5.5 : 0.5;
        const double back = mark == u'>' ? 0.5 : 5.5;
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({QPointF(back, 5), QPointF(back, 11), QPointF(tip, 8)}));
    }
    return QIcon(pm);
}

QIcon LetterIcon(const QString& letter, bool bold, bool italic, bool underline)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.setPen(QColor(20, 20, 20));
    p.drawText(pm.rect(), Qt::AlignCenter, letter);
    return QIcon(pm);
}

} // namespace

BodyTextEdit::BodyTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
    setTabChangesFocus(false);
}

bool BodyTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(kRtfMime) || source->hasFormat(kRtfMimeAlt) || QTextEdit::canInsertFromMimeData(source);
}

void BodyTextEdit::insertFromMimeData(const QMimeData* source)
{
    for (const QString& mime : {kRtfMime, kRtfMimeAlt}) {
        if (!source->hasFormat(mime))
            continue;
        QTextDocument part;
        if (ReadRtf(QString::fromLatin1(source->data(mime)), &part)) {
            textCursor().insertFragment(QTextDocumentFragment(&part));
            ensureCursorVisible();
            return;
        }
    }
    if (source->hasHtml()) {
        // Foreign HTML goes in as it will be saved: no pictures, no other fonts.
        QTextDocument html;
        html.setHtml(source->html());
        QTextDocument part;
        ReadRtf(WriteRtf(html), &part);
        textCursor().insertFragment(QTextDocumentFragment(&part));
        ensureCursorVisible();
        return;
    }
    if (source->hasText()) {
        textCursor().insertText(source->text());
        ensureCursorVisible();
    }
}

QMimeData* BodyTextEdit::createMimeDataFromSelection() const
{
    QMimeData* data = QTextEdit::createMimeDataFromSelection();
    QTextDocument part;
    part.setDefaultFont(DefaultFont());
    QTextCursor(&part).insertFragment(textCursor().selection());
    data->setData(kRtfMime, WriteRtf(part).toLatin1());
    return data;
}

void BodyTextEdit::focusInEvent(QFocusEvent* event)
{
    QTextEdit::focusInEvent(event);
    emit focusEntered();
}

void BodyTextEdit::keyPressEvent(QKeyEvent* event)
{
    const bool tabKey = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tabKey && (event->modifiers() & Qt::ControlModifier)) {
        const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        // The text edit itself refuses to pass the focus on while it types tabs.
        if (QAbstractScrollArea::focusNextPrevChild(!back)) {
            event->accept();
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
}

RichTextEditor::RichTextEditor(QWidget* parent)
    : QWidget(parent)
{
    mEdit = new BodyTextEdit(this);
    mEdit->document()->setDefaultFont(DefaultFont());
    mEdit->setFont(DefaultFont());
    mBar = new QToolBar(this);
    mBar->setIconSize(QSize(16, 16));
    mRuler = new Ruler(mEdit, this);
    mRuler->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(mBar);
    layout->addWidget(mRuler);
    layout->addWidget(mEdit, 1);
    setFocusProxy(mEdit);

    buildButtonBar();

    connect(mEdit, &QTextEdit::textChanged, this, [this] {
        if (!mLoading)
            emit changed();
    });
    connect(mEdit, &BodyTextEdit::focusEntered, this, &RichTextEditor::focusEntered);
    connect(mEdit, &QTextEdit::cursorPositionChanged, this, &RichTextEditor::refreshButtons);
    connect(mEdit, &QTextEdit::currentCharFormatChanged, this, &RichTextEditor::refreshButtons);
    refreshButtons();
}

void RichTextEditor::buildButtonBar()
{
    mBold = mBar->addAction(LetterIcon(QStringLiteral("B"), true, false, false), tr("Bold"));
    mItalic = mBar->addAction(LetterIcon(QStringLiteral("I"), false, true, false), tr("Italic"));
    mUnderline = mBar->addAction(LetterIcon(QStringLiteral("U"), false, false, true), tr("Underline"));
    for (QAction* a : {mBold, mItalic, mUnderline})
        a->setCheckable(true);
    mBold->setShortcut(QKeySequence::Bold);
    mItalic->setShortcut(QKeySequence::Italic);
    mUnderline->setShortcut(QKeySequence::Underline);
    for (QAction* a : {mBold, mItalic, mUnderline})
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(mBold, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(f);
    });
    connect(mItalic, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        mergeFormat(f);
    });
    connect(mUnderline, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        mergeFormat(f);
    });

    mSize = new QComboBox(mBar);
    mSize->setToolTip(tr("Font size"));
    for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36})
        mSize->addItem(QString::number(s), s);
    mSize->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    mSize->setFocusPolicy(Qt::ClickFocus);
    mBar->addWidget(mSize);
    connect(mSize, &QComboBox::activated, this, [this](int index) {
        QTextCharFormat f;
        f.setFontPointSize(mSize->itemData(index).toInt());
        mergeFormat(f);
    });
    mBar->addSeparator();

    auto* aligns = new QActionGroup(this);
    mLeft = mBar->addAction(LinesIcon({{1, 15}, {1, 10}, {1, 15}, {1, 8}}), tr("Align left"));
    mCentre = mBar->addAction(LinesIcon({{1, 15}, {4, 12}, {1, 15}, {5, 11}}), tr("Centre"));
    mRight = mBar->addAction(LinesIcon({{1, 15}, {6, 15}, {1, 15}, {8, 15}}), tr("Align right"));
    mJustify = mBar->addAction(LinesIcon({{1, 15}, {1, 15}, {1, 15}, {1, 15}}), tr("Justify"));
    const std::pair<QAction*, Qt::Alignment> alignActions[] = {
        {mLeft, Qt::AlignLeft}, {mCentre, Qt::AlignHCenter}, {mRight, Qt::AlignRight}, {mJustify, Qt::AlignJustify}};
    for (const auto& [action, alignment] : alignActions) {
        action->setCheckable(true);
        aligns->addAction(action);
        connect(action, &QAction::triggered, this, [this, align = alignment] { setAlignment(align); });
    }
    mBar->addSeparator();

    mBullets = mBar->addAction(LinesIcon({{6, 15}, {0, 0}, {6, 15}, {0, 0}}, u'*'), tr("Bullets"));
    mNumbers = mBar->addAction(LinesIcon({{7, 15}, {0, 0}, {7, 15}, {0, 0}}, u'1'), tr("Numbering"));
    mBullets->setCheckable(true);
    mNumbers->setCheckable(true);
    connect(mBullets, &QAction::triggered, this, [this] { toggleList(false); });
    connect(mNumbers, &QAction::triggered, this, [this] { toggleList(true); });
    QAction* outdent = mBar->addAction(LinesIcon({{1, 15}, {8, 15}, {8, 15}, {1, 15}}, u'<'),
                                       tr("Decrease indent"));
    QAction* indent = mBar->addAction(LinesIcon({{1, 15}, {8, 15}, {8, 15}, {1, 15}}, u'>'),
                                      tr("Increase indent"));
    connect(outdent, &QAction::triggered, this, [this] { shiftIndent(-kIndentStepTwips); });
    connect(indent, &QAction::triggered, this, [this] { shiftIndent(kIndentStepTwips); });
    for (QAction* a : mBar->actions())
        if (!a->text().isEmpty())
            a->setToolTip(a->text());
}

void RichTextEditor::setRtf(const QString& rtf)
{
    mLoading = true;
    QTextDocument* doc = mEdit->document();
    if (!ReadRtf(rtf, doc))
        doc->setPlainText(rtf);
    doc->setDefaultFont(DefaultFont());
    doc->clearUndoRedoStacks();
    mEdit->moveCursor(QTextCursor::Start);
    mLoading = false;
    refreshButtons();
    mRuler->update();
}

QString RichTextEditor::rtf() const
{
    return WriteRtf(*mEdit->document());
}

QString RichTextEditor::plainText() const
{
    return PlainText(*mEdit->document());
}

int RichTextEditor::plainTextLength() const
{
    return int(plainText().size());
}

void RichTextEditor::clear()
{
    mLoading = true;
    mEdit->document()->clear();
    mEdit->document()->setDefaultFont(DefaultFont());
    mEdit->document()->clearUndoRedoStacks();
    mLoading = false;
}

QTextDocument* RichTextEditor::document() const
{
    return mEdit->document();
}

void RichTextEditor::setRulerVisible(bool visible)
{
    mRuler->setVisible(visible);
}

bool RichTextEditor::isRulerVisible() const
{
    return !mRuler->isHidden();
}

void RichTextEditor::cut()
{
    mEdit->cut();
}

void RichTextEditor::copy()
{
    mEdit->copy();
}

void RichTextEditor::paste()
{
    mEdit->paste();
}

void RichTextEditor::mergeFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = mEdit->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    mEdit->mergeCurrentCharFormat(format);
    mEdit->setFocus();
}

void RichTextEditor::setAlignment(Qt::Alignment alignment)
{
    mEdit->setAlignment(alignment);
    mEdit->setFocus();
}

void RichTextEditor::toggleList(bool numbered)
{
    QTextCursor cursor = mEdit->textCursor();
    const QTextListFormat::Style wanted = numbered ? QTextListFormat::ListDecimal : QTextListFormat::ListDisc;
    cursor.beginEditBlock();
    if (QTextList* list = cursor.currentList(); list && list->format().style() == wanted) {
        // Take the selected paragraphs out of the list.
        QTextBlock block = mEdit->document()->findBlock(cursor.selectionStart());
        const QTextBlock last = mEdit->document()->findBlock(cursor.selectionEnd());
        while (block.isValid()) {
            if (QTextList* l = block.textList())
                l->remove(block);
            QTextCursor c(block);
            QTextBlockFormat bf = block.blockFormat();
            bf.setIndent(0);
            c.setBlockFormat(bf);
            if (block == last)
                break;
            block = block.next();
        }
    } else if (list) {
        QTextListFormat f = list->format();
        f.setStyle(wanted);
        list->setFormat(f);
    } else {
        QTextListFormat f;
        f.setStyle(wanted);
        f.setIndent(1);
        cursor.createList(f);
    }
    cursor.endEditBlock();
    refreshButtons();
    mEdit->setFocus();
}

void RichTextEditor::shiftIndent(int twips)
{
    QTextCursor cursor = mEdit->textCursor();
    cursor.beginEditBlock();
    QTextBlock block = mEdit->document()->findBlock(cursor.selectionStart());
    const QTextBlock last = mEdit->document()->findBlock(cursor.selectionEnd());
    while (block.isValid()) {
        QTextBlockFormat bf = block.blockFormat();
        const int margin = qMax(0, PixelsToTwips(bf.leftMargin()) + twips);
        bf.setLeftMargin(TwipsToPixels(margin));
        QTextCursor(block).setBlockFormat(bf);
        if (block == last)
            break;
        block = block.next();
    }
    cursor.endEditBlock();
    mEdit->setFocus();
}

void RichTextEditor::refreshButtons()
{
    const QTextCharFormat cf = mEdit->currentCharFormat();
    mBold->setChecked(cf.fontWeight() > QFont::Medium);
    mItalic->setChecked(cf.fontItalic());
    mUnderline->setChecked(cf.fontUnderline());
    const int size = int(std::lround(cf.hasProperty(QTextFormat::FontPointSize) ? cf.fontPointSize()
                                                                             : DefaultFont().pointSizeF()));
    const int index = mSize->findData(size);
    if (index >= 0)
        mSize->setCurrentIndex(index);
    else
        mSize->setEditText(QString::number(size));
    const Qt::Alignment a = mEdit->alignment() & Qt::AlignHorizontal_Mask;
    mCentre->setChecked(a & Qt::AlignHCenter);
    mRight->setChecked((a & Qt::AlignRight) && !(a & Qt::AlignHCenter));
    mJustify->setChecked(a & Qt::AlignJustify);
    mLeft->setChecked(!mCentre->isChecked() && !mRight->isChecked() && !mJustify->isChecked());
    const QTextList* list = mEdit->textCursor().currentList();
    mNumbers->setChecked(list && list->format().style() == QTextListFormat::ListDecimal);
    mBullets->setChecked(list && !mNumbers->isChecked());
}

} // namespace richtext
