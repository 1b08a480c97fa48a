#include "model/g64burnareas.h"

#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "platform/dao/dao.h"

#include <array>

namespace model {

void AddOutcomeFMZ(int outcomeKey, int fmuKey, int sourceOutcomeKey)
{
    std::array<int, 6> fil{0, 0, 0, 5, 0, 0};
    auto rs = core::gDatabase()->OpenTable(QStringLiteral("OutcomeFMZs"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    if (sourceOutcomeKey != 0) {
        rs->Seek(sourceOutcomeKey, fmuKey);
        for (int i = 1; i <= 6; ++i)
            fil[i - 1] = core::GetFieldLong(*rs, QStringLiteral("FIL%1Portion").arg(i));
    }
    rs->AddNew();
    rs->SetField(QStringLiteral("OutcomeKey"), outcomeKey);
    rs->SetField(QStringLiteral("FMZKey"), fmuKey);
    rs->SetField(QStringLiteral("Portion"), 50);
    for (int i = 1; i <= 6; ++i)
        rs->SetField(QStringLiteral("FIL%1Portion").arg(i), fil[i - 1]);
    rs->Update();
    rs->Close();
}

void DeleteOutcomeFMZs(int outcomeKey)
{
    core::gDatabase()->Execute(QStringLiteral("DELETE FROM OutcomeFMZs WHERE OutcomeKey = ?"), {outcomeKey});
}

} // namespace model
