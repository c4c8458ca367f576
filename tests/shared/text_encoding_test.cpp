#include <gtest/gtest.h>

#include "shared/text_encoding.h"

TEST(TextEncoding, EveryLatin1ByteRoundTrips) {
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    const std::string utf8 = Latin1ToUtf8(all);
    EXPECT_EQ(127u + 2u * 128u, utf8.size());
    EXPECT_EQ(all, Utf8ToLatin1(utf8));
}

TEST(TextEncoding, AccentedFrenchText) {
    EXPECT_EQ("Syst\xE8me de d\xE9part", Utf8ToLatin1("Système de départ"));
    EXPECT_EQ("Géographiques", Latin1ToUtf8("G\xE9ographiques"));
}

TEST(TextEncoding, CharactersOutsideLatin1BecomeQuestionMarks) {
    EXPECT_EQ("a?b", Utf8ToLatin1("a€b"));   // three-byte sequence
    EXPECT_EQ("?", Utf8ToLatin1("\xF0\x9F\x98\x80"));  // four-byte sequence
    EXPECT_EQ("?x", Utf8ToLatin1("\xC3x"));  // broken sequence
    EXPECT_EQ("?", Utf8ToLatin1("\xE9"));    // lone Latin-1 byte, not UTF-8
    EXPECT_EQ("?", Utf8ToLatin1("\xC3"));    // truncated at the end
}
