#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

namespace label {
class FormattedLabel;
}

namespace shell {

// The start page: title, overview and the New, Open and Exit buttons. While a file is loaded
// it stays behind the worksheets as an empty framed background.
class frm01Start : public QWidget {
    Q_OBJECT
public:
    explicit frm01Start(QWidget* parent);
    ~frm01Start() override;

    void SetBackground();
    bool isBackground() const { return mBackground; }

    label::FormattedLabel* flbStart() const { return mStartText; }
    label::FormattedLabel* flbOverview() const { return mOverview; }
    QLabel* lblTitle() const { return mTitle; }
    QLabel* lblCopyright() const { return mCopyright; }
    QPushButton* cmdNew() const { return mNew; }
    QPushButton* cmdOpen() const { return mOpen; }
    QPushButton* cmdExit() const { return mExit; }
    QFrame* pnlOverview() const { return mPnlOverview; }
    QFrame* pnlButtons() const { return mPnlButtons; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool mBackground = false;
    QFrame* mPnlOverview;
    QFrame* mPnlButtons;
    QFrame* mCard;
    label::FormattedLabel* mStartText;
    label::FormattedLabel* mOverview;
    QLabel* mTitle;
    QLabel* mCopyright;
    QPushButton* mNew;
    QPushButton* mOpen;
    QPushButton* mExit;
};

} // namespace shell
