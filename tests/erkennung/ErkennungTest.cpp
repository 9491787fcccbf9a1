#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <sstream>

#include "erkennung/Erkennung.h"
#include "tests/support/MeldungRecorder.h"

namespace {

// Interval codes by name, in table order.
enum Code { I1, I2, Ib3, I3, I4, Ib5, I5, Is5, I6, I7, Imaj7, Ib9, I9, Is9, I11, Is11, Ib13, I13 };

struct Slot
{
    int code;
    bool optional = false;
};

int addType(ErkennungClass& e, const char* name, std::initializer_list<Slot> slots)
{
    EXPECT_TRUE(e.TypZufuegen());
    const int t = e.TypAnzahl() - 1;
    e.TypUmbenennen(t, name);
    for (const Slot& s : slots) {
        if (s.code != I1)
            EXPECT_TRUE(e.IntervallZufuegen(t, s.code, s.optional));
    }
    return t;
}

// Frets per string from the low E upward on the default tuning: 'x' muted, '0' open.
void play(ErkennungClass& e, const char* frets)
{
    e.Loeschen();
    for (int s = 1; s <= 6 && frets[s - 1]; ++s) {
        const char c = frets[s - 1];
        if (c == '0')
            e.LeerSetzen(s, true);
        else if (c != 'x')
            e.FingerSetzen(c - '0', s, 1);
    }
}

class Recognition : public testing::Test
{
protected:
    ErkennungClass e;
    TrefferClass result;
    TrefferClass list[MaxTreffer];
};

} // namespace

TEST(Katalog, IntervalsStayInCodeOrder)
{
    ErkennungClass e;
    const int t = addType(e, "x", {});
    EXPECT_TRUE(e.IntervallZufuegen(t, I5, false));
    EXPECT_TRUE(e.IntervallZufuegen(t, I3, false));
    EXPECT_EQ(e.IntervallText(t), "1-3-5");
    EXPECT_TRUE(e.IntervallZufuegen(t, I13, false));
    EXPECT_TRUE(e.IntervallZufuegen(t, Ib9, true));
    EXPECT_EQ(e.IntervallText(t), "1-3-5-(b9)-13");
    EXPECT_EQ(e.IntervallAn(t, 3), Ib9);
    EXPECT_EQ(e.Typ(t).Intervalle[3].Halbtoene, 1);
}

TEST(Katalog, DuplicatesAndASeventhIntervalAreRefused)
{
    ErkennungClass e;
    const int t = addType(e, "x", {{I3}, {I5}});
    e.SetzeGeaendert(false);
    EXPECT_FALSE(e.IntervallZufuegen(t, I5, true));
    EXPECT_EQ(e.IntervallText(t), "1-3-5");
    EXPECT_FALSE(e.IstGeaendert());
    EXPECT_TRUE(e.IntervallZufuegen(t, I7, false));
    EXPECT_TRUE(e.IntervallZufuegen(t, I9, false));
    EXPECT_TRUE(e.IntervallZufuegen(t, I13, false));
    EXPECT_FALSE(e.IntervallZufuegen(t, I11, true));
    EXPECT_EQ(e.IntervallAnzahl(t), 6);
}

TEST(Katalog, RemovingIntervals)
{
    ErkennungClass e;
    const int t = addType(e, "x", {{I3}, {I5, true}});
    e.SetzeGeaendert(false);
    EXPECT_FALSE(e.IntervallEntfernen(t, I7));
    EXPECT_FALSE(e.IstGeaendert());
    EXPECT_EQ(e.IstOptional(t, I5), 1);
    EXPECT_EQ(e.IstOptional(t, I1), 0);
    EXPECT_EQ(e.IstOptional(t, I7), 0);
    EXPECT_TRUE(e.IntervallEntfernen(t, I1));
    EXPECT_EQ(e.IntervallText(t), "3-(5)");
    EXPECT_TRUE(e.IstGeaendert());
}

TEST(Katalog, TypesAreLimitedToForty)
{
    ErkennungClass e;
    EXPECT_FALSE(e.TypEntfernen(-1));
    for (int i = 0; i < MaxTypen; ++i)
        ASSERT_TRUE(e.TypZufuegen());
    EXPECT_FALSE(e.TypZufuegen());
    EXPECT_STREQ(e.TypName(39), "(unbenannt)");
    EXPECT_EQ(e.IntervallText(39), "1");
    e.SetzeGeaendert(false);
    EXPECT_TRUE(e.TypEntfernen(-1));
    EXPECT_EQ(e.TypAnzahl(), 0);
    EXPECT_FALSE(e.IstGeaendert()) << "emptying leaves the modified flag alone";
}

