#pragma once

#include <array>

namespace model {

// The outcomes an alternative weighs. The numbers are those stored in Outcomes.OutcomeIndex; the
// Extreme outcome is one row shared by every alternative.
enum class OutcomeKind { Target = 1, Fallback = 2, Extreme = 3 };

// The two outcomes each alternative has rows of its own for.
constexpr std::array<OutcomeKind, 2> kAlternativeOutcomeKinds{OutcomeKind::Target, OutcomeKind::Fallback};
constexpr std::array<OutcomeKind, 3> kOutcomeKinds{OutcomeKind::Target, OutcomeKind::Fallback, OutcomeKind::Extreme};

} // namespace model
