#include "model/g66itemimpacts.h"

#include "model/modeldata.h"

namespace model {

void DeleteItemImpactsForItem(int itemKey)
{
    Db().Execute(QStringLiteral("DELETE FROM ItemImpacts WHERE ItemKey = ?"), {itemKey});
}

void DeleteItemImpactsForOutcome(int outcomeKey)
{
    Db().Execute(QStringLiteral("DELETE FROM ItemImpacts WHERE OutcomeKey = ?"), {outcomeKey});
}

void DeleteValuesProtectedForItem(int itemKey)
{
    Db().Execute(QStringLiteral("DELETE FROM ValuesProtected WHERE ItemKey = ?"), {itemKey});
}

void DeleteValuesProtectedForOutcome(int outcomeKey)
{
    Db().Execute(QStringLiteral("DELETE FROM ValuesProtected WHERE OutcomeKey = ?"), {outcomeKey});
}

} // namespace model
