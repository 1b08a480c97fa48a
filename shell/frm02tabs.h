#pragma once

#include <QWidget>

namespace tabs {
class IndexTab;
}

namespace shell {

class frm0_Tolmar;

// The two tab rows docked along the bottom of the main window: sections and the worksheets
// of the current section. Changing either saves and unloads the worksheet on screen and
// shows the chosen one.
class frm02Tabs : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeightTwips = 675;

    frm02Tabs(frm0_Tolmar* main, QWidget* parent);
    ~frm02Tabs() override;

    void InitializeTabs();
    void ChangeSections();
    // The section's introduction, in place of a worksheet that has been dropped.
    void ShowIntroduction();

    tabs::IndexTab* vsTab1() const { return mSections; }
    tabs::IndexTab* vsTab2() const { return mWorksheets; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void vsTab1_Switch(int oldTab, int newTab, bool* cancel);
    void vsTab1_Click();
    void vsTab2_Switch(int oldTab, int newTab, bool* cancel);
    void vsTab2_Click();
    void KeepStepping(tabs::IndexTab* row);

    frm0_Tolmar* mMain;
    tabs::IndexTab* mSections;
    tabs::IndexTab* mWorksheets;
};

} // namespace shell
