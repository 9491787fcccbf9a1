#include <gtest/gtest.h>

#include "theory/Grenzen.h"
#include "theory/Intervalle.h"
#include "theory/Noten.h"
#include "tests/support/MeldungRecorder.h"

TEST(Noten, TransposingWrapsWithinTheOctave)
{
    EXPECT_EQ(NotenClass::Transponieren(11, 1, true), 0);
    EXPECT_EQ(NotenClass::Transponieren(0, 1, false), 11);
    EXPECT_EQ(NotenClass::Transponieren(4, 7, true), 11);
    EXPECT_EQ(NotenClass::Transponieren(4, 0, true), 4);
    EXPECT_EQ(NotenClass::Transponieren(2, 26, true), 4);
    EXPECT_EQ(NotenClass::Transponieren(2, 26, false), 0);
    EXPECT_EQ(NotenClass::Transponieren(KeinTon, 3, true), KeinTon);
}

TEST(Noten, DefaultNamesAreGerman)
{
    NotenClass names;
    EXPECT_STREQ(names.TonName(11, true), "H");
    EXPECT_STREQ(names.TonName(10, false), "A#/B");
    EXPECT_STREQ(names.TonName(1, true), "C#");
    EXPECT_STREQ(names.TonName(KeinTon, true), "");
    EXPECT_FALSE(names.IstGeaendert());
}

TEST(Noten, RenamingIsLimitedToItsFieldAndMarksModified)
{
    NotenClass names;
    names.TonUmbenennen(11, "Bbbbbbbb", true);
    names.TonUmbenennen(11, "0123456789abc", false);
    EXPECT_STREQ(names.TonName(11, true), "Bbbbb");
    EXPECT_STREQ(names.TonName(11, false), "0123456789");
    EXPECT_STREQ(names.TonName(10, true), "A#") << "the neighbouring entry must stay intact";
    EXPECT_TRUE(names.IstGeaendert());
}

TEST(Intervalle, NamesAndSemitonesOfTheTable)
{
    EXPECT_EQ(HalbtoeneVon(0), 0);
    EXPECT_EQ(HalbtoeneVon(10), 11);
    EXPECT_EQ(HalbtoeneVon(11), 1);
    EXPECT_EQ(HalbtoeneVon(17), 9);
    EXPECT_STREQ(IntervallBezeichnung(10), "maj7");
    EXPECT_STREQ(IntervallBezeichnung(15), "#11");
}

TEST(Intervalle, InvalidCodeShowsThePlainMessage)
{
    MeldungRecorder messages;
    EXPECT_EQ(HalbtoeneVon(18), -1);
    EXPECT_STREQ(IntervallBezeichnung(-1), "???");
    ASSERT_EQ(messages.calls().size(), 2u);
    EXPECT_EQ(messages.calls()[0].first, "Intervall nicht gefunden!");
    EXPECT_EQ(messages.calls()[0].second, "Abbruch");
}

TEST(Intervalle, GenericNamesPreferSimpleIntervals)
{
    EXPECT_EQ(IntervallName(0, 2), "2");
    EXPECT_EQ(IntervallName(0, 9), "6");
    EXPECT_EQ(IntervallName(9, 0), "b3");
    EXPECT_EQ(IntervallName(0, 1), "b9");
    EXPECT_EQ(IntervallName(0, 11), "maj7");
    EXPECT_EQ(IntervallName(KeinTon, 5), "?");
    EXPECT_EQ(IntervallName(0, KeinTon), "");
    EXPECT_EQ(IntervallName(7, 7), "1");
}