TEST(Katalog, RemovingAndSwappingTypes)
{
    ErkennungClass e;
    addType(e, "a", {});
    addType(e, "b", {});
    addType(e, "c", {});
    EXPECT_TRUE(e.TypenTauschen(0, 2));
    EXPECT_STREQ(e.TypName(0), "c");
    EXPECT_TRUE(e.TypEntfernen(0));
    EXPECT_STREQ(e.TypName(0), "b");
    EXPECT_STREQ(e.TypName(1), "a");
    EXPECT_FALSE(e.TypEntfernen(2));
    EXPECT_FALSE(e.TypenTauschen(0, 5));
    e.TypUmbenennen(0, "abcdefghijklmnopqrstuvwxyz");
    EXPECT_STREQ(e.TypName(0), "abcdefghijklmnopqrs");
}

TEST(Katalog, ReadRefusesDamagedTypesAndLeavesTheCatalogueEmpty)
{
    struct Case
    {
        const char* what;
        void (*damage)(AkkordTypClass&);
    };
    const Case cases[] = {
        {"seven intervals", [](AkkordTypClass& t) { t.IntervallAnzahl = 7; }},
        {"negative intervals", [](AkkordTypClass& t) { t.IntervallAnzahl = -1; }},
        {"code above 17", [](AkkordTypClass& t) { t.Intervalle[1].Intervallcode = 18; }},
        {"semitones off the table", [](AkkordTypClass& t) { t.Intervalle[1].Halbtoene = 1000000; }},
        {"unterminated name", [](AkkordTypClass& t) { std::memset(t.Name, 'x', sizeof t.Name); }},
    };
    for (const Case& c : cases) {
        ErkennungClass source;
        addType(source, "maj", {{I3}, {I5}});
        AkkordTypClass typ = source.Typ(0);
        c.damage(typ);
        std::stringstream stream;
        const std::int32_t count = 1;
        stream.write(reinterpret_cast<const char*>(&count), 4);
        stream.write(reinterpret_cast<const char*>(&typ), sizeof typ);
        ErkennungClass read;
        EXPECT_FALSE(read.Einlesen(stream)) << c.what;
        EXPECT_EQ(read.TypAnzahl(), 0) << c.what;
    }
    for (std::int32_t count : {41, -1}) {
        std::stringstream stream;
        stream.write(reinterpret_cast<const char*>(&count), 4);
        ErkennungClass read;
        EXPECT_FALSE(read.Einlesen(stream)) << count;
    }
}

TEST_F(Recognition, MajorTriadAmongMajorAndMinor)
{
    const int major = addType(e, "", {{I3}, {I5}});
    addType(e, "m", {{Ib3}, {I5}});
    play(e, "x3201x"); // C E G C
    EXPECT_EQ(e.Erkennen(&result, list), 1);
    EXPECT_EQ(result.Grundton, 0);
    EXPECT_EQ(result.AkkordTyp, major);
    EXPECT_EQ(e.Grundton, 0) << "the grip carries the result";
    EXPECT_EQ(e.AkkordTyp, major);
}

TEST_F(Recognition, EqualIntervalCountsGoToTheLaterRootUnlessAStartStringSounds)
{
    const int m7 = addType(e, "m7", {{Ib3}, {I5}, {I7}});
    const int six = addType(e, "6", {{I3}, {I5}, {I6}});
    play(e, "x02010"); // A E G C E
    EXPECT_EQ(e.Erkennen(&result, list), 2);
    EXPECT_EQ(list[0].Grundton, 9);
    EXPECT_EQ(list[0].AkkordTyp, m7);
    EXPECT_EQ(list[1].Grundton, 0);
    EXPECT_EQ(list[1].AkkordTyp, six);
    EXPECT_EQ(result.Grundton, 0);
    EXPECT_EQ(result.AkkordTyp, six);

    e.SetzeStartSaite(2); // the open A
    e.AkkordSetzen(KeinTon, 0);
    e.Erkennen(&result, list);
    EXPECT_EQ(result.Grundton, 9);
    EXPECT_EQ(result.AkkordTyp, m7);

    e.SetzeStartSaite(1); // muted: as with the interval count
    e.AkkordSetzen(KeinTon, 0);
    e.Erkennen(&result, list);
    EXPECT_EQ(result.Grundton, 0);
}

TEST_F(Recognition, StartStringNotesComeFirstInTheSearch)
{
    addType(e, "m7", {{Ib3}, {I5}, {I7}});
    addType(e, "6", {{I3}, {I5}, {I6}});
    play(e, "x02010");
    e.SetzeStartSaite(5); // H string at fret 1: C
    e.Erkennen(&result, list);
    EXPECT_EQ(list[0].Grundton, 0) << "C was swapped to the front";
    EXPECT_EQ(list[1].Grundton, 9);
    EXPECT_EQ(result.Grundton, 0);
}

