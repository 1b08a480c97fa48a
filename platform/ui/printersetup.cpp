#include "platform/ui/printersetup.h"

#include <QPrintDialog>
#include <QPrinter>

namespace ui {

namespace {
std::function<void(QWidget*)> gHandler;
}

QPrinter& SharedPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

void ShowPrinterSetup(QWidget* parent)
{
    if (gHandler) {
        gHandler(parent);
        return;
    }
    QPrintDialog dialog(&SharedPrinter(), parent);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.exec();
}

void SetPrinterSetupHandler(std::function<void(QWidget*)> handler) { gHandler = std::move(handler); }

} // namespace ui
