#include "model/outcomerows.h"

#include <gtest/gtest.h>

#include <vector>

using namespace model;

namespace {

TEST(FirstNotBelow, FindsThePlaceOfAKeyAmongSortedPairsOfAnyCount)
{
    const std::pair<int, int> pairs[] = {{2, 0}, {4, 0}, {4, 1}, {7, 0}, {9, 0}};
    const struct {
        qsizetype count;
        int key;
        qsizetype place;
    } cases[] = {
        {0, 5, 0}, {1, 1, 0}, {1, 2, 0}, {1, 3, 1}, {2, 4, 1}, {2, 5, 2},
        {5, 1, 0}, {5, 2, 0}, {5, 3, 1}, {5, 4, 1}, {5, 5, 3}, {5, 7, 3}, {5, 8, 4}, {5, 9, 4}, {5, 10, 5},
        {4, 9, 4}, {3, 7, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstNotBelow(pairs, c.count, c.key) - pairs, c.place) << c.key << " among " << c.count;
}

// Keys asked as a run, the way a list walks its values at risk or FMUs against an outcome's
// rows: mostly rising, some without a row, now and then one out of order or asked twice.
TEST(ByKey, ValueFromFindsEveryKeyOfARunInAnyOrder)
{
    ByKey<int> rows;
    for (const int key : {6, 2, 9, 4})
        rows.Add(key, key * 10);
    const struct {
        std::vector<int> keys;
        std::vector<int> values;
    } cases[] = {
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {-1, 20, -1, 40, -1, 60, -1, -1, 90, -1}},
        {{9, 2, 6, 4, 4, 10, 1, 9}, {90, 20, 60, 40, 40, -1, -1, 90}},
        {{2, 9, 9, 6, 2}, {20, 90, 90, 60, 20}},
    };
    for (const auto& c : cases) {
        qsizetype from = 0;
        std::vector<int> values;
        for (const int key : c.keys)
            values.push_back(rows.ValueFrom(key, &from, -1));
        EXPECT_EQ(values, c.values) << "first key " << c.keys.front();
    }
    qsizetype past = 100;   // a place beyond the rows starts afresh
    EXPECT_EQ(rows.ValueFrom(4, &past, -1), 40);
    qsizetype none = 0;
    EXPECT_EQ(ByKey<int>().ValueFrom(4, &none, -1), -1);
}

} // namespace
