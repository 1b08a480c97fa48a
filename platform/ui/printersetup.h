#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace ui {

// The printer the program prints to; the printer setup changes it.
QPrinter& SharedPrinter();

// Shows the printer setup dialog. A cancel, or any failure, leaves the printer as it was.
void ShowPrinterSetup(QWidget* parent);

// Replaces the dialog (tests); an empty function restores it.
void SetPrinterSetupHandler(std::function<void(QWidget*)> handler);

} // namespace ui
