#include "core/uimode.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

class BusyTest : public ::testing::Test {
protected:
    std::vector<bool> cursor;
    void SetUp() override { core::SetBusyCursorHandler([this](bool busy) { cursor.push_back(busy); }); }
    void TearDown() override
    {
        while (!core::IsIdle())
            core::EndBusy();
        core::SetBusyCursorHandler({});
    }
};

TEST_F(BusyTest, NestedPeriodsShowTheCursorOnce)
{
    EXPECT_TRUE(core::IsIdle());
    core::BeginBusy();
    core::BeginBusy();
    core::EndBusy();
    EXPECT_FALSE(core::IsIdle());
    EXPECT_EQ(cursor, std::vector<bool>({true}));
    core::EndBusy();
    EXPECT_TRUE(core::IsIdle());
    EXPECT_EQ(cursor, std::vector<bool>({true, false}));
}

TEST_F(BusyTest, AnUnmatchedEndDoesNotBlockIdleForever)
{
    core::EndBusy();
    EXPECT_TRUE(core::IsIdle());
    core::BeginBusy();
    EXPECT_FALSE(core::IsIdle());
    core::EndBusy();
    EXPECT_TRUE(core::IsIdle());
    EXPECT_EQ(cursor, std::vector<bool>({true, false}));
}

TEST_F(BusyTest, AnExceptionCannotLeaveTheProgramBusy)
{
    EXPECT_THROW(
        {
            core::BusyScope outer;
            core::BusyScope inner;
            EXPECT_FALSE(core::IsIdle());
            throw std::runtime_error("fill failed");
        },
        std::runtime_error);
    EXPECT_TRUE(core::IsIdle());
    EXPECT_EQ(cursor, std::vector<bool>({true, false}));
}

} // namespace
