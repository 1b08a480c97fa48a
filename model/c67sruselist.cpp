#include "model/c67sruselist.h"

#include "core/u19rowdata.h"
#include "model/g68sruses.h"
#include "model/modeldata.h"
#include "model/rowvalues.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace model {

float c67SRUseList::SRUseCost() const
{
    float sum = 0;
    for (const auto& line : mLines)
        sum = float(double(sum) + double(line->UseCost()));
    return sum;
}

void c67SRUseList::Initialize(int outKey)
{
    mOutcomeKey = outKey;
    mLines = SRUseLines();
    struct Line {
        int key, index, type, quantity, periods;
    };
    std::vector<Line> lines;
    // The lines are put in order here: the engine's sort took about a third of the read. A line
    // whose position or key is not a plain whole number, or two lines alike in both (only a
    // damaged file has either), leave the order to the engine.
    bool plain = true;
    {
        dao::RowReader row(Db(), QStringLiteral("SELECT ItemKey, ItemIndex, SRTypeKey, Quantity, Periods FROM SRUses "
                                                "WHERE OutcomeKey = ?"),
                           {outKey});
        while (plain && row.Next()) {
            const std::optional<int> key = row.Whole(0);
            const std::optional<int> index = row.Whole(1);
            plain = key && index;
            if (plain)
                lines.push_back({*key, *index, rowvalue::Long(row, 2), rowvalue::Long(row, 3), rowvalue::Long(row, 4)});
        }
    }
    const auto place = [](const Line& line) { return std::pair(line.index, line.key); };
    if (plain) {
        std::sort(lines.begin(), lines.end(), [&](const Line& a, const Line& b) { return place(a) < place(b); });
        plain = std::adjacent_find(lines.begin(), lines.end(),
                                   [&](const Line& a, const Line& b) { return place(a) == place(b); })
                == lines.end();
    }
    if (!plain) {
        lines.clear();
        dao::RowReader row(Db(),
                           QStringLiteral("SELECT ItemKey, ItemIndex, SRTypeKey, Quantity, Periods FROM SRUses "
                                          "WHERE OutcomeKey = ? ORDER BY ItemIndex, ItemKey"),
                           {outKey});
        while (row.Next())
            lines.push_back({rowvalue::Long(row, 0), rowvalue::Long(row, 1), rowvalue::Long(row, 2),
                             rowvalue::Long(row, 3), rowvalue::Long(row, 4)});
    }
    mLines.Reserve(int(lines.size()));
    for (const Line& l : lines) {
        if (!mLines.Contains(l.key)) {
            auto line = std::make_shared<c68SRUse>();
            line->Initialize(l.key, outKey, l.index, l.type, l.quantity, l.periods);
            mLines.Add(l.key, std::move(line));
        }
    }
}

std::shared_ptr<c68SRUse> c67SRUseList::NewSRUse(int typKey)
{
    const int key = AddSRUseRecord(mOutcomeKey, typKey);
    int index = 0;
    {
        auto rs = Db().OpenTable(QStringLiteral("SRUses"));
        rs->Seek(key);
        index = core::GetFieldLong(*rs, QStringLiteral("ItemIndex"));
        rs->Close();
    }
    auto line = std::make_shared<c68SRUse>();
    line->Initialize(key, mOutcomeKey, index, typKey, 1, 1);
    mLines.Add(key, line);
    return line;
}

void c67SRUseList::AppendList(const c67SRUseList& lst)
{
    // Copy first: appending a list to itself must not walk the lines it adds.
    const QList<std::shared_ptr<c68SRUse>> source = lst.mLines.Items();
    dao::SaveScope trans(Db());
    for (const auto& line : source) {
        if (!line->SRType())
            continue;
        auto copy = NewSRUse(line->SRType()->ItemKey());
        copy->SetQuantity(line->Quantity());
        copy->SetTimePeriods(line->TimePeriods());
        copy->SaveChanges();
    }
    trans.commit();
}

void c67SRUseList::ReplaceList(const c67SRUseList& lst)
{
    if (&lst == this)
        return;
    dao::Transaction trans(Db());
    const QList<std::shared_ptr<c68SRUse>> old = mLines.Items();
    for (const auto& line : old)
        DeleteSRUse(line->ItemKey());
    AppendList(lst);
    trans.commit();
}

void c67SRUseList::DeleteSRUse(int iKey)
{
    auto rs = Db().OpenTable(QStringLiteral("SRUses"));
    rs->Seek(iKey);
    if (!rs->NoMatch())
        rs->Delete();
    rs->Close();
    mLines.Remove(iKey);
}

} // namespace model
