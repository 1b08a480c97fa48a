#include "model/textnumbers.h"

#include <gtest/gtest.h>

using namespace model::textnum;

namespace {

struct TypedCase {
    const char* text;
    bool numeric;
    double numericOrZero;
    double val;
};

// What a typed text stores where it is tested as numeric, and where it is read with Val.
const TypedCase kTyped[] = {
    {"1,500", true, 1500, 1},
    {"$1,500.50", true, 1500.5, 0},
    {"-$20", true, -20, 0},
    {"$-20", true, -20, 0},
    {"  42  ", true, 42, 42},
    {".5", true, 0.5, 0.5},
    {"-3.25", true, -3.25, -3.25},
    {"30 acres", false, 0, 30},
    {"12abc", false, 0, 12},
    {"", false, 0, 0},
    {"$", false, 0, 0},
    {"abc", false, 0, 0},
    {"1.2.3", false, 0, 1.2},
    {"--5", false, 0, 0},
};

TEST(TextNumbers, TypedTextIsReadAsNumericTestAndValSay)
{
    for (const TypedCase& c : kTyped) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsNumeric(QString::fromUtf8(c.text)), c.numeric);
        EXPECT_DOUBLE_EQ(NumericOrZero(QString::fromUtf8(c.text)), c.numericOrZero);
        EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.text)), c.val);
    }
}

TEST(TextNumbers, WholeNumbersRoundHalfToEven)
{
    const std::pair<double, int> cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {2.5001, 3}};
    for (const auto& [v, expected] : cases)
        EXPECT_EQ(RoundHalfEven(v), expected) << v;
}

} // namespace
