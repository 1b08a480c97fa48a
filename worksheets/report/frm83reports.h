#pragma once

#include "reports/reportproduction.h"
#include "worksheets/common/worksheetform.h"

#include <array>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace worksheets::report {

// The report worksheet: the choice of sections and the commands that produce the report into the
// preview window, to the printer or into an RTF file.
class frm83Reports : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm83Reports(QWidget* parent = nullptr);

    void Setup() override;

    // The public count of the form: the number of sections chosen at the last count.
    int SelectedSectionCount() const { return mSelection.count; }

    void cmdPreview_Click();
    void cmdPrint_Click();
    void cmdSave_Click();
    void cmdSelect_Click();
    void cmdClear_Click();
    void cmdPrinterSetup_Click();

    QCheckBox* chkSection(int index) const { return mSections.at(index); }

private:
    void CountSelectedSections();
    void PreviewReport();
    void PrintReport();
    void SaveReportAsRtf();

    reports::ReportSelection mSelection;
    std::array<QCheckBox*, reports::kSectionCount + 1> mSections{};
    QPushButton* mPreview;
    QPushButton* mPrint;
    QPushButton* mSave;
    QPushButton* mSelect;
    QPushButton* mClear;
    QPushButton* mPrinterSetup;
    QRadioButton* mBWPatterns;
    QRadioButton* mColorPatterns;
    QRadioButton* mSolid;
};

}  // namespace worksheets::report
