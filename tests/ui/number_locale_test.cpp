#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/window_mode.h"

// Qt takes the user's locale at start; a French desktop writes decimal
// commas. After KeepDecimalPoint, numbers read and written by the C library
// keep their decimal point, as files and the catalogue need.
TEST(NumberLocale, DecimalPointUnderAFrenchDesktop) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "fr_FR.UTF-8")) GTEST_SKIP() << "no French locale here";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", 2.5);
    ASSERT_EQ(std::string("2,50"), text);  // what a window run would otherwise write

    KeepDecimalPoint();
    std::snprintf(text, sizeof text, "%.2f", 2.5);
    EXPECT_EQ(std::string("2.50"), text);
    EXPECT_EQ(2.5, std::strtod("2.5", nullptr));
    std::setlocale(LC_ALL, saved.c_str());
}
