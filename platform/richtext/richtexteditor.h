#pragma once

#include <QString>
#include <QTextEdit>
#include <QWidget>

class QComboBox;
class QToolBar;
class QAction;
class QTextCharFormat;

namespace richtext {

class Ruler;

// The text area of a body: copies and pastes RTF as well as plain text. Tab types a tab (bodies
// keep tab stops); Ctrl+Tab and Ctrl+Shift+Tab move the focus on and back, so that a keyboard
// user can leave the body.
class BodyTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit BodyTextEdit(QWidget* parent = nullptr);

signals:
    void focusEntered();

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The rich-text editor of a topic body: text area, button bar and an optional
// ruler. changed() is raised for every edit by the user (typing, paste,
// formatting, spelling corrections), never by setRtf().
class RichTextEditor : public QWidget
{
    Q_OBJECT

public:
    explicit RichTextEditor(QWidget* parent = nullptr);

    void setRtf(const QString& rtf);  // text that is not RTF shows as plain text
    QString rtf() const;
    QString plainText() const;
    int plainTextLength() const;
    void clear();

    void setRulerVisible(bool visible);
    bool isRulerVisible() const;

    BodyTextEdit* textEdit() const { return mEdit; }
    QTextDocument* document() const;
    QToolBar* buttonBar() const { return mBar; }
    Ruler* ruler() const { return mRuler; }

public slots:
    void cut();
    void copy();
    void paste();

signals:
    void changed();
    void focusEntered();

private:
    void buildButtonBar();
    void mergeFormat(const QTextCharFormat& format);
    void setAlignment(Qt::Alignment alignment);
    void toggleList(bool numbered);
    void shiftIndent(int twips);
    void refreshButtons();

    BodyTextEdit* mEdit = nullptr;
    QToolBar* mBar = nullptr;
    Ruler* mRuler = nullptr;
    QComboBox* mSize = nullptr;
    QAction* mBold = nullptr;
    QAction* mItalic = nullptr;
    QAction* mUnderline = nullptr;
    QAction* mLeft = nullptr;
    QAction* mCentre = nullptr;
    QAction* mRight = nullptr;
    QAction* mJustify = nullptr;
    QAction* mBullets = nullptr;
    QAction* mNumbers = nullptr;
    bool mLoading = false;
};

} // namespace richtext
