#pragma once

#include "platform/printing/reportdocument.h"

#include <QSize>
#include <QWidget>

#include <functional>

class QPushButton;

namespace printing {
class ReportPreview;
}

namespace reports {

// The one report document of the program, into which every section prints. Every page it starts
// goes through vsPrinter1_NewPage.
printing::ReportDocument& VSPrinter1();
void vsPrinter1_NewPage();

// Runs the report with the last choice of sections into the given output; the report worksheet
// installs it.
using ReportProducer = std::function<void(printing::Output output, const QString& fileName)>;
// Until one is installed the preview window's "Save to File" and "Print Report" are disabled.
void SetReportProducer(ReportProducer producer);
bool HasReportProducer();
void ProduceReport(printing::Output output, const QString& fileName = QString());

// The window's size in twips for a screen of the given size in twips.
QSize PreviewWindowSize(QSize screenTwips);

class frmPreview : public QWidget {
    Q_OBJECT
public:
    explicit frmPreview(QWidget* parent = nullptr);
    ~frmPreview() override;

    // Shows the document as it now stands.
    void Refresh();
    // Enables the buttons that run the report again only while there is a producer.
    void UpdateButtons();
    printing::ReportPreview* preview() const { return mPreview; }

    void cmdSave_Click();
    void cmdPrintPage_Click();
    void cmdPrintReport_Click();
    void cmdClose_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    printing::ReportPreview* mPreview;
    QPushButton* mSave;
    QPushButton* mPrintPage;
    QPushButton* mPrintReport;
    QPushButton* mClose;
};

// The window's default instance, created hidden on first use.
frmPreview& PreviewWindow();
// Closes and deletes the default instance, if there is one (at program end).
void UnloadPreviewWindow();

}  // namespace reports
