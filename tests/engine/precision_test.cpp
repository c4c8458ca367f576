#include <gtest/gtest.h>

#include "engine/precision.h"

TEST(PrecisionText, EveryListedCodeHasItsSentence) {
    EXPECT_EQ("aucune information", PrecisionText(0));
    EXPECT_EQ("de 1 à 5cm", PrecisionText(1));
    EXPECT_EQ("de 5 à 10cm", PrecisionText(2));
    EXPECT_EQ("de 10 à 20cm", PrecisionText(3));
    EXPECT_EQ("de 20à 50cm", PrecisionText(4));
    EXPECT_EQ("de 1 à 2m", PrecisionText(5));
    EXPECT_EQ("de 2 à 5m", PrecisionText(6));
    EXPECT_EQ("inférieure à 1m", PrecisionText(10));
    EXPECT_EQ("de 1 à 5 cm", PrecisionText(11));
    EXPECT_EQ("supérieure à 1m", PrecisionText(99));
    EXPECT_EQ("< 1 cm", PrecisionText(88888888));
    EXPECT_EQ("HORS GRILLE DE GEOIDE", PrecisionText(-999));
}

TEST(PrecisionText, UnlistedCodesGiveTheEmptyText) {
    for (int code : {7, 8, 9, 12, 98, 100, -1, -998, 88888887, 88888889})
        EXPECT_EQ("", PrecisionText(code)) << code;
}
