#include "model/c67sruselist.h"

#include "core/u19rowdata.h"
#include "model/g68sruses.h"
#include "model/modeldata.h"
#include "model/rowvalues.h"

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
    dao::RowReader row(
        Db(),
        QStringLiteral("SELECT ItemKey, ItemIndex, SRTypeKey, Quantity, Periods FROM SRUses WHERE OutcomeKey = ? "
                       "ORDER BY ItemIndex, ItemKey"),
        {outKey});
    while (row.Next()) {
        const int key = rowvalue::Long(row, 0);
        if (!mLines.Contains(key)) {
            auto line = std::make_shared<c68SRUse>();
            line->Initialize(key, outKey, rowvalue::Long(row, 1), rowvalue::Long(row, 2), rowvalue::Long(row, 3),
                             rowvalue::Long(row, 4));
            mLines.Add(key, std::move(line));
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
