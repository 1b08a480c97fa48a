// The printer module: the one place the program uses Qt's printing library (see printersetup.h).

#include "platform/ui/printersetup.h"

#include <QAbstractPrintDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace ui {
namespace {

class QtPrinter : public Printer {
public:
    QPagedPaintDevice* device() override { return &mPrinter; }
    bool isValid() const override { return mPrinter.isValid(); }
    int resolution() const override { return mPrinter.resolution(); }
    void setPaper(const QPageLayout& layout) override
    {
        mPrinter.setFullPage(true);
        mPrinter.setPageLayout(layout);
    }
    QPageLayout pageLayout() const override { return mPrinter.pageLayout(); }
    void abort() override { mPrinter.abort(); }
    bool printsToFile() const override { return mPrinter.outputFormat() == QPrinter::PdfFormat; }
    QString fileName() const override { return mPrinter.outputFileName(); }
    void setFile(const QString& fileName) override
    {
        mPrinter.setOutputFormat(QPrinter::PdfFormat);
        mPrinter.setOutputFileName(fileName);
    }
    bool anyPrinterInstalled() const override { return !QPrinterInfo::availablePrinters().isEmpty(); }
    QPrinter* qtPrinter() override { return &mPrinter; }

    PrintChoice choose(const PrintDialog& dialog, QWidget* parent) override
    {
        // Printing to a file without a name would write nothing: the dialog proposes one. A
        // printer that is installed and chosen stays the choice.
        const bool noName = mPrinter.outputFileName().isEmpty() || QFileInfo(mPrinter.outputFileName()).isDir();
        if (!dialog.fileName.isEmpty() && noName && (printsToFile() || !anyPrinterInstalled()))
            mPrinter.setOutputFileName(dialog.fileName);
        QPrintDialog pd(&mPrinter, parent);
        pd.setWindowTitle(dialog.title);
        // Printing to a file is what a machine without a printer can do; the pages of a report
        // are known only once it is produced, so it always prints whole.
        pd.setOption(QAbstractPrintDialog::PrintToFile, true);
        pd.setOption(QAbstractPrintDialog::PrintSelection, false);
        pd.setOption(QAbstractPrintDialog::PrintPageRange, false);
        pd.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        if (dialog.setupOnly)
            if (auto* buttons = pd.findChild<QDialogButtonBox*>())
                if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
                    ok->setText(QStringLiteral("OK"));
        if (pd.exec() != QDialog::Accepted)
            return {};
        return {true, printsToFile() ? mPrinter.outputFileName() : QString()};
    }

private:
    QPrinter mPrinter{QPrinter::HighResolution};
};

} // namespace
} // namespace ui

extern "C" Q_DECL_EXPORT ui::Printer* tolmar_make_printer() { return new ui::QtPrinter; }
