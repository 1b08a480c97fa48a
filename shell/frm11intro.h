#pragma once

#include "worksheets/common/worksheetform.h"

class QFrame;
class QLabel;

namespace label {
class FormattedLabel;
}

namespace shell {

// Worksheet 1 of every section: the section's title and a description of its worksheets.
class frm11Intro : public worksheets::WorksheetForm {
    Q_OBJECT
public:
    explicit frm11Intro(QWidget* parent = nullptr);

    void Setup() override;            // for gCurrentSection
    void Setup(int sectionID);

    static QString SectionTitle(int sectionID);
    static QString SectionDescription(int sectionID);
    static int SectionHelpContext(int sectionID);

    QLabel* lblTitle() const { return mTitle; }
    label::FormattedLabel* flbDescription() const { return mDescription; }

private:
    QLabel* mTitle;
    QFrame* mPanel;
    label::FormattedLabel* mDescription;
};

} // namespace shell
