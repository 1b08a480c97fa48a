#include "model/textnumbers.h"

#include <gtest/gtest.h>

#include <optional>

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


struct StrictCase {
    const char* text;
    std::optional<double> value;
};

class TypedNumberTest : public ::testing::TestWithParam<StrictCase> {};

TEST_P(TypedNumberTest, OnlyWholeNumbersAsPeopleTypeThemAreRead)
{
    const StrictCase c = GetParam();
    double v = -12345;
    const bool ok = IsTypedNumber(QString::fromUtf8(c.text), &v);
    ASSERT_EQ(ok, c.value.has_value()) << c.text;
    if (ok)
        EXPECT_DOUBLE_EQ(v, *c.value) << c.text;
    else
        EXPECT_EQ(v, -12345) << "a refused text leaves the value alone";
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypedNumberTest,
    ::testing::Values(StrictCase{"1,000", 1000}, StrictCase{"-1,000", -1000}, StrictCase{" 12,500.5 ", 12500.5},
                      StrictCase{"1,234,567", 1234567}, StrictCase{"1000", 1000}, StrictCase{".5", 0.5},
                      StrictCase{"5.", 5}, StrictCase{"+7", 7}, StrictCase{"1e3", 1000}, StrictCase{"-5", -5},
                      StrictCase{"1,2,3", std::nullopt}, StrictCase{"12,34", std::nullopt},
                      StrictCase{"1234,567", std::nullopt}, StrictCase{",100", std::nullopt},
                      StrictCase{"1,000,", std::nullopt}, StrictCase{"1e309", std::nullopt},
                      StrictCase{"abc", std::nullopt}, StrictCase{"", std::nullopt}, StrictCase{"-", std::nullopt},
                      StrictCase{".", std::nullopt}, StrictCase{"1e", std::nullopt}, StrictCase{"12a", std::nullopt},
                      StrictCase{"nan", std::nullopt}, StrictCase{"inf", std::nullopt},
                      StrictCase{"1.000,5", std::nullopt}, StrictCase{"$5", 5}, StrictCase{"-$1,500.5", -1500.5}, StrictCase{"$-20", -20},
                      StrictCase{"$", std::nullopt}, StrictCase{"5$", std::nullopt}, StrictCase{"$$5", std::nullopt}));

TEST(SingleTextTest, WritesTheDigitsASingleHolds)
{
    EXPECT_EQ(SingleText(0.1f), "0.1");
    EXPECT_EQ(SingleText(-7.5f), "-7.5");
    EXPECT_EQ(SingleText(1234567.0f), "1234567");
    EXPECT_EQ(SingleText(123456789.0f), "123456792");
    EXPECT_EQ(SingleText(0.0f), "0");
}

} // namespace
