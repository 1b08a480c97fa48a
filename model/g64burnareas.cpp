#include "model/g64burnareas.h"

#include "model/modeldata.h"
#include "model/textnumbers.h"
#include "core/u11datafile.h"
#include "core/u14properties.h"
#include "core/u19rowdata.h"
#include "platform/dao/dao.h"

#include <array>

namespace model {

namespace {

const QString kFILOptionProperty = QStringLiteral("FIL option");

int ExtremeOutcomeKey()
{
    auto rs = Db().OpenRecordset(
        QStringLiteral("SELECT ItemKey FROM Outcomes WHERE ParentKey = 0 AND ChildIndex = 1 ORDER BY ItemKey"));
    const int key = rs->Eof() ? 0 : core::GetFieldLong(*rs, QStringLiteral("ItemKey"));
    rs->Close();
    return key;
}

} // namespace

int FILOption()
{
    const int option = int(textnum::Val(core::Property_Get(kFILOptionProperty)));
    return option >= 1 && option <= 3 ? option : 1;
}

std::optional<std::array<int, 6>> SharedFILPortions(int leaveOutFMUKey)
{
    if (FILOption() != 1)
        return std::nullopt;
    const int extreme = ExtremeOutcomeKey();
    if (extreme == 0)
        return std::nullopt;
    // The per-FMU rows first: while there are FMUs the whole-fire row is not kept up to date.
    auto rs = Db().OpenRecordset(QStringLiteral("SELECT * FROM OutcomeFMZs WHERE OutcomeKey = ? AND FMZKey <> ? "
                                                "ORDER BY FMZKey = 0, FMZKey"),
                                 {extreme, leaveOutFMUKey});
    std::optional<std::array<int, 6>> fil;
    if (!rs->Eof()) {
        fil.emplace();
        for (int i = 1; i <= 6; ++i)
            (*fil)[size_t(i - 1)] = core::GetFieldLong(*rs, QStringLiteral("FIL%1Portion").arg(i));
    }
    rs->Close();
    return fil;
}

void AddOutcomeFMZ(int outcomeKey, int fmuKey, int sourceOutcomeKey)
{
    std::array<int, 6> fil{0, 0, 0, 5, 0, 0};
    auto rs = Db().OpenTable(QStringLiteral("OutcomeFMZs"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    if (sourceOutcomeKey == 0) {
        // No Target to copy yet: under FIL option 1 the set the Extreme outcome holds.
        if (const auto shared = SharedFILPortions(-1); shared && outcomeKey != ExtremeOutcomeKey())
            fil = *shared;
    } else {
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
