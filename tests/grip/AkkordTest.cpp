#include <gtest/gtest.h>

#include <cstring>

#include "grip/Akkord.h"

TEST(Griff, ClearedGripIsSilentAndMuted)
{
    AkkordClass g;
    EXPECT_EQ(g.PunktAnzahl(), 0);
    EXPECT_EQ(g.TiefsterBund(), 1);
    EXPECT_EQ(g.Grundton, KeinTon);
    for (int s = 1; s <= 6; ++s) {
        EXPECT_EQ(g.SaitenStatus(s), SaiteStumm);
        EXPECT_EQ(g.KlingenderTon(s), KeinTon);
    }
    EXPECT_TRUE(g.AlleSaiten(false));
    EXPECT_FALSE(g.AlleSaiten(true));
    EXPECT_EQ(g.Barre(0), 0);
}

TEST(Griff, EntriesAreKeptSortedByFretStringFinger)
{
    AkkordClass g;
    EXPECT_EQ(g.FingerSetzen(5, 2, 3), 1);
    EXPECT_EQ(g.FingerSetzen(3, 4, 1), 2);
    EXPECT_EQ(g.FingerSetzen(3, 1, 2), 3);
    EXPECT_EQ(g.Punkt(0).Bund, 3);
    EXPECT_EQ(g.Punkt(0).Saite, 1);
    EXPECT_EQ(g.Punkt(1).Saite, 4);
    EXPECT_EQ(g.Punkt(2).Bund, 5);
    EXPECT_EQ(g.TiefsterBund(), 3);
    EXPECT_EQ(g.FingerBei(5, 2), 3);
    EXPECT_EQ(g.FingerBei(5, 3), -1);
}

TEST(Griff, UnsortedAppendThenSortGivesTheSameOrder)
{
    AkkordClass sorted;
    AkkordClass appended;
    const int spots[][3] = {{7, 3, 4}, {2, 6, 1}, {2, 5, 1}, {4, 1, 2}, {2, 1, 1}, {30, 6, 4}};
    for (const auto& s : spots) {
        sorted.FingerSetzen(s[0], s[1], s[2]);
        appended.FingerSetzen(s[0], s[1], s[2], true);
    }
    appended.Sortieren();
    EXPECT_EQ(std::memcmp(&sorted.Daten(), &appended.Daten(), sizeof(AkkordDatenClass)), 0);
}

TEST(Griff, TheThirteenthEntryIsRefused)
{
    AkkordClass g;
    for (int i = 1; i <= MaxPunkte; ++i)
        ASSERT_EQ(g.FingerSetzen(i, 1 + i % 6, 1), i);
    const AkkordDatenClass before = g.Daten();
    EXPECT_EQ(g.FingerSetzen(20, 3, 2), -1);
    EXPECT_EQ(std::memcmp(&before, &g.Daten(), sizeof before), 0);

    g.FingerEntfernen(1, 2);
    EXPECT_EQ(g.PunktAnzahl(), 11);
    const FingerPunktClass zero{};
    EXPECT_EQ(std::memcmp(&g.Punkte[11], &zero, sizeof zero), 0) << "the vacated slot is zero";
    EXPECT_EQ(std::memcmp(&g.Punkte[12], &zero, sizeof zero), 0);
    EXPECT_EQ(g.Punkt(0).Bund, 2);
}

TEST(Griff, RemovingOrChangingAFreeSpotDoesNothing)
{
    AkkordClass g;
    g.FingerSetzen(3, 2, 1);
    g.FingerEntfernen(4, 2);
    EXPECT_EQ(g.PunktAnzahl(), 1);
    EXPECT_EQ(g.FingerAendern(4, 2, 3), -1);
    EXPECT_EQ(g.FingerAendern(3, 2, 4), 1);
    EXPECT_EQ(g.FingerBei(3, 2), 4);
}

TEST(Griff, HighestFretOnAStringSounds)
{
    AkkordClass g;
    g.FingerSetzen(3, 1, 1);
    g.FingerSetzen(5, 1, 3);
    EXPECT_EQ(g.KlingenderTon(1), 9) << "E plus five semitones is A";
    g.FingerSetzen(1, 5, 1);
    EXPECT_EQ(g.KlingenderTon(5), 0) << "H on fret 1 is C";
    g.FingerSetzen(25, 6, 4);
    EXPECT_EQ(g.KlingenderTon(6), 5) << "frets beyond the octave wrap";
}

