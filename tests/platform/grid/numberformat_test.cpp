#include "platform/grid/numberformat.h"

#include <gtest/gtest.h>

using grid::FormatNumber;
using grid::NumericValue;

struct FormatCase {
    double value;
    const char* format;
    const char* text;
};

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, WritesTheWorksheetFormats)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.format), QString::fromUtf8(c.text)) << c.value << " " << c.format;
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatNumberTest, ::testing::Values(
    FormatCase{1234.5, "0", "1235"},
    FormatCase{2.5, "0", "3"},                   // halves away from zero, as a format rounds
    FormatCase{0, "0", "0"},
    FormatCase{0, "#", ""},
    FormatCase{7, "#", "7"},
    FormatCase{1234567, "#,0", "1,234,567"},
    FormatCase{0, "#,0", "0"},
    FormatCase{-1500, "#,0", "-1,500"},
    FormatCase{0, "#,#", ""},
    FormatCase{999.5, "#,#", "1,000"},
    FormatCase{45035, "$#,0", "$45,035"},
    FormatCase{-1500000, "$#,0", "-$1,500,000"},
    FormatCase{0, "$#,0", "$0"},
    FormatCase{0, "$#,#", "$"},
    FormatCase{0, "#.00", ".00"},
    FormatCase{-3.5, "#.00", "-3.50"},
    FormatCase{1234.567, "#,#.00", "1,234.57"},
    FormatCase{0.5, "#,#.00", ".50"},
    FormatCase{0.05, "0.0", "0.1"},
    FormatCase{0.4, "#.0", ".4"},
    FormatCase{0.333, "fixed", "0.33"},
    FormatCase{-12345, " #,0", "- 12,345"},
    FormatCase{-0.4, "0", "0"}));

TEST(NumericValueTest, ReadsBackEveryFormatItWrites)
{
    // Each format with the number of decimals it keeps.
    const struct {
        const char* format;
        double scale;
    } formats[] = {{"0", 1},        {"#", 1},      {"#,0", 1},    {"#,#", 1},    {"$#,0", 1},
                   {"$#,#", 1},     {"#.00", 100}, {"#,#.00", 100}, {"0.0", 10}, {"fixed", 100}};
    const double values[] = {0, 7, -3.5, 1234.57, 1500000, -45035, 0.5};
    for (const auto& f : formats) {
        for (double v : values) {
            const QString text = FormatNumber(v, f.format);
            // The read-back equals the value as the format rounded it (halves away from zero).
            EXPECT_NEAR(NumericValue(text), std::round(v * f.scale) / f.scale, 1e-9)
                << f.format << " " << v << " '" << text.toStdString() << "'";
        }
    }
}

TEST(NumericValueTest, ReadsTheLeadingNumberOfTypedText)
{
    EXPECT_EQ(NumericValue(""), 0.0);
    EXPECT_EQ(NumericValue("abc"), 0.0);
    EXPECT_EQ(NumericValue("-"), 0.0);
    EXPECT_EQ(NumericValue("$1,000"), 1000.0);
    EXPECT_EQ(NumericValue(" 12 acres"), 12.0);
    EXPECT_EQ(NumericValue("5.5.1"), 5.5);
    EXPECT_EQ(NumericValue("1e3"), 1000.0);
    EXPECT_EQ(NumericValue("1e999"), 0.0);   // out of range reads as no number
}

TEST(VbColorTest, MapsBlueInTheHighByte)
{
    EXPECT_EQ(grid::VbColor(0xC0FFC0), QColor(192, 255, 192));
    EXPECT_EQ(grid::VbColor(0xE0FFFF), QColor(255, 255, 224));
    EXPECT_EQ(grid::VbColor(0xFF00), QColor(0, 255, 0));
}
