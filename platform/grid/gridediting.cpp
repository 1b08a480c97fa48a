#include "platform/grid/grid.h"

#include "platform/grid/gridedit.h"
#include "platform/ui/guard.h"

#include <QApplication>
#include <QClipboard>

namespace grid {

bool Grid::isEditing() const { return mEditRow >= 0; }

QString Grid::editText() const { return isEditing() ? mEditor->text() : text(mRow, mCol); }

void Grid::setEditText(const QString& text)
{
    if (!isEditing())
        return;
    mSettingEditText = true;
    mEditor->setText(text);
    mSettingEditText = false;
}

void Grid::setEditMaxLength(int length)
{
    mEditMaxLength = std::max(0, length);
    if (mEditor)
        mEditor->limit = mEditMaxLength;
}

void Grid::editCell()
{
    ui::CallThroughQt([this] { startEdit(nullptr); });
}

bool Grid::startEdit(const QString* replaceWith)
{
    if (isEditing())
        return true;
    if (!isDataCell(mRow, mCol) || mModel->column(mCol).type == DataType::Boolean)
        return false;
    bool cancel = false;
    emit beforeEdit(mRow, mCol, cancel);
    if (cancel || !isDataCell(mRow, mCol))
        return false;

    if (!mEditor) {
        mEditor = new GridEdit(viewport());
        mEditor->hide();
        mEditor->filter = [this](int& code) { emit keyPressEdit(mEditRow, mEditCol, code); };
        connect(mEditor, &QLineEdit::textChanged, this, [this] {
            if (!mSettingEditText && isEditing())
                emit changeEdit();
        });
        connect(mEditor, &GridEdit::cancelRequested, this, &Grid::cancelEdit);
        connect(mEditor, &GridEdit::keyReleased, this, [this](int key, int shift) {
            if (isEditing())
                emit keyUpEdit(mEditRow, mEditCol, key, shift);
        });
        connect(mEditor, &GridEdit::commitRequested, this, [this](int key) {
            commitEdit();
            int r = mRow;
            int c = mCol;
            if (key == Qt::Key_Up)
                --r;
            else if (key == Qt::Key_Down)
                ++r;
            else if (key == Qt::Key_Tab)
                ++c;
            else if (key == Qt::Key_Backtab)
                --c;
            if (isDataCell(r, c)) {
                moveCurrent(r, c);
                showCell(r, c);
            }
        });
        connect(mEditor, &GridEdit::focusLost, this, [this] {
            if (!isEditing())
                return;
            commitEdit();
            if (QApplication::focusWidget() != this)
                emit lostFocus();
        });
    }
    mEditRow = mRow;
    mEditCol = mCol;
    mSettingEditText = true;
    mEditor->setText(text(mRow, mCol));
    mEditor->limit = mEditMaxLength;
    mSettingEditText = false;
    mEditor->setAlignment(mModel->alignment(mRow, mCol));
    mEditor->setFont(font());
    mEditor->selectAll();
    placeEditor();
    mEditor->show();
    mEditor->setFocus(Qt::OtherFocusReason);
    if (replaceWith)
        mEditor->insertFiltered(*replaceWith);
    return true;
}

void Grid::placeEditor()
{
    if (!isEditing())
        return;
    mEditor->setGeometry(cellRectPixels(mEditRow, mEditCol).adjusted(1, 1, -1, -1));
}

void Grid::commitEdit()
{
    if (!isEditing())
        return;
    const int r = mEditRow;
    const int c = mEditCol;
    const QString typed = mEditor->text();
    mEditRow = mEditCol = -1;
    if (mEditor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    mEditor->hide();
    setText(r, c, typed);
    emit afterEdit(r, c);
}

void Grid::cancelEdit()
{
    if (!isEditing())
        return;
    const int r = mEditRow;
    const int c = mEditCol;
    mEditRow = mEditCol = -1;
    if (mEditor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    mEditor->hide();
    emit editCancelled(r, c);
}

void Grid::finishEdit()
{
    ui::CallThroughQt([this] { commitEdit(); });
}

void Grid::toggleCheck()
{
    if (!isDataCell(mRow, mCol) || mModel->column(mCol).type != DataType::Boolean)
        return;
    bool cancel = false;
    emit beforeEdit(mRow, mCol, cancel);
    if (cancel || !isDataCell(mRow, mCol))
        return;
    const int r = mRow;
    const int c = mCol;
    setCellChecked(r, c, !cellChecked(r, c));
    emit afterEdit(r, c);
}

void Grid::copy()
{
    if (isEditing()) {
        mEditor->copy();
        return;
    }
    if (mModel->valid(mRow, mCol))
        QApplication::clipboard()->setText(text(mRow, mCol));
}

void Grid::cut()
{
    if (isEditing()) {
        mEditor->cut();
        return;
    }
    const QString was = text(mRow, mCol);
    if (!startEdit(nullptr))
        return;
    QApplication::clipboard()->setText(was);
    mEditor->selectAll();
    mEditor->del();
    commitEdit();
}

void Grid::paste()
{
    const QString clip = QApplication::clipboard()->text();
    if (isEditing()) {
        mEditor->insertPasted(clip);
        return;
    }
    if (!startEdit(nullptr))
        return;
    mEditor->insertPasted(clip);
    commitEdit();
}

} // namespace grid
