#include "model/g62ratings.h"

#include "model/modeldata.h"
#include "core/u11datafile.h"
#include "platform/dao/dao.h"

namespace model {

void DeleteCriterionScores(int criterionKey)
{
    Db().Execute(QStringLiteral("DELETE FROM Scores WHERE CriterionKey = ?"), {criterionKey});
}

void DeleteOutcomeScores(int outcomeKey)
{
    Db().Execute(QStringLiteral("DELETE FROM Scores WHERE OutcomeKey = ?"), {outcomeKey});
}

} // namespace model
