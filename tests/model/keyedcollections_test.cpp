#include "model/keyedcollection.h"
#include "model/keyedlist.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

// A damaged file can hold two rows that read as one key: the object of the first row stays,
// where it stood, and the second is dropped without an error.
TEST(KeyedCollections, ASecondObjectUnderAKeyHeldIsDroppedAndTheFirstStays)
{
    KeyedList<QString> list;
    QString* first = list.Add(5, std::make_unique<QString>("first"));
    list.Add(7, std::make_unique<QString>("other"));
    EXPECT_EQ(list.Add(5, std::make_unique<QString>("second")), first);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(5), first);
    EXPECT_EQ(list.At(1), first);
    EXPECT_EQ(*list.At(2), "other");

    KeyedCollection<QString> shared;
    QString* firstShared = shared.Add(5, std::make_shared<QString>("first"));
    shared.Add(7, std::make_shared<QString>("other"));
    EXPECT_EQ(shared.Add(5, std::make_shared<QString>("second")), firstShared);
    EXPECT_EQ(shared.Count(), 2);
    EXPECT_EQ(*shared.Find(5), "first");
    EXPECT_EQ(*shared.At(0), "first");
    EXPECT_EQ(shared.KeyAt(1), 7);
}

} // namespace
