#pragma once

#include <QObject>

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

} // namespace worksheets
