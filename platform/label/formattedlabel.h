#pragma once

#include <QList>
#include <QString>
#include <QHash>
#include <QWidget>

class QTextDocument;

namespace label {

// A caption with inline tags between vertical bars, names in any case:
//   |CR|          a new paragraph
//   |B:1| |B:0|   bold on and off
//   |Before:n|    space before each following paragraph (twips)
//   |Left:n| |PARALEFT:n| |Right:n|   left and right indent of the following paragraphs (twips)
// Paragraph settings hold from the tag on, until changed; a paragraph takes those in force
// when its first text is written. Figures are held within ten inches (14400 twips) either way.
// Anything between bars that is not a tag shows as text.

struct Run {
    QString text;
    bool bold = false;
    bool operator==(const Run&) const = default;
};

struct Paragraph {
    QList<Run> runs;
    int beforeTwips = 0;
    int leftTwips = 0;
    int rightTwips = 0;
    QString text() const;
};

QList<Paragraph> ParseMarkup(const QString& caption);

class FormattedLabel : public QWidget {
    Q_OBJECT
public:
    explicit FormattedLabel(QWidget* parent = nullptr);
    ~FormattedLabel() override;

    void setCaption(const QString& caption);
    QString caption() const { return mCaption; }
    // The plain text shown, paragraphs separated by "\n".
    QString plainText() const;
    const QTextDocument* document() const { return mDoc; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void rebuild();
    void layOutFor(int width) const;

    QString mCaption;
    QTextDocument* mDoc;
    mutable QHash<int, int> mHeights;   // by width, until the text or the font changes
};

} // namespace label
