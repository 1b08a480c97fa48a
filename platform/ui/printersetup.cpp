#include "platform/ui/printersetup.h"

#include "platform/ui/prompter.h"

#include <QPrinter>

namespace ui {

namespace {
bool Choose(const PrintDialog& dialog)
{
    const PrintChoice choice = prompter().choosePrinter(dialog);
    if (!choice.accepted)
        return false;
    if (!choice.fileName.isEmpty()) {
        QPrinter& printer = SharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice.fileName);
    }
    return true;
}
}  // namespace

QPrinter& SharedPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool ChoosePrinter(const QString& pdfFile)
{
    return Choose({QStringLiteral("Print"), false, pdfFile});
}

void ShowPrinterSetup()
{
    Choose({QStringLiteral("Printer Setup"), true});
}

} // namespace ui
