#include "model/c35aactable.h"

#include <gtest/gtest.h>

namespace {

struct FromCase {
    float previousTo;
    const char* from;
};

class NextFromTest : public ::testing::TestWithParam<FromCase> {};

TEST_P(NextFromTest, ThePreviousTopSizeGivesTheNextFromText)
{
    EXPECT_EQ(model::NextFromText(GetParam().previousTo), QString::fromLatin1(GetParam().from)) << GetParam().previousTo;
}

INSTANTIATE_TEST_SUITE_P(
    Table, NextFromTest,
    ::testing::Values(FromCase{0, ""}, FromCase{-3, ""}, FromCase{9999999, ""}, FromCase{1e9f, ""},
                      FromCase{0.25f, "0.26"}, FromCase{0.75f, "0.76"}, FromCase{0.9f, "1"}, FromCase{0.86f, "1"},
                      FromCase{0.94f, "1"}, FromCase{0.5f, "0.51"}, FromCase{1, "1.1"}, FromCase{2.5f, "2.6"},
                      FromCase{5, "5.1"}, FromCase{9, "10"}, FromCase{9.5f, "9.6"}, FromCase{10, "11"},
                      FromCase{12.7f, "13"}, FromCase{1000, "1001"}, FromCase{9999998, "9999999"},
                      // The sum is formed from the single-precision size, digits and all.
                      FromCase{0.3f, "0.310000011920929"}));

TEST(NextFromTest, NotANumberGivesNoFrom)
{
    EXPECT_EQ(model::NextFromText(std::numeric_limits<float>::quiet_NaN()), "");
    EXPECT_EQ(model::NextFromText(std::numeric_limits<float>::infinity()), "");
}

} // namespace
