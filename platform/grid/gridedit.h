#pragma once

#include <QLineEdit>

#include <functional>

namespace grid {

// The cell editor. Every character typed into it first passes the filter, which may change it
// or discard it (code 0). A paste goes in as it is, to be judged whole when the edit ends, as
// the form judges any text of the cell: a typing filter would turn "1.5" or "-3" into another
// number without a word.
class GridEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit GridEdit(QWidget* parent);

    std::function<void(int& code)> filter;
    // Most characters the user may bring the text to; 0: no limit. Unlike the line edit's own
    // maximum, it never cuts a longer text the editor was opened with.
    int limit = 0;

    // Inserts text at the cursor, one filtered character at a time; a line break or tab ends it.
    void insertFiltered(const QString& text);
    // Inserts pasted text at the cursor as it is, up to a line break or tab, as far as the
    // length allows.
    void insertPasted(const QString& text);

public slots:
    // The clipboard's text within the length; hides the line edit's own paste, which a caller
    // reaching this editor by its slot name (the Edit menu) would otherwise get.
    void paste();

signals:
    void commitRequested(int key);      // Enter, Tab, Up or Down
    void cancelRequested();             // Escape
    void keyReleased(int key, int shift);
    void focusLost();

protected:
    bool hasRoom() const;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};

} // namespace grid
