#include <gtest/gtest.h>

#include "theory/Zeichensatz.h"

TEST(Zeichensatz, UmlautsAndSharpSRoundTrip)
{
    const std::string utf8 = "Laute für Anfänger: Öl, Übung, Größe";
    std::string cp1252;
    ASSERT_TRUE(utf8ToCp1252(utf8, cp1252));
    EXPECT_EQ(cp1252, "Laute f\xFCr Anf\xE4nger: \xD6l, \xDC"
                      "bung, Gr\xF6\xDF"
                      "e");
    EXPECT_EQ(cp1252ToUtf8(cp1252), utf8);
}

TEST(Zeichensatz, HighControlRangeMapsToTypographicCharacters)
{
    EXPECT_EQ(cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(cp1252ToUtf8("\x84\x93\x94"), "„“”");
    EXPECT_EQ(cp1252ToUtf8("\x96\x99"), "–™");
    std::string cp1252;
    ASSERT_TRUE(utf8ToCp1252("5 € – „Zupf“", cp1252));
    EXPECT_EQ(cp1252, "5 \x80 \x96 \x84Zupf\x93");
}

TEST(Zeichensatz, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(utf8ToCp1252(cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Zeichensatz, UnrepresentableOrMalformedTextIsRefused)
{
    std::string target = "unchanged";
    EXPECT_FALSE(utf8ToCp1252("Ŋ", target));
    EXPECT_FALSE(utf8ToCp1252("😀", target));
    EXPECT_FALSE(utf8ToCp1252("\xC3", target));
    EXPECT_FALSE(utf8ToCp1252("\xC0\x80", target)) << "overlong encoding";
    EXPECT_EQ(target, "unchanged");
    EXPECT_TRUE(cp1252CanHold(U'€'));
    EXPECT_FALSE(cp1252CanHold(U'Ŋ'));
}
