#pragma once

#include "platform/ui/prompter.h"

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace ui {

// The printer the program prints to, its settings kept for the run. Qt's printing library is
// linked only into the printer module beside the program (qtprinter.cpp), loaded with the first
// use of the printer, so that starting the program does not map it.
class Printer {
public:
    virtual ~Printer() = default;

    // What the pages are painted on; nullptr without the module.
    virtual QPagedPaintDevice* device() = 0;
    virtual bool isValid() const = 0;
    virtual int resolution() const = 0;
    // Pages drawn to the edges of the paper, of the layout given.
    virtual void setPaper(const QPageLayout& layout) = 0;
    virtual QPageLayout pageLayout() const = 0;
    // Stops a print under way: nothing of it is printed.
    virtual void abort() = 0;
    // Printing to a PDF file, and its name.
    virtual bool printsToFile() const = 0;
    virtual QString fileName() const = 0;
    virtual void setFile(const QString& fileName) = 0;
    virtual bool anyPrinterInstalled() const = 0;
    // The platform's print dialog over this printer (see Prompter::choosePrinter).
    virtual PrintChoice choose(const PrintDialog& dialog, QWidget* parent) = 0;
    // Qt's own printer, for tests that look at its settings; nullptr without the module.
    virtual QPrinter* qtPrinter() = 0;
};

// The module's entry: makes the printer.
using MakePrinter = Printer* (*)();
inline constexpr char kMakePrinter[] = "tolmar_make_printer";

// The printer; without the module one that prints nothing (and ChoosePrinter says why).
Printer& SharedPrinter();
// The module beside the program.
QString PrinterModulePath();
// Loads the module at path for the printer from now on (its settings start afresh); "" when it
// is loaded, else why not. The program loads the one beside it with the first use of the printer.
QString LoadPrinterModule(const QString& path);
// Why the module cannot be loaded, in the words the user is told; "" when it is loaded.
QString PrinterModuleFailure();

// Asks with the platform's print dialog where the report goes: a printer, or a PDF file, which
// needs no printer installed. True when the user chose; the shared printer then prints there.
// pdfFile: the file proposed for printing to a file. Without the printer module the user is told
// why nothing can be printed, and no dialog shows.
bool ChoosePrinter(const QString& pdfFile = QString());

// Shows the printer setup: the same dialog, which keeps the choice for the next print. A cancel
// leaves the printer as it was.
void ShowPrinterSetup();

} // namespace ui
