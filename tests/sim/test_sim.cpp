#include <gtest/gtest.h>

#include "sim/ChipModel.h"

TEST(ChipModel, StartsBlank) {
    EXPECT_FALSE(rtd::sim::ChipModel().InIsp());
}
