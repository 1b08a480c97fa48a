#include "model/c64burnarea.h"

#include "model/modeldata.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "core/u92utilities.h"
#include "platform/dao/dao.h"

#include <stdexcept>

namespace model {

namespace {

int filIndex(int fil)
{
    if (fil < 1 || fil > 6)
        throw std::out_of_range("fire intensity level: subscript out of range");
    return fil - 1;
}

QString filField(int fil) { return QStringLiteral("FIL%1Portion").arg(fil); }

} // namespace

void c64BurnArea::SetFMUPortion(int value)
{
    mFMUPortion = value;
    mChanged = true;
}

int c64BurnArea::FILPortion(int fil) const { return mFILPortion[filIndex(fil)]; }

void c64BurnArea::SetFILPortion(int fil, int value)
{
    int& held = mFILPortion[filIndex(fil)];
    if (held != value) {
        held = value;
        mChanged = true;
    }
}

int c64BurnArea::FILPercent(int fil) const { return FILPercents()[size_t(filIndex(fil))]; }

namespace {

int dividedPercent(qint64 part, qint64 whole)
{
    return core::RoundHalfEven(double(part * 100) / double(whole));
}

// dividedPercent for 0 <= part <= whole, whole > 0, with one division for all six levels of an
// area instead of one each: the quotient is taken by the reciprocal and confirmed in whole
// numbers as the nearest, a half to even; one that is not is divided after all. Both give the
// exact quotient rounded: whole is below 2^35, so no quotient of such numbers that is not a
// half lies within a division's error of one.
int percentOf(qint64 part, qint64 whole, double reciprocal)
{
    const qint64 twice = 2 * part * 100;
    const qint64 k = qint64(core::NearestWhole(double(part * 100) * reciprocal));
    const qint64 below = (2 * k - 1) * whole;
    const qint64 above = (2 * k + 1) * whole;
    if ((below < twice && twice < above) || ((twice == below || twice == above) && k % 2 == 0))
        return int(k);
    return dividedPercent(part, whole);
}

} // namespace

std::array<int, 6> c64BurnArea::FILPercents() const
{
    if (mPercentsFor.known && mPercentsFor.portions == mFILPortion)
        return mPercentsFor.percents;
    qint64 total = 0;
    bool noneNegative = true;
    for (int p : mFILPortion) {
        total += p;
        noneNegative = noneNegative && p >= 0;
    }
    std::array<int, 6> percents;
    if (total == 0) {
        percents.fill(16);
    } else if (noneNegative) {
        const double reciprocal = 1.0 / double(total);
        for (size_t i = 0; i < percents.size(); ++i)
            percents[i] = percentOf(mFILPortion[i], total, reciprocal);
    } else {   // a damaged file's negative portions
        for (size_t i = 0; i < percents.size(); ++i)
            percents[i] = dividedPercent(mFILPortion[i], total);
    }
    mPercentsFor = {mFILPortion, percents, true};
    return percents;
}

void c64BurnArea::Initialize(int outcomeKey, int fmuKey)
{
    auto rs = Db().OpenTable(QStringLiteral("OutcomeFMZs"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    rs->Seek(outcomeKey, fmuKey);
    const int portion = core::GetFieldLong(*rs, QStringLiteral("Portion"));
    std::array<int, 6> fil{};
    for (int i = 1; i <= 6; ++i)
        fil[i - 1] = core::GetFieldLong(*rs, filField(i));
    rs->Close();
    InitializeWith(outcomeKey, fmuKey, portion, fil);
}

void c64BurnArea::InitializeWith(int outcomeKey, int fmuKey, int fmuPortion, const std::array<int, 6>& filPortions)
{
    mOutcomeKey = outcomeKey;
    mFMUKey = fmuKey;
    mFMUPortion = fmuPortion;
    mFILPortion = filPortions;
    mChanged = false;
}

void c64BurnArea::SaveChanges()
{
    dao::FieldValues fields{{QStringLiteral("Portion"), mFMUPortion}};
    for (int i = 1; i <= 6; ++i)
        fields.append({filField(i), mFILPortion[i - 1]});
    dao::SaveRow(Db(), QStringLiteral("OutcomeFMZs"), {mOutcomeKey, mFMUKey}, fields, dao::IfMissing::Add, mChanged);
}

} // namespace model
