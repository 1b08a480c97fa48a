#pragma once

#include <QString>

class QPrinter;

namespace ui {

// The printer the program prints to; the print dialogs change it.
QPrinter& SharedPrinter();

// Asks with the platform's print dialog where the report goes: a printer, or a PDF file, which
// needs no printer installed. True when the user chose; the shared printer then prints there.
// pdfFile: the file proposed for printing to a file.
bool ChoosePrinter(const QString& pdfFile = QString());

// Shows the printer setup: the same dialog, which keeps the choice for the next print. A cancel
// leaves the printer as it was.
void ShowPrinterSetup();

} // namespace ui
