#include "platform/label/formattedlabel.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtMath>

namespace label {

QString Paragraph::text() const
{
    QString t;
    for (const Run& r : runs)
        t += r.text;
    return t;
}

QList<Paragraph> ParseMarkup(const QString& caption)
{
    constexpr int kMaxTwips = 14400;   // ten inches
    static const QRegularExpression tag(QStringLiteral("^\\|([A-Za-z]+)(?::(-?\\d+))?\\|"));

    QList<Paragraph> out;
    Paragraph current;
    bool started = false;     // the current paragraph has had text
    bool bold = false;
    int before = 0, left = 0, right = 0;

    auto addText = [&](const QString& text) {
        if (text.isEmpty())
            return;
        if (!started) {
            current.beforeTwips = before;
            current.leftTwips = left;
            current.rightTwips = right;
            started = true;
        }
        if (!current.runs.isEmpty() && current.runs.last().bold == bold)
            current.runs.last().text += text;
        else
            current.runs.append(Run{text, bold});
    };
    auto endParagraph = [&] {
        if (!started) {
            current.beforeTwips = before;
            current.leftTwips = left;
            current.rightTwips = right;
        }
        out.append(current);
        current = Paragraph{};
        started = false;
    };

    int i = 0;
    QString pending;
    while (i < caption.size()) {
        if (caption[i] == QLatin1Char('|')) {
            auto m = tag.match(QStringView(caption).mid(i));
            if (m.hasMatch()) {
                const QString name = m.captured(1).toUpper();
                const bool hasValue = m.capturedLength(2) > 0;
                // Captions ask for a few inches at most; a far larger figure would have the
                // layout work through miles of empty margin before the label could show.
                const int value = qBound(-kMaxTwips, m.captured(2).toInt(), kMaxTwips);
                addText(pending);
                pending.clear();
                bool known = true;
                if (name == QLatin1String("CR") && !hasValue) {
                    endParagraph();
                } else if (name == QLatin1String("B") && hasValue) {
                    bold = value != 0;
                } else if (name == QLatin1String("BEFORE") && hasValue) {
                    before = value;
                } else if ((name == QLatin1String("LEFT") || name == QLatin1String("PARALEFT")) && hasValue) {
                    left = value;
                } else if (name == QLatin1String("RIGHT") && hasValue) {
                    right = value;
                } else {
                    known = false;
                }
                if (known) {
                    i += m.capturedLength(0);
                    continue;
                }
            }
        }
        pending += caption[i];
        ++i;
    }
    addText(pending);
    if (started || !out.isEmpty() || !caption.isEmpty())
        endParagraph();
    return out;
}

namespace {
double PixelsPerTwip()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return dpi / 1440.0;
}
} // namespace

FormattedLabel::FormattedLabel(QWidget* parent) : QWidget(parent), mDoc(new QTextDocument(this))
{
    mDoc->setDocumentMargin(0);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

FormattedLabel::~FormattedLabel() = default;

void FormattedLabel::setCaption(const QString& caption)
{
    // Pages set their captions again each time they are shown; the same text is laid out already.
    if (caption == mCaption && !mDoc->isEmpty())
        return;
    mCaption = caption;
    rebuild();
}

QString FormattedLabel::plainText() const { return mDoc->toPlainText(); }

void FormattedLabel::rebuild()
{
    mHeights.clear();
    mDoc->clear();
    mDoc->setDefaultFont(font());
    const double scale = PixelsPerTwip();
    QTextCursor cursor(mDoc);
    bool first = true;
    for (const Paragraph& p : ParseMarkup(mCaption)) {
        QTextBlockFormat block;
        block.setTopMargin(p.beforeTwips * scale);
        block.setLeftMargin(p.leftTwips * scale);
        block.setRightMargin(p.rightTwips * scale);
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        for (const Run& r : p.runs) {
            QTextCharFormat chars;
            chars.setFontWeight(r.bold ? QFont::Bold : QFont::Normal);
            cursor.insertText(r.text, chars);
        }
    }
    updateGeometry();
    update();
}

void FormattedLabel::layOutFor(int width) const
{
    // Setting a width lays the whole text out again, even the width it already has.
    if (mDoc->textWidth() != width)
        mDoc->setTextWidth(width);
}

int FormattedLabel::heightForWidth(int width) const
{
    // Layouts ask for a few widths over and over while a page is set up.
    const auto known = mHeights.constFind(width);
    if (known != mHeights.constEnd())
        return *known;
    layOutFor(width);
    const int height = qCeil(mDoc->size().height());
    mHeights.insert(width, height);
    return height;
}

QSize FormattedLabel::sizeHint() const
{
    const int w = width() > 0 ? width() : 400;
    return {w, heightForWidth(w)};
}

QSize FormattedLabel::minimumSizeHint() const { return {50, fontMetrics().height()}; }

void FormattedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    layOutFor(width());
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.palette.setColor(QPalette::Text, palette().color(foregroundRole()));
    mDoc->documentLayout()->draw(&painter, context);
}

void FormattedLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        rebuild();
    QWidget::changeEvent(event);
}

} // namespace label
