#pragma once

// A worksheet as the shell shows it in the placed main window: a child of a host the size of
// the area that window leaves a worksheet, laid out and shown. The form is a window of its
// own again when this ends.

#include <QApplication>
#include <QWidget>

namespace testsupport {

class PlacedWorksheetArea {
public:
    static constexpr int kWidth = 792;
    static constexpr int kHeight = 526;

    explicit PlacedWorksheetArea(QWidget& form) : mForm(form)
    {
        mHost.resize(kWidth, kHeight);
        mForm.setParent(&mHost);
        mForm.setMinimumSize(0, 0);   // what its layout set while it was a window of its own
        mForm.setGeometry(0, 0, kWidth, kHeight);
        mHost.show();
        QApplication::processEvents();
    }
    ~PlacedWorksheetArea() { mForm.setParent(nullptr); }
    PlacedWorksheetArea(const PlacedWorksheetArea&) = delete;
    PlacedWorksheetArea& operator=(const PlacedWorksheetArea&) = delete;

    QWidget& host() { return mHost; }

private:
    QWidget mHost;
    QWidget& mForm;
};

} // namespace testsupport
