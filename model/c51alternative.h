#pragma once

#include "model/outcomekind.h"
#include "platform/dao/rowsave.h"

#include <QString>

#include <memory>

namespace model {

class c52OutcomeList;
class c53Outcome;

// One candidate strategy: its Items row under group 26 and its outcome list.
class c51Alternative {
public:
    c51Alternative();
    ~c51Alternative();
    c51Alternative(const c51Alternative&) = delete;
    c51Alternative& operator=(const c51Alternative&) = delete;

    int ItemKey() const { return mItemKey; }
    QString ItemName() const { return mItemName; }
    void SetItemName(const QString& value);
    QString Heading() const { return mHeading; }
    void SetHeading(const QString& value);
    // ItemName, ". ", Heading.
    QString Label() const;
    QString Body() const { return mBody; }
    void SetBody(const QString& value);

    float ExpectedScore();
    float ExpectedCategoryScore(int iKey);
    float ExpectedWgtObjScore(int iKey);
    float ExpectedRawObjScore(int iKey);
    float ExpectedSafetyScore();
    float ExpectedWgtSafetyScore(int iKey);
    float ExpectedRawSafetyScore(int iKey);
    double ExpectedProtection();
    float ExpectedNVCLoss();
    float ExpectedLoss();
    float ExpectedCost();
    float EstimatedCost();
    int EstimatedSize();
    std::shared_ptr<c53Outcome> Outcome(OutcomeKind kind);
    int OutcomePercent(OutcomeKind kind);

    void Initialize(int aKey, const QString& sName, const QString& sHeading, const QString& sBody);
    void SaveChanges();
    void Delete();
    bool IsDirty() const { return mChanged; }

private:
    c52OutcomeList& OutcomeList();

    int mItemKey = 0;
    QString mItemName;
    QString mHeading;
    QString mBody;
    dao::ChangeFlag mChanged;
    std::unique_ptr<c52OutcomeList> mOutcomeList;
};

} // namespace model
