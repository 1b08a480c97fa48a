#include "model/textnumbers.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct TypedCase {
    const char* text;
    std::optional<double> value;
};

class TypedNumberTest : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedNumberTest, OnlyWholeNumbersAsPeopleTypeThemAreRead)
{
    const TypedCase c = GetParam();
    double v = -12345;
    const bool ok = model::textnum::IsTypedNumber(QString::fromUtf8(c.text), &v);
    ASSERT_EQ(ok, c.value.has_value()) << c.text;
    if (ok)
        EXPECT_DOUBLE_EQ(v, *c.value) << c.text;
    else
        EXPECT_EQ(v, -12345) << "a refused text leaves the value alone";
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypedNumberTest,
    ::testing::Values(TypedCase{"1,000", 1000}, TypedCase{"-1,000", -1000}, TypedCase{" 12,500.5 ", 12500.5},
                      TypedCase{"1,234,567", 1234567}, TypedCase{"1000", 1000}, TypedCase{".5", 0.5},
                      TypedCase{"5.", 5}, TypedCase{"+7", 7}, TypedCase{"1e3", 1000}, TypedCase{"-5", -5},
                      TypedCase{"1,2,3", std::nullopt}, TypedCase{"12,34", std::nullopt},
                      TypedCase{"1234,567", std::nullopt}, TypedCase{",100", std::nullopt},
                      TypedCase{"1,000,", std::nullopt}, TypedCase{"1e309", std::nullopt},
                      TypedCase{"abc", std::nullopt}, TypedCase{"", std::nullopt}, TypedCase{"-", std::nullopt},
                      TypedCase{".", std::nullopt}, TypedCase{"1e", std::nullopt}, TypedCase{"12a", std::nullopt},
                      TypedCase{"nan", std::nullopt}, TypedCase{"inf", std::nullopt},
                      TypedCase{"1.000,5", std::nullopt}, TypedCase{"$5", std::nullopt}));

TEST(SingleTextTest, WritesTheDigitsASingleHolds)
{
    EXPECT_EQ(model::textnum::SingleText(0.1f), "0.1");
    EXPECT_EQ(model::textnum::SingleText(-7.5f), "-7.5");
    EXPECT_EQ(model::textnum::SingleText(1234567.0f), "1234567");
    EXPECT_EQ(model::textnum::SingleText(123456789.0f), "123456792");
    EXPECT_EQ(model::textnum::SingleText(0.0f), "0");
}

} // namespace
