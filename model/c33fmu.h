#pragma once

#include "model/c34nvctable.h"
#include "model/c35aactable.h"

#include <QString>

#include <memory>

namespace model {

// One fire management unit with its NVC and cost tables (read on first use, kept with it).
class c33FMU {
public:
    int ItemKey() const { return mKey; }
    QString ItemName() const { return mName; }
    QString FMZCode() const { return mCode; }
    c34NVCTable* NVCTable();
    c35AACTable* AACTable();

    void Initialize(int key, const QString& code, const QString& name);
    // Deletes the FMU's row and its OutcomeFMZs, NVCPerAcre and SuppressionPerAcreCost
    // rows, all in one transaction.
    void Delete();

private:
    int mKey = 0;
    QString mCode;
    QString mName;
    std::unique_ptr<c34NVCTable> mNVCTable;
    std::unique_ptr<c35AACTable> mAACTable;
};

} // namespace model
