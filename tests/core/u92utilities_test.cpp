#include "core/u92utilities.h"
#include "platform/ui/scriptedprompter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace {

struct RoundCase {
    double value;
    int digits;
    double expected;
};

TEST(RoundSignificantTest, Cases)
{
    const RoundCase cases[] = {
        // The worked examples.
        {1234.5, 2, 1200}, {1250, 2, 1200}, {1350, 2, 1400}, {45.5, 2, 46}, {2500, 1, 2000}, {9876, 3, 9880},
        {999, 2, 1000}, {100, 2, 100}, {-1234.5, 2, -1200}, {0.0123, 2, 0.01}, {0.5, 2, 0.5}, {0, 2, 0},
        // Ties go to the even neighbour, also below 1 and for negatives.
        {1150, 2, 1200}, {12500, 3, 12500}, {12350, 3, 12400}, {12450, 3, 12400}, {0.125, 2, 0.12},
        {0.135, 2, 0.14}, {-1250, 2, -1200}, {-0.125, 2, -0.12}, {44.5, 2, 44},
        // Powers of ten and values below 1.
        {1, 2, 1}, {10, 3, 10}, {1000000, 2, 1000000}, {0.999, 2, 1}, {0.0049, 2, 0}, {0.0051, 2, 0.01},
        {-0.07, 2, -0.07}, {0.456, 3, 0.456}, {123456789, 3, 123000000},
        // At and beyond the largest power of ten a double holds exactly.
        {1e22, 2, 1e22}, {9.96e21, 2, 1e22}, {2.5e22, 2, 2.5e22}, {9.96e24, 2, 1e25},
    };
    for (const RoundCase& c : cases)
        EXPECT_DOUBLE_EQ(core::RoundSignificant(c.value, c.digits), c.expected) << c.value << " to " << c.digits;
}

TEST(RoundSignificantTest, NonFiniteValuesComeBackUnchanged)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(std::isnan(core::RoundSignificant(std::numeric_limits<double>::quiet_NaN(), 2)));
    EXPECT_EQ(core::RoundSignificant(inf, 2), inf);
    EXPECT_EQ(core::RoundSignificant(-inf, 3), -inf);
    EXPECT_DOUBLE_EQ(core::RoundSignificant(1.7e308, 2), 1.7e308);
    EXPECT_DOUBLE_EQ(core::RoundSignificant(1.2345e300, 2), 1.2e300);
}

TEST(RoundSignificantTest, SignOfZeroAndWholeValuesOfSixteenDigits)
{
    // A negative value that rounds to nothing keeps its sign, as it always has.
    EXPECT_TRUE(std::signbit(core::RoundSignificant(-0.001, 2)));
    EXPECT_EQ(core::RoundSignificant(-0.001, 2), 0.0);
    EXPECT_FALSE(std::signbit(core::RoundSignificant(0.001, 2)));
    EXPECT_TRUE(std::signbit(core::RoundSignificant(-0.0, 2)));
    // From 2^52 a double has no fraction left; just below it a half still goes to even.
    EXPECT_EQ(core::RoundSignificant(4503599627370495.5, 16), 4503599627370496.0);
    EXPECT_EQ(core::RoundSignificant(4503599627370494.5, 16), 4503599627370494.0);
    EXPECT_EQ(core::RoundSignificant(4503599627370497.0, 16), 4503599627370497.0);
    EXPECT_EQ(core::RoundSignificant(9007199254740994.0, 16), 9007199254740994.0);
    // Around powers of two and ten, where a value's power of ten is found.
    EXPECT_EQ(core::RoundSignificant(1024, 2), 1000.0);
    EXPECT_EQ(core::RoundSignificant(9.5, 1), 10.0);
    EXPECT_EQ(core::RoundSignificant(15.5, 1), 20.0);
    EXPECT_EQ(core::RoundSignificant(1e15, 1), 1e15);
    EXPECT_EQ(core::RoundSignificant(1.5e-300, 2), 0.0);
}

TEST(NearestWholeTest, HalvesToEvenSignKept)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double cases[][2] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3},
        {0.49999999999999994, 0},   // a half less one step: adding 0.5 would give 1
        {-0.3, -0.0}, {-0.0, -0.0}, {0.0, 0.0}, {-0.5, -0.0},
        {4503599627370495.5, 4503599627370496.0}, {-4503599627370495.5, -4503599627370496.0},
        {4503599627370494.5, 4503599627370494.0}, {4503599627370496.0, 4503599627370496.0},
        {4503599627370497.0, 4503599627370497.0}, {9007199254740994.0, 9007199254740994.0},
        {1e300, 1e300}, {-1e300, -1e300}, {4.9e-324, 0.0}, {-4.9e-324, -0.0}, {inf, inf}, {-inf, -inf},
    };
    for (const auto& [x, expected] : cases) {
        const double r = core::NearestWhole(x);
        EXPECT_EQ(r, expected) << x;
        EXPECT_EQ(std::signbit(r), std::signbit(expected)) << x;
    }
    EXPECT_TRUE(std::isnan(core::NearestWhole(std::numeric_limits<double>::quiet_NaN())));
}

TEST(RoundHalfEvenTest, ClampedToTheIntRangeAndNothingForNaN)
{
    const std::pair<double, int> cases[] = {
        {2147483646.5, 2147483646}, {2147483647.5, 2147483647}, {1e300, 2147483647},
        {-2147483647.5, -2147483648}, {-2147483648.5, -2147483648}, {-1e300, -2147483648},
        {-0.5, 0}, {-1.5, -2}, {std::numeric_limits<double>::infinity(), 2147483647},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& [v, expected] : cases)
        EXPECT_EQ(core::RoundHalfEven(v), expected) << v;
}

TEST(ConfirmDeleteTest, OnlyYesConfirms)
{
    ui::ScriptedPrompter prompter;
    prompter.answer(ui::Answer::Yes);
    EXPECT_TRUE(core::ConfirmDelete("Alternative B?"));
    prompter.answer(ui::Answer::No);
    EXPECT_FALSE(core::ConfirmDelete("Alternative B?"));
    EXPECT_FALSE(core::ConfirmDelete("Alternative B?"));   // Enter at once takes the default, No

    ASSERT_EQ(prompter.messages().size(), 3);
    const ui::Message& m = prompter.messages().first();
    EXPECT_EQ(m.text, "Do you really want to delete Alternative B?");
    EXPECT_EQ(m.title, "Delete");
    EXPECT_EQ(m.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(m.icon, ui::Icon::Critical);
    EXPECT_EQ(m.defaultButton, ui::Answer::No);
}

TEST(AlternativeLettersTest, LettersAndPositionsBothWays)
{
    const struct {
        int position;
        const char* letters;
    } cases[] = {{1, "A"}, {2, "B"}, {26, "Z"}, {27, "AA"}, {28, "AB"}, {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"}};
    for (const auto& c : cases) {
        EXPECT_EQ(core::AlternativeLetters(c.position), c.letters) << c.position;
        EXPECT_EQ(core::AlternativePosition(c.letters), c.position) << c.letters;
    }
    EXPECT_EQ(core::AlternativeLetters(0), "");
    EXPECT_EQ(core::AlternativePosition("ab"), 28);   // either case
    for (const char* notLetters : {"", "A1", "[", "A.", " A", "\\", "{"})
        EXPECT_EQ(core::AlternativePosition(notLetters), 0) << notLetters;
}

} // namespace

