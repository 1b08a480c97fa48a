#include "platform/ui/printersetup.h"

#include "platform/ui/modulefile.h"

#include <QDir>

namespace ui {

namespace {

// Stands in for the printer when the module cannot be loaded: nothing prints.
class NoPrinter : public Printer {
public:
    QPagedPaintDevice* device() override { return nullptr; }
    bool isValid() const override { return false; }
    int resolution() const override { return 1440; }
    void setPaper(const QPageLayout& layout) override { mLayout = layout; }
    QPageLayout pageLayout() const override { return mLayout; }
    void abort() override {}
    bool printsToFile() const override { return false; }
    QString fileName() const override { return {}; }
    void setFile(const QString&) override {}
    bool anyPrinterInstalled() const override { return false; }
    PrintChoice choose(const PrintDialog&, QWidget*) override { return {}; }
    QPrinter* qtPrinter() override { return nullptr; }

private:
    QPageLayout mLayout;
};

struct Module {
    bool tried = false;
    std::unique_ptr<Printer> printer;
    QString failure;
};

Module& module()
{
    static Module m;
    return m;
}

bool Choose(const PrintDialog& dialog)
{
    // The dialog would offer what cannot be done: the user is told why instead.
    if (const QString why = PrinterModuleFailure(); !why.isEmpty()) {
        MsgBox(why, Buttons::OK, Icon::Warning);
        return false;
    }
    const PrintChoice choice = prompter().choosePrinter(dialog);
    if (!choice.accepted)
        return false;
    if (!choice.fileName.isEmpty())
        SharedPrinter().setFile(choice.fileName);
    return true;
}

}  // namespace

QString PrinterModulePath() { return ModuleBesideProgram(TOLMAR_PRINTER_MODULE); }

QString LoadPrinterModule(const QString& path)
{
    Module& m = module();
    m.tried = true;
    m.failure.clear();
    QString why;
    std::unique_ptr<Printer> made;
    if (const auto make = reinterpret_cast<MakePrinter>(ModuleEntry(path, kMakePrinter, &why)))
        made.reset(make());
    if (!made) {
        m.failure = QStringLiteral("Nothing can be printed: the printer module \"%1\" cannot be loaded (%2). "
                                   "Installing the program again brings printing back.")
                        .arg(QDir::toNativeSeparators(path), why);
        made = std::make_unique<NoPrinter>();
    }
    m.printer = std::move(made);
    return m.failure;
}

Printer& SharedPrinter()
{
    Module& m = module();
    if (!m.tried)
        LoadPrinterModule(PrinterModulePath());
    return *m.printer;
}

QString PrinterModuleFailure()
{
    SharedPrinter();
    return module().failure;
}

bool ChoosePrinter(const QString& pdfFile)
{
    return Choose({QStringLiteral("Print"), false, pdfFile});
}

void ShowPrinterSetup()
{
    Choose({QStringLiteral("Printer Setup"), true, QString()});
}

} // namespace ui
