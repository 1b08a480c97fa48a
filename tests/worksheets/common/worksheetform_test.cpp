#include "worksheets/common/worksheetform.h"

#include "core/uimode.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(SwitchShownObject, SavesFirstThenDisplaysWhileBusy)
{
    QStringList steps;
    worksheets::SwitchShownObject([&] { steps << (core::IsIdle() ? "save idle" : "save busy"); },
                                  [&] { steps << (core::IsIdle() ? "display idle" : "display busy"); });
    EXPECT_EQ(steps, QStringList({"save idle", "display busy"}));
    EXPECT_TRUE(core::IsIdle());
}

TEST(SwitchShownObject, AFailedSaveShowsNothingElse)
{
    bool displayed = false;
    EXPECT_THROW(worksheets::SwitchShownObject([] { throw std::runtime_error("locked"); }, [&] { displayed = true; }),
                 std::runtime_error);
    EXPECT_FALSE(displayed);
    EXPECT_TRUE(core::IsIdle());
}

} // namespace
