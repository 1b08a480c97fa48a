#include "model/g64burnareas.h"

#include "model/modeldata.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "platform/dao/dao.h"

#include <array>

namespace model {

void AddOutcomeFMZ(int outcomeKey, int fmuKey, int sourceOutcomeKey)
{
    std::array<int, 6> fil{0, 0, 0, 5, 0, 0};
    auto rs = Db().OpenTable(QStringLiteral("OutcomeFMZs"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    if (sourceOutcomeKey != 0) {
        rs->Seek(sourceOutcomeKey, fmuKey);
        for (int i = 1; i <= 6; ++i)
            fil[i - 1] = core::GetFieldLong(*rs, QStringLiteral("FIL%1Portion").arg(i));
    }
    // A row left behind by an earlier outcome of the same key is taken over, not a reason to fail.
    rs->Seek(outcomeKey, fmuKey);
    if (rs->NoMatch()) {
        rs->AddNew();
        rs->SetField(QStringLiteral("OutcomeKey"), outcomeKey);
        rs->SetField(QStringLiteral("FMZKey"), fmuKey);
    } else {
        rs->Edit();
    }
    rs->SetField(QStringLiteral("Portion"), 50);
    for (int i = 1; i <= 6; ++i)
        rs->SetField(QStringLiteral("FIL%1Portion").arg(i), fil[i - 1]);
    rs->Update();
    rs->Close();
}

void DeleteOutcomeFMZs(int outcomeKey)
{
    Db().Execute(QStringLiteral("DELETE FROM OutcomeFMZs WHERE OutcomeKey = ?"), {outcomeKey});
}

} // namespace model
