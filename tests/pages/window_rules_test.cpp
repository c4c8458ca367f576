#include "pages/window_rules.h"

#include <gtest/gtest.h>


TEST(WindowRules, TabPositionsNameTheirPage) {
    EXPECT_EQ(PageKindAtTab(0, true, true), 0);
    EXPECT_EQ(PageKindAtTab(1, true, true), 1);
    EXPECT_EQ(PageKindAtTab(2, true, true), 2);
    EXPECT_EQ(PageKindAtTab(1, false, true), 2);  // the grid page moves up
    EXPECT_EQ(PageKindAtTab(2, false, true), 0);
    EXPECT_EQ(PageKindAtTab(1, false, false), 0);
    EXPECT_EQ(PageKindAtTab(2, true, false), 0);
}

TEST(WindowRules, ProgressPercentage) {
    EXPECT_EQ(ProgressPercentText(0, 0, 100), "0%");
    EXPECT_EQ(ProgressPercentText(100, 0, 100), "100%");
    EXPECT_EQ(ProgressPercentText(50, 1, 100), "49%");
    EXPECT_EQ(ProgressPercentText(150, 0, 100), "50%");  // beyond the bar: modulo 100
    EXPECT_EQ(ProgressPercentText(5, 5, 5), "0%");       // an empty range
}