TEST(Griff, OpenFlagIsClearedUnderAFinger)
{
    AkkordClass g;
    g.LeerSetzen(2, true);
    EXPECT_EQ(g.SaitenStatus(2), SaiteLeer);
    EXPECT_EQ(g.KlingenderTon(2), 9);
    g.FingerSetzen(2, 2, 1);
    EXPECT_EQ(g.SaitenStatus(2), SaiteGegriffen);
    g.LeerBereinigen();
    g.FingerEntfernen(2, 2);
    EXPECT_EQ(g.SaitenStatus(2), SaiteStumm);
}

TEST(Griff, AllStringsLooksAtTheTuningsStringsOnly)
{
    AkkordClass g;
    g.SaiteEntfernen(5);
    g.SaiteEntfernen(4);
    for (int s = 1; s <= 4; ++s)
        g.LeerSetzen(s, true);
    EXPECT_TRUE(g.AlleSaiten(true));
    EXPECT_FALSE(g.AlleSaiten(false));
    g.FingerSetzen(2, 3, 1);
    EXPECT_FALSE(g.AlleSaiten(true));
}

TEST(Griff, BarreDetection)
{
    struct Case
    {
        const char* what;
        int spots[6][3]; // fret, string, finger; fret 0 ends the list
        int barres;
        BarreClass first;
    };
    const Case cases[] = {
        {"full barre", {{1, 1, 1}, {1, 2, 1}, {1, 3, 1}, {1, 4, 1}, {1, 5, 1}, {1, 6, 1}}, 1, {1, 1, 6, 1}},
        {"gap splits", {{3, 1, 1}, {3, 2, 1}, {3, 4, 1}, {3, 5, 1}}, 2, {3, 1, 2, 1}},
        {"different fingers", {{3, 2, 1}, {3, 3, 2}}, 0, {}},
        {"single entry", {{5, 3, 1}}, 0, {}},
        {"grows both ways", {{2, 3, 1}, {2, 5, 1}, {2, 4, 1}, {2, 2, 1}}, 1, {2, 2, 5, 1}},
        {"different frets", {{2, 3, 1}, {3, 4, 1}}, 0, {}},
    };
    for (const Case& c : cases) {
        AkkordClass g;
        for (const auto& s : c.spots) {
            if (s[0] != 0)
                g.FingerSetzen(s[0], s[1], s[2]);
        }
        EXPECT_EQ(g.Barre(0), c.barres) << c.what;
        BarreClass b{-1, -1, -1, -1};
        EXPECT_EQ(g.Barre(1, &b), c.barres) << c.what;
        if (c.barres > 0) {
            EXPECT_EQ(b.Bund, c.first.Bund) << c.what;
            EXPECT_EQ(b.TiefsteSaite, c.first.TiefsteSaite) << c.what;
            EXPECT_EQ(b.HoechsteSaite, c.first.HoechsteSaite) << c.what;
            EXPECT_EQ(b.Finger, c.first.Finger) << c.what;
        } else {
            EXPECT_EQ(b.Bund, -1) << c.what << ": outputs stay untouched";
        }
    }
}

TEST(Griff, SecondBarreOfASplitRun)
{
    AkkordClass g;
    for (int s : {1, 2, 4, 5})
        g.FingerSetzen(3, s, 1);
    BarreClass b;
    EXPECT_EQ(g.Barre(2, &b), 2);
    EXPECT_EQ(b.TiefsteSaite, 4);
    EXPECT_EQ(b.HoechsteSaite, 5);
}

TEST(Griff, GripNumberIsNoPartOfTheIdentity)
{
    AkkordClass a;
    AkkordClass b;
    a.FingerSetzen(2, 3, 1);
    b.FingerSetzen(2, 3, 1);
    a.Nummer = 7;
    b.Nummer = 9;
    EXPECT_TRUE(GleicherGriff(a, b));
    b.LeerSetzen(6, true);
    EXPECT_FALSE(GleicherGriff(a, b));
}
