#pragma once

#include "model/outcomekind.h"

#include <array>
#include <memory>

namespace model {

class c53Outcome;

// The Target and Fallback outcomes of one alternative, their percentages and every
// probability-weighted expected value (the shared Extreme outcome takes the remainder).
class c52OutcomeList {
public:
    // The Target or the Fallback; nullptr for the Extreme, which GetExtremeOutcome holds.
    std::shared_ptr<c53Outcome> Outcome(OutcomeKind kind) const;
    // P1, P2, P3: the weight of each outcome in percent.
    int OutcomePercent(OutcomeKind kind) const;

    float ExpectedScore() const;
    float ExpectedCategoryScore(int objKey) const;
    float ExpectedWgtObjScore(int objKey) const;
    float ExpectedRawObjScore(int objKey) const;
    float ExpectedSafetyScore() const;
    float ExpectedWgtSafetyScore(int objKey) const;
    float ExpectedRawSafetyScore(int objKey) const;
    double ExpectedProtection() const;
    float ExpectedNVCLoss() const;
    float ExpectedLoss() const;
    float ExpectedCost() const;
    float EstimatedCost() const;
    int EstimatedSize() const;

    void Initialize(int iKey);
    void Delete();

private:
    // OutcomePercent of the Target, the Fallback and the Extreme.
    std::array<int, 3> percents() const;
    template <class F>
    float WeightedSingle(F value) const;

    std::shared_ptr<c53Outcome> mOutcomes[2];
};

} // namespace model