TEST_F(Recognition, StartStringWithoutAFittingChordFallsBackToTheLastRoot)
{
    const int major = addType(e, "", {{I3}, {I5}});
    play(e, "x32010");
    e.SetzeStartSaite(3); // E on the D string: no E chord fits C-E-G
    EXPECT_EQ(e.Erkennen(&result, list), 1);
    EXPECT_EQ(result.Grundton, 0);
    EXPECT_EQ(result.AkkordTyp, major);
}

TEST_F(Recognition, OptionalIntervalsMayBeMissing)
{
    const int loose = addType(e, "(5)", {{I3}, {I5, true}});
    const int strict = addType(e, "5", {{I3}, {I5}});
    play(e, "x3201x"); // C E G C
    EXPECT_EQ(e.Erkennen(&result, list), 2);
    play(e, "x32x1x"); // C E C
    EXPECT_EQ(e.Erkennen(&result, list), 1);
    EXPECT_EQ(result.AkkordTyp, loose);
    (void)strict;
}

TEST_F(Recognition, EverySoundingNoteMustBeCovered)
{
    addType(e, "", {{I3}, {I5}});
    play(e, "x32210"); // C E A C E: A is no interval of the triad on C
    EXPECT_EQ(e.Erkennen(&result, list), 0);
    EXPECT_EQ(result.Grundton, KeinTon);
    EXPECT_EQ(result.AkkordTyp, -1);
    EXPECT_EQ(e.Grundton, KeinTon);
    EXPECT_EQ(e.AkkordTyp, -1);

    play(e, "x32010"); // C E G C E: repeated notes count once
    EXPECT_EQ(e.Erkennen(&result, list), 1);
}

TEST_F(Recognition, SingleNoteFitsOnlyTypesWithNothingRequiredAfterTheRoot)
{
    const int bare = addType(e, "1", {});
    addType(e, "", {{I3}, {I5}});
    const int power = addType(e, "5?", {{I5, true}});
    play(e, "x3xxxx");
    EXPECT_EQ(e.Erkennen(&result, list), 2);
    EXPECT_EQ(list[0].AkkordTyp, bare);
    EXPECT_EQ(list[1].AkkordTyp, power);
}

TEST_F(Recognition, TheGripsOwnChordWinsWhileItStillFits)
{
    const int m7 = addType(e, "m7", {{Ib3}, {I5, true}, {I7}});
    const int six = addType(e, "6", {{I3}, {I5, true}, {I6}});
    play(e, "x02010");
    e.Erkennen(&result, list);
    EXPECT_EQ(result.AkkordTyp, six);
    e.AkkordSetzen(9, m7); // chosen by "Nächster"
    e.Erkennen(&result, list);
    EXPECT_EQ(result.Grundton, 9);
    EXPECT_EQ(result.AkkordTyp, m7);

    e.FingerSetzen(3, 6, 1); // G on top instead of E: A C E G still, both fit
    e.Erkennen(&result, list);
    EXPECT_EQ(result.AkkordTyp, m7);

    e.FingerEntfernen(1, 5); // A E G H G: neither fits any more
    e.Erkennen(&result, list);
    EXPECT_EQ(result.AkkordTyp, -1);
}

TEST_F(Recognition, EmptyCatalogueOrSilentGripRecognisesNothing)
{
    play(e, "x32010");
    EXPECT_EQ(e.Erkennen(&result), 0);
    addType(e, "", {{I3}, {I5}});
    e.Loeschen();
    EXPECT_EQ(e.Erkennen(&result), 0);
    EXPECT_EQ(result.AkkordTyp, -1);
}

TEST_F(Recognition, MatchListHoldsTwentyButTheCountGoesOn)
{
    for (int i = 0; i < MaxTypen; ++i)
        addType(e, "1", {});
    play(e, "x3xxxx");
    EXPECT_EQ(e.Erkennen(&result, list), MaxTypen);
    EXPECT_EQ(list[MaxTreffer - 1].AkkordTyp, MaxTreffer - 1);
    EXPECT_EQ(result.AkkordTyp, MaxTypen - 1) << "ties go to the last match";
}

TEST_F(Recognition, IntervalNamesWithinTheChord)
{
    const int ninth = addType(e, "add9", {{I3}, {I5}, {I9}});
    EXPECT_EQ(e.IntervallImAkkord(0, ninth, 2), "9");
    EXPECT_EQ(e.IntervallImAkkord(0, ninth, 4), "3");
    EXPECT_EQ(e.IntervallImAkkord(0, ninth, 0), "1");
    EXPECT_EQ(e.IntervallImAkkord(0, ninth, 5), "");
    EXPECT_EQ(e.IntervallImAkkord(0, ninth, KeinTon), "");
    EXPECT_EQ(e.IntervallImAkkord(KeinTon, ninth, 4), "?");
}
