#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QTabBar;

namespace tabs {

// A row of index tabs addressed by position. The caption list is one text with the captions
// separated by "|"; it begins with "|", so position 0 has an empty caption and is usually hidden.
// Every change of the current position, by the user or by the program, raises switching()
// first (which may cancel it) and clicked() after; setting the current position again raises
// nothing.
class IndexTab : public QWidget {
    Q_OBJECT
public:
    explicit IndexTab(QWidget* parent = nullptr);

    void setCaptions(const QString& captionList);
    QString captions() const;
    int count() const;                      // positions, position 0 included
    QString caption(int position) const;

    // A position that is switched off is neither shown nor chosen by a click.
    void setTabEnabled(int position, bool enabled);
    bool isTabEnabled(int position) const;

    int currentTab() const { return mCurrent; }
    // Returns false when the change was cancelled or the position does not exist.
    bool setCurrentTab(int position);

    QTabBar* bar() const { return mBar; }
    // True while a change the user makes with the arrow keys runs (its switching() and
    // clicked()), so the owner can leave the focus on the row for the next step.
    bool steppingByKey() const { return mByKey; }

signals:
    void switching(int oldTab, int newTab, bool* cancel);
    void clicked();

private:
    friend class TabBar;
    void userChose(int position, bool byKey);

    QTabBar* mBar = nullptr;
    QStringList mCaptions;
    int mCurrent = -1;
    bool mByKey = false;
};

} // namespace tabs
