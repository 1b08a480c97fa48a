#pragma once

#include <QObject>

#include <functional>

namespace worksheets {

// Cuts every connection from the form's own controls to the form. A form calls it first in
// its destructor: a control that still holds an edit ends it as the focus leaves while the
// form is destroyed, and its signal must not reach a half-destroyed form.
inline void DisconnectChildSignals(QObject& form)
{
    const QList<QObject*> children = form.findChildren<QObject*>();
    for (QObject* child : children)
        QObject::disconnect(child, nullptr, &form, nullptr);
}

// The first half of showing another object: stores the one shown. When that fails, the
// control the user moved (a grid row, a list entry, an option) is put back, quietly, on the
// object still shown, so that what is typed next lands where the screen says; the error
// goes on to the program's guard.
inline void SaveOrPutBack(const std::function<void()>& save, const std::function<void()>& putBack)
{
    try {
        save();
    } catch (...) {
        putBack();
        throw;
    }
}

} // namespace worksheets
