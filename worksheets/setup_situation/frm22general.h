#pragma once

#include "worksheets/common/worksheetform.h"

class QLineEdit;

namespace worksheets {

// General Information: the facts that identify the fire and the analysis. Each box edits the
// text of one fixed item; the item cache keeps the edits until the worksheet is left, when
// the shell stores every changed item. The fire name also heads the main window.
class frm22General : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm22General(QWidget* parent = nullptr);

    void Setup() override;

    // The boxes, top to bottom; the order in which Enter moves.
    enum Box {
        Tolmar,
        Name,
        Incident,
        StartDate,
        StartTime,
        CurrentDate,
        CurrentTime,
        Jurisdiction,
        Area,
        Unit,
        Code,
        FireSize,
        BoxCount
    };
    QLineEdit* box(Box b) const { return mBoxes[b]; }
    // The item whose text the box edits.
    static int ItemKeyOf(Box b);

private:
    void DisplayData();
    QString DefaultCurrentDate();
    QString DefaultCurrentTime();
    void BoxChanged(Box b, const QString& text);

    QLineEdit* mBoxes[BoxCount] = {};
};

} // namespace worksheets
