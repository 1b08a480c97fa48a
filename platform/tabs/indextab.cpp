#include "platform/tabs/indextab.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace tabs {

// The bar only draws; every change of position goes through IndexTab so that the
// notifications come in the same order whoever asks for the change.
class TabBar : public QTabBar {
public:
    TabBar(IndexTab* owner) : QTabBar(owner), mOwner(owner)
    {
        setDrawBase(true);
        setExpanding(false);
        setUsesScrollButtons(true);
        setFocusPolicy(Qt::TabFocus);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton) {
            e->ignore();
            return;
        }
        int index = tabAt(e->position().toPoint());
        if (index >= 0)
            mOwner->userChose(index, false);
    }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override { QTabBar::mouseMoveEvent(e); }
    void wheelEvent(QWheelEvent* e) override { e->ignore(); }
    void keyPressEvent(QKeyEvent* e) override
    {
        int step = 0;
        if (e->key() == Qt::Key_Left || e->key() == Qt::Key_Up)
            step = -1;
        else if (e->key() == Qt::Key_Right || e->key() == Qt::Key_Down)
            step = 1;
        if (step == 0) {
            QTabBar::keyPressEvent(e);
            return;
        }
        for (int i = mOwner->currentTab() + step; i >= 0 && i < count(); i += step) {
            if (mOwner->isTabEnabled(i)) {
                mOwner->userChose(i, true);
                break;
            }
        }
    }

private:
    IndexTab* mOwner;
};

IndexTab::IndexTab(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mBar = new TabBar(this);
    layout->addWidget(mBar);
    layout->addStretch();
}

void IndexTab::setCaptions(const QString& captionList)
{
    QStringList list = captionList.split(QLatin1Char('|'));
    QList<bool> enabled;
    for (int i = 0; i < list.size(); ++i)
        enabled.append(i < mBar->count() ? mBar->isTabVisible(i) : true);

    const QSignalBlocker block(mBar);
    while (mBar->count() > list.size())
        mBar->removeTab(mBar->count() - 1);
    for (int i = 0; i < list.size(); ++i) {
        if (i < mBar->count())
            mBar->setTabText(i, list[i]);
        else
            mBar->addTab(list[i]);
        mBar->setTabVisible(i, enabled[i]);
    }
    mCaptions = list;
    if (mCurrent >= mBar->count())
        mCurrent = -1;
    if (mCurrent >= 0)
        mBar->setCurrentIndex(mCurrent);
}

QString IndexTab::captions() const { return mCaptions.join(QLatin1Char('|')); }
int IndexTab::count() const { return mCaptions.size(); }
QString IndexTab::caption(int position) const { return mCaptions.value(position); }

void IndexTab::setTabEnabled(int position, bool enabled)
{
    if (position >= 0 && position < mBar->count())
        mBar->setTabVisible(position, enabled);
}

bool IndexTab::isTabEnabled(int position) const
{
    return position >= 0 && position < mBar->count() && mBar->isTabVisible(position);
}

bool IndexTab::setCurrentTab(int position)
{
    if (position < 0 || position >= count())
        return false;
    if (position == mCurrent)
        return true;
    bool cancel = false;
    emit switching(mCurrent, position, &cancel);
    if (cancel)
        return false;
    mCurrent = position;
    {
        const QSignalBlocker block(mBar);
        mBar->setCurrentIndex(position);
    }
    emit clicked();
    return true;
}

void IndexTab::userChose(int position, bool byKey)
{
    if (!isEnabled() || !isTabEnabled(position))
        return;
    const QScopedValueRollback<bool> stepping(mByKey, byKey);
    setCurrentTab(position);
}

} // namespace tabs
