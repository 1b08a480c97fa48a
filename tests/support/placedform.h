#pragma once

// Worksheet forms made for a test as the shell makes them: each is handed its place (id,
// worksheet number, Edit menu) from the shell's worksheet table, found by the form's class,
// so a form built without the shell sets the worksheet id and menus the program would.

#include "shell/a3tolmarforms.h"
#include "worksheets/common/worksheetform.h"

#include <memory>
#include <stdexcept>
#include <utility>

namespace testsupport {

// Throws for a form no row of the table names (a class without Q_OBJECT answers with its base's name).
inline void PlaceAsShell(worksheets::WorksheetForm& form)
{
    QString name = QString::fromLatin1(form.metaObject()->className());
    name = name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
    for (const shell::WorksheetInfo& info : shell::WorksheetTable()) {
        if (info.form == name) {
            form.setPlace(shell::PlaceOf(info));
            return;
        }
    }
    throw std::logic_error("no worksheet in the shell's table is made by " + name.toStdString());
}

template <class Form, class... Args>
std::unique_ptr<Form> NewForm(Args&&... args)
{
    auto form = std::make_unique<Form>(std::forward<Args>(args)...);
    PlaceAsShell(*form);
    return form;
}

// The form registered under the id, placed by its class: a form registered under the wrong id
// announces its own. Null when none is registered.
inline std::unique_ptr<worksheets::WorksheetForm> CreateForm(const QString& id)
{
    std::unique_ptr<worksheets::WorksheetForm> form(worksheets::CreateWorksheetForm(id, nullptr));
    if (form)
        PlaceAsShell(*form);
    return form;
}

} // namespace testsupport
