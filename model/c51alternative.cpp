#include "model/c51alternative.h"

#include "core/g0items.h"
#include "core/u92utilities.h"
#include "model/c52outcomelist.h"
#include "model/c53outcome.h"
#include "model/modeldata.h"
#include "model/textnumbers.h"

namespace model {

namespace {
float Round2(double v) { return float(core::RoundSignificant(v, 2)); }
}

c51Alternative::c51Alternative() = default;
c51Alternative::~c51Alternative() = default;

void c51Alternative::SetItemName(const QString& value) { mItemName = value; mChanged = true; }
void c51Alternative::SetHeading(const QString& value) { mHeading = value; mChanged = true; }
void c51Alternative::SetBody(const QString& value) { mBody = value; mChanged = true; }

QString c51Alternative::Label() const { return mItemName + QStringLiteral(". ") + mHeading; }

c52OutcomeList& c51Alternative::OutcomeList()
{
    if (!mOutcomeList) {
        auto list = std::make_unique<c52OutcomeList>();
        list->Initialize(mItemKey);
        mOutcomeList = std::move(list);
    }
    return *mOutcomeList;
}

float c51Alternative::ExpectedScore() { return OutcomeList().ExpectedScore(); }
float c51Alternative::ExpectedCategoryScore(int iKey) { return OutcomeList().ExpectedCategoryScore(iKey); }
float c51Alternative::ExpectedWgtObjScore(int iKey) { return OutcomeList().ExpectedWgtObjScore(iKey); }
float c51Alternative::ExpectedRawObjScore(int iKey) { return OutcomeList().ExpectedRawObjScore(iKey); }
float c51Alternative::ExpectedSafetyScore() { return OutcomeList().ExpectedSafetyScore(); }
float c51Alternative::ExpectedWgtSafetyScore(int iKey) { return OutcomeList().ExpectedWgtSafetyScore(iKey); }
float c51Alternative::ExpectedRawSafetyScore(int iKey) { return OutcomeList().ExpectedRawSafetyScore(iKey); }
double c51Alternative::ExpectedProtection() { return core::RoundSignificant(OutcomeList().ExpectedProtection(), 2); }
float c51Alternative::ExpectedNVCLoss() { return Round2(OutcomeList().ExpectedNVCLoss()); }
float c51Alternative::ExpectedLoss() { return Round2(OutcomeList().ExpectedLoss()); }
float c51Alternative::ExpectedCost() { return Round2(OutcomeList().ExpectedCost()); }
float c51Alternative::EstimatedCost() { return Round2(OutcomeList().EstimatedCost()); }

int c51Alternative::EstimatedSize()
{
    return textnum::RoundHalfEven(core::RoundSignificant(OutcomeList().EstimatedSize(), 2));
}

std::shared_ptr<c53Outcome> c51Alternative::Outcome(OutcomeKind kind) { return OutcomeList().Outcome(kind); }
int c51Alternative::OutcomePercent(OutcomeKind kind) { return OutcomeList().OutcomePercent(kind); }

void c51Alternative::Initialize(int aKey, const QString& sName, const QString& sHeading, const QString& sBody)
{
    mItemKey = aKey;
    mItemName = sName;
    mHeading = sHeading;
    mBody = sBody;
    mChanged = false;
}

void c51Alternative::SaveChanges()
{
    dao::SaveRow(Db(), QStringLiteral("Items"), {mItemKey},
                 {{QStringLiteral("ItemName"), mItemName},
                  {QStringLiteral("Heading"), mHeading},
                  {QStringLiteral("Body"), mBody}},
                 dao::IfMissing::Report, mChanged);
}

void c51Alternative::Delete()
{
    dao::Transaction trans(Db());
    core::DeleteItem(mItemKey);
    OutcomeList().Delete();
    trans.commit();
}

} // namespace model
