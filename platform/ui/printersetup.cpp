#include "platform/ui/printersetup.h"

#include "platform/ui/prompter.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
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
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        MsgBox(QStringLiteral("No printer is installed."), Buttons::OK, Icon::Information);
        return;
    }
    QPrintDialog dialog(&SharedPrinter(), parent);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    // The dialog chooses the printer; it prints nothing.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.exec();
}

void SetPrinterSetupHandler(std::function<void(QWidget*)> handler) { gHandler = std::move(handler); }

} // namespace ui
