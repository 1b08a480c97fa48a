#include "model/textnumbers.h"

#include <gtest/gtest.h>

#include <cmath>
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

// Digits of other scripts are no digits: QChar::isDigit takes them, no conversion reads them
// back, and a reading that failed on them overflowed to the largest number a field holds.
TEST(TextNumbers, OnlyAsciiDigitsAreDigits)
{
    for (const char* text : {"\u0663", "\uFF15", "\u0967\u0968", "1\u0663"}) {
        const QString t = QString::fromUtf8(text);
        SCOPED_TRACE(t.toStdString());
        EXPECT_FALSE(IsNumeric(t));
        EXPECT_FALSE(IsTypedNumber(t));
        EXPECT_EQ(PercentFromText(t), t.startsWith('1') ? 1 : 0);
        EXPECT_EQ(ReadNumber(t, kAmountKind).reading, Reading::NotNumber);
    }
    EXPECT_DOUBLE_EQ(Val(QString::fromUtf8("\u0663")), 0);
    EXPECT_DOUBLE_EQ(Val(QString::fromUtf8("7\u0663")), 7);
}

struct ReadCase {
    const char* text;
    NumberKind kind;
    Reading reading;
    double value;
    bool held;
};

constexpr NumberKind kDays{.min = 0, .max = 9999, .whole = true, .unit = "days"};
constexpr NumberKind kPercent{.min = 0, .max = 100, .held = true};

TEST(TextNumbers, ATypedNumberIsReadByItsFieldsKind)
{
    const ReadCase cases[] = {
        {"", kDays, Reading::Empty, 0, false},
        {"  ", kDays, Reading::Empty, 0, false},
        {"12", kDays, Reading::Value, 12, false},
        {"2.5", kDays, Reading::Value, 2, false},   // halves to even
        {"9999.5", kDays, Reading::TooLarge, 10000, false},
        {"10000", kDays, Reading::TooLarge, 10000, false},
        {"-1", kDays, Reading::TooSmall, -1, false},
        {"1e309", kDays, Reading::TooLarge, HUGE_VAL, false},
        {"0x10", kDays, Reading::NotNumber, 0, false},
        {"18o,000", kDays, Reading::NotNumber, 0, false},
        {"-0", kDays, Reading::Value, 0, false},
        {"120", kPercent, Reading::Value, 100, true},
        {"-5", kPercent, Reading::Value, 0, true},
        {"1e309", kPercent, Reading::Value, 100, true},
        {"12.5", kPercent, Reading::Value, 12.5, false},
        {"1,234.56", kAmountKind, Reading::Value, 1234.56, false},
        {"$20,000,000", kAmountKind, Reading::Value, 20000000, false},
        {"20,000,001", kAmountKind, Reading::Inexact, 20000001, false},   // a Single keeps 20,000,000
        {"99999999999", kAmountKind, Reading::Inexact, 99999999999, false},
        {"1,000,000,000,000", kAmountKind, Reading::TooLarge, 1e12, false},
        {"-250", kAmountKind, Reading::TooSmall, -250, false},
        {".", kAmountKind, Reading::NotNumber, 0, false},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.text);
        const Typed t = ReadNumber(QString::fromUtf8(c.text), c.kind);
        EXPECT_EQ(t.reading, c.reading);
        EXPECT_DOUBLE_EQ(t.value, c.value);
        EXPECT_EQ(t.held, c.held);
    }
}

TEST(TextNumbers, APercentIsANumberANumberWithItsSignOrOneOfTheFieldsLabels)
{
    const auto label = [](int n) {
        return n == 95 ? QStringLiteral("Very High (95%)") : n == 5 ? QStringLiteral("Very Low (5%)") : QString::number(n);
    };
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"95", 95}, {"95%", 95}, {" 95 % ", 95}, {"Very High (95%)", 95}, {"Very Low (5%)", 5},
        {"120", 100}, {"Very", std::nullopt}, {"%", std::nullopt}, {"(95%)x", std::nullopt},
        {"95%%", std::nullopt}, {"0x10", std::nullopt}, {"very high (95%)", std::nullopt},
        {"Medium (50%)", std::nullopt}, {"High (9%)", std::nullopt},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        const Typed t = ReadPercent(QString::fromUtf8(text), kPercent, label);
        ASSERT_EQ(t.reading == Reading::Value, value.has_value());
        if (value)
            EXPECT_DOUBLE_EQ(t.value, *value);
    }
}

TEST(TextNumbers, ARefusedTextIsExplainedInTheFieldsTerms)
{
    const auto message = [](const char* text, const NumberKind& kind) {
        const QString t = QString::fromUtf8(text);
        return RefusalMessage("The time to contain", t, ReadNumber(t, kind), kind);
    };
    EXPECT_EQ(message("abc", kDays), "The time to contain must be a whole number of days from 0 to 9,999; \"abc\" is not.");
    EXPECT_EQ(message("12000", kDays), "The time to contain cannot be more than 9,999 days.");
    EXPECT_EQ(message("-3", kDays), "The time to contain cannot be below 0 days.");
    EXPECT_EQ(message("abc", kAmountKind),
              "The time to contain must be a number of dollars, such as 12,500; \"abc\" is not.");
    EXPECT_EQ(message("99999999999", kAmountKind),
              "The time to contain of 99,999,999,999 cannot be kept exactly; the nearest amounts that can are "
              "99,999,997,952 and 100,000,006,144.");
    EXPECT_EQ(message("12", kDays), "");
}

TEST(SingleTextTest, WritesTheDigitsASingleHolds)
{
    EXPECT_EQ(SingleText(0.1f), "0.1");
    EXPECT_EQ(SingleText(-7.5f), "-7.5");
    EXPECT_EQ(SingleText(1234567.0f), "1234567");
    EXPECT_EQ(SingleText(123456789.0f), "123456792");
    EXPECT_EQ(SingleText(0.0f), "0");
}

} // namespace
