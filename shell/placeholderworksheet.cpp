#include "shell/placeholderworksheet.h"

#include "shell/a3tolmarforms.h"

#include <QLabel>
#include <QVBoxLayout>

namespace shell {

PlaceholderWorksheet::PlaceholderWorksheet(const WorksheetInfo& info, QWidget* parent)
    : WorksheetForm(info.form, parent)
{
    setHelpContextID(info.helpContext);
    setAutoFillBackground(true);
    auto* title = new QLabel(info.caption, this);
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    title->setFont(f);
    auto* note = new QLabel(QStringLiteral("This worksheet is not available in this version of the program."), this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(title);
    layout->addWidget(note);
    layout->addStretch();
}

void PlaceholderWorksheet::Setup() { BeginSetup(formName() + QStringLiteral(".Setup")); }

} // namespace shell
