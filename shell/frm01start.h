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
    // A page made as a background never builds its card unless asked for one of its parts.
    explicit frm01Start(QWidget* parent, bool background = false);
    ~frm01Start() override;

    void SetBackground();
    bool isBackground() const { return mBackground; }

    label::FormattedLabel* flbStart() const;
    label::FormattedLabel* flbOverview() const;
    QLabel* lblTitle() const;
    QLabel* lblCopyright() const;
    QPushButton* cmdNew() const;
    QPushButton* cmdOpen() const;
    QPushButton* cmdExit() const;
    QFrame* pnlOverview() const;
    QFrame* pnlButtons() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildCard() const;
    void makeCard();
    void hideCard();

    bool mBackground = false;
    QFrame* mCard = nullptr;
    QFrame* mPnlOverview;
    QFrame* mPnlButtons;
    label::FormattedLabel* mStartText;
    label::FormattedLabel* mOverview;
    QLabel* mTitle;
    QLabel* mCopyright;
    QPushButton* mNew;
    QPushButton* mOpen;
    QPushButton* mExit;
};

} // namespace shell
