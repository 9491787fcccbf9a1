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
        if (s.code != I1) {
            EXPECT_TRUE(e.IntervallZufuegen(t, s.code, s.optional));
        }
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

TEST_F(Recognition, TheBassDecidesBetweenEqualReadingsUnlessAStartStringSounds)
{
    const int m7 = addType(e, "m7", {{Ib3}, {I5}, {I7}});
    const int six = addType(e, "6", {{I3}, {I5}, {I6}});
    play(e, "x02010"); // A E G C E
    EXPECT_EQ(e.Erkennen(&result, list), 2);
    EXPECT_EQ(list[0].Grundton, 9) << "best first: the chord on the bass";
    EXPECT_EQ(list[0].AkkordTyp, m7);
    EXPECT_EQ(list[1].Grundton, 0);
    EXPECT_EQ(list[1].AkkordTyp, six);
    EXPECT_EQ(result.Grundton, 9);
    EXPECT_EQ(result.AkkordTyp, m7);

    e.SetzeStartSaite(5); // the C on the H string
    e.AkkordSetzen(KeinTon, 0);
    e.Erkennen(&result, list);
    EXPECT_EQ(result.Grundton, 0);
    EXPECT_EQ(result.AkkordTyp, six);

    e.SetzeStartSaite(1); // muted: as with the interval count
    e.AkkordSetzen(KeinTon, 0);
    e.Erkennen(&result, list);
    EXPECT_EQ(result.Grundton, 9);
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

TEST_F(Recognition, StartStringWithoutAFittingChordFallsBackToTheRule)
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
    EXPECT_EQ(result.AkkordTyp, m7);
    e.AkkordSetzen(0, six); // chosen by "Nächster"
    e.Erkennen(&result, list);
    EXPECT_EQ(result.Grundton, 0);
    EXPECT_EQ(result.AkkordTyp, six);
    EXPECT_EQ(list[0].AkkordTyp, m7) << "the list keeps the order of the rule";

    e.FingerSetzen(3, 6, 1); // G on top instead of E: A C E G still, both fit
    e.Erkennen(&result, list);
    EXPECT_EQ(result.AkkordTyp, six);

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
    for (int i = 0; i < MaxTreffer; ++i)
        EXPECT_EQ(list[i].AkkordTyp, i) << "equal readings in catalogue order";
    EXPECT_EQ(result.AkkordTyp, 0) << "ties go to the earlier type";
}

TEST_F(Recognition, TheGripsOwnChordStaysAmongTheStoredMatches)
{
    for (int i = 0; i < MaxTypen; ++i)
        addType(e, "1", {});
    play(e, "x3xxxx");
    e.AkkordSetzen(0, 5);
    EXPECT_EQ(e.Erkennen(&result, list), MaxTypen);
    EXPECT_EQ(result.AkkordTyp, 5);
    for (int i = 0; i < MaxTreffer; ++i)
        EXPECT_EQ(list[i].AkkordTyp, i);

    e.AkkordSetzen(0, 25);
    e.Erkennen(&result, list);
    EXPECT_EQ(result.AkkordTyp, 25);
    for (int i = 0; i + 1 < MaxTreffer; ++i)
        EXPECT_EQ(list[i].AkkordTyp, i);
    EXPECT_EQ(list[MaxTreffer - 1].AkkordTyp, 25) << "ranked beyond the list, it takes the last place";
}

// "Nächster" takes the entry after the result and wraps; every stored entry, the result among them,
// must come round again.
TEST_F(Recognition, CyclingThroughMoreThanTwentyMatchesReachesTheResultAndBack)
{
    for (int i = 0; i < MaxTypen; ++i)
        addType(e, "1", {});
    play(e, "x3xxxx");
    e.Erkennen(&result, list);
    const int first = result.AkkordTyp;
    int seen = 0;
    bool back = false;
    for (int step = 0; step < 2 * MaxTreffer && !back; ++step) {
        int current = -1;
        for (int i = 0; i < MaxTreffer && current < 0; ++i) {
            if (list[i].Grundton == result.Grundton && list[i].AkkordTyp == result.AkkordTyp)
                current = i;
        }
        ASSERT_GE(current, 0) << "the result is among the stored matches at step " << step;
        const TrefferClass next = list[current + 1 < MaxTreffer ? current + 1 : 0];
        e.AkkordSetzen(next.Grundton, next.AkkordTyp);
        e.Erkennen(&result, list);
        EXPECT_EQ(result.AkkordTyp, next.AkkordTyp);
        ++seen;
        back = result.AkkordTyp == first;
    }
    EXPECT_TRUE(back);
    EXPECT_EQ(seen, MaxTreffer);
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

namespace {

// Major, minor, 6 and m7 as a songbook reads them: the catalogue the bass-mode cases need.
class BassMode : public Recognition
{
protected:
    void SetUp() override
    {
        major = addType(e, "", {{I3}, {I5, true}});
        minor = addType(e, "m", {{Ib3}, {I5, true}});
        sixth = addType(e, "6", {{I3}, {I5}, {I6}});
        minorSeventh = addType(e, "m7", {{Ib3}, {I5, true}, {I7}});
        e.SetzeStartSaite(StartSaiteBasston);
    }

    std::string name(const TrefferClass& t) const { return e.AkkordName(t.Grundton, t.AkkordTyp, t.Basston); }
    std::string recognised(const char* frets)
    {
        play(e, frets);
        e.AkkordSetzen(KeinTon, 0);
        e.Erkennen(&result, list);
        return name(result);
    }

    int major = -1;
    int minor = -1;
    int sixth = -1;
    int minorSeventh = -1;
};

} // namespace

TEST_F(BassMode, InversionsAreNamedWithTheirBassAfterASlash)
{
    EXPECT_EQ(recognised("2x0232"), "D/F#");
    EXPECT_EQ(recognised("332010"), "C/G");
    EXPECT_EQ(recognised("032010"), "C/E");
    EXPECT_EQ(recognised("x22010"), "");
    EXPECT_EQ(recognised("x32010"), "C");
    EXPECT_EQ(result.Basston, KeinTon) << "a root in the bass needs no slash";
    EXPECT_EQ(recognised("2x0232"), "D/F#");
    EXPECT_EQ(result.Grundton, 2) << "filed by its root";
    EXPECT_EQ(result.AkkordTyp, major);
    EXPECT_EQ(result.Basston, 6);
    EXPECT_EQ(e.Grundton, 2);
    EXPECT_EQ(e.AkkordTyp, major);
}

TEST_F(BassMode, TheBassStringIsFoundAfreshOnEveryRun)
{
    // x02222 sounds A C# E F#: A6 from the A string, F#m7 once the low string is the F#.
    EXPECT_EQ(recognised("x02222"), "A6");
    EXPECT_EQ(recognised("202222"), "F#m7");
    EXPECT_EQ(recognised("x02222"), "A6");
    EXPECT_EQ(e.SetzeStartSaite(-1), StartSaiteBasston) << "the mode stays; only the string is found anew";
}

TEST_F(BassMode, TheInterval_countModeKeepsItsReadingAndShowsNoSlash)
{
    e.SetzeStartSaite(0);
    play(e, "x02222");
    e.AkkordSetzen(KeinTon, 0);
    e.Erkennen(&result, list);
    EXPECT_EQ(name(result), "A6") << "the chord on the bass wins in every mode";
    EXPECT_EQ(recognised("2x0232"), "D");
    EXPECT_EQ(result.Basston, KeinTon);
    e.SetzeStartSaite(1);
    EXPECT_EQ(recognised("2x0232"), "D") << "a start string names no bass";
}

TEST_F(BassMode, AlternativesCarryTheBassToo)
{
    const int count = [&] {
        play(e, "x02222");
        e.AkkordSetzen(KeinTon, 0);
        return e.Erkennen(&result, list);
    }();
    ASSERT_EQ(count, 2);
    EXPECT_EQ(name(list[0]), "A6");
    EXPECT_EQ(name(list[1]), "F#m7/A");
}

TEST_F(BassMode, TheGripsOwnChordStillWinsWhileItFits)
{
    play(e, "x02222");
    e.AkkordSetzen(6, minorSeventh);
    e.Erkennen(&result, list);
    EXPECT_EQ(name(result), "F#m7/A");
}

TEST_F(BassMode, ASilentGripHasNoBass)
{
    EXPECT_EQ(recognised("xxxxxx"), "");
    EXPECT_EQ(result.AkkordTyp, -1);
    EXPECT_EQ(result.Basston, KeinTon);
    EXPECT_EQ(e.BassSaite(), 0);
    EXPECT_EQ(e.BassTon(e.Daten()), KeinTon);
}

TEST_F(BassMode, TheBassIsTheLowestPitchNotTheLowestStringNumber)
{
    // A re-entrant tuning: string 1 is a high G, as on a ukulele (G+1 C0 E0 A0).
    const int notes[] = {7, 0, 4, 9};
    const int octaves[] = {1, 0, 0, 0};
    while (e.SaitenAnzahl() > 4)
        e.SaiteEntfernen(e.SaitenAnzahl() - 1);
    for (int s = 1; s <= 4; ++s) {
        StimmSaiteClass saite;
        saite.Ton = static_cast<std::uint8_t>(notes[s - 1]);
        saite.Oktave = octaves[s - 1];
        e.SaiteSetzen(s, saite);
    }
    e.Loeschen();
    for (int s = 1; s <= 4; ++s)
        e.LeerSetzen(s, true);
    EXPECT_EQ(e.BassSaite(), 2) << "the open C lies below the high G";
    EXPECT_EQ(e.BassTon(e.Daten()), 0);
    e.AkkordSetzen(KeinTon, 0);
    e.Erkennen(&result, list);
    EXPECT_EQ(name(result), "C6");
    // High G, E, and the A string stopped at C: a C major over the E.
    e.LeerSetzen(2, false);
    e.FingerSetzen(3, 4, 1);
    EXPECT_EQ(e.BassSaite(), 3);
    e.AkkordSetzen(KeinTon, 0);
    e.Erkennen(&result, list);
    EXPECT_EQ(name(result), "C/E");
}

TEST_F(BassMode, TheSlashOfAStoredGripFollowsTheMode)
{
    play(e, "2x0232");
    const AkkordDatenClass grip = e.Daten();
    EXPECT_EQ(e.SchraegstrichBass(2, grip), 6);
    EXPECT_EQ(e.SchraegstrichBass(6, grip), KeinTon) << "its own bass as root";
    e.SetzeStartSaite(0);
    EXPECT_EQ(e.SchraegstrichBass(2, grip), KeinTon);
    e.SetzeStartSaite(6);
    EXPECT_EQ(e.SchraegstrichBass(2, grip), KeinTon);
}

TEST_F(BassMode, ChordNames)
{
    EXPECT_EQ(e.AkkordName(0, major), "C");
    EXPECT_EQ(e.AkkordName(9, minor, 7), "Am/G");
    EXPECT_EQ(e.AkkordName(9, minor, 9), "Am") << "the root as bass shows no slash";
    EXPECT_EQ(e.AkkordName(9, minor, KeinTon), "Am");
    EXPECT_EQ(e.AkkordName(9, -1, 7), "");
    EXPECT_EQ(e.AkkordName(10, sixth, 2), "A#6/D");
}

TEST_F(Recognition, CatalogueEditsReachTheNextRun)
{
    const int major = addType(e, "", {{I3}, {I5}});
    play(e, "x32010");
    EXPECT_EQ(e.Erkennen(&result), 1);
    EXPECT_TRUE(e.IntervallZufuegen(major, I7, false));
    EXPECT_EQ(e.Erkennen(&result), 0) << "a required 7 no longer fits";
    EXPECT_TRUE(e.IntervallEntfernen(major, I7));
    EXPECT_EQ(e.Erkennen(&result), 1);
    const int minor = addType(e, "m", {{Ib3}, {I5}});
    EXPECT_TRUE(e.TypenTauschen(major, minor));
    e.AkkordSetzen(KeinTon, 0);
    e.Erkennen(&result);
    EXPECT_EQ(result.AkkordTyp, minor) << "the major type moved to the second place";
    EXPECT_TRUE(e.TypEntfernen(minor));
    EXPECT_EQ(e.Erkennen(&result), 0);
    std::stringstream file;
    ErkennungClass other;
    addType(other, "", {{I3}, {I5}});
    ASSERT_TRUE(other.Schreiben(file));
    ASSERT_TRUE(e.Einlesen(file));
    EXPECT_EQ(e.Erkennen(&result), 1);
}

namespace {

// Types that tolerate notes through optional slots beside the specific ones, in a user's order.
class PreferenceRule : public Recognition
{
protected:
    void SetUp() override
    {
        addType(e, "", {{I3}, {I5, true}});
        addType(e, "m", {{Ib3}, {I5, true}});
        addType(e, "sus2", {{I2}, {I5}});
        addType(e, "sus4", {{I4}, {I5}, {I7, true}});
        addType(e, "7sus4", {{I4}, {I5}, {I7}});
        addType(e, "6", {{I3}, {I5}, {I6}});
        addType(e, "m6", {{Ib3}, {I5}, {I6}});
        addType(e, "m7", {{Ib3}, {I5, true}, {I7}, {I9, true}});
        addType(e, "m9", {{Ib3}, {I5, true}, {I7}, {I9}});
        addType(e, "m7b5", {{Ib3}, {Ib5}, {I7}});
        addType(e, "add9", {{I3}, {I5, true}, {I9}});
        addType(e, "9sus4", {{I4}, {I5, true}, {I7}, {I9}});
        addType(e, "7b5", {{I3}, {Ib5}, {I7}});
        addType(e, "7#11", {{I3}, {I5, true}, {I7}, {Is11}});
    }

    std::string recognised(const char* frets, int mode)
    {
        play(e, frets);
        e.SetzeStartSaite(mode);
        e.AkkordSetzen(KeinTon, 0);
        e.Erkennen(&result, list);
        return e.AkkordName(result.Grundton, result.AkkordTyp, result.Basston);
    }
    int typeNamed(const char* name) const
    {
        for (int t = 0; t < e.TypAnzahl(); ++t) {
            if (std::strcmp(e.TypName(t), name) == 0)
                return t;
        }
        return -1;
    }
};

struct RuleCase
{
    const char* frets;
    const char* why;
    const char* fromBass;     // "&Basston", with the bass after a slash
    const char* plain;        // "&Intervallanzahl" and every start string not listed below
    const char* strings = ""; // the start strings that sound another root, and what they read then
    const char* fromString = "";
};

} // namespace

TEST_F(PreferenceRule, OneRuleInEveryMode)
{
    const RuleCase cases[] = {
        {"00x43x", "required 7 over an optional one", "E7sus4", "E7sus4"},
        {"x02413", "required 9 over an optional one", "Am9", "Am9"},
        {"x02212", "root in the bass", "Am6", "Am6", "6", "F#m7b5"},
        {"x30013", "root in the bass", "Csus2", "Csus2", "46", "Gsus4"},
        {"x02010", "root in the bass over more required notes", "Am7", "Am7", "5", "C6"},
        {"335563", "bass as fifth over bass as added tone", "Csus4/G", "Csus4", "5", "Fsus2"},
        {"335343", "bass as fifth over bass as third", "Cm7/G", "Cm7", "5", "D#6"},
        {"2x02x0", "bass as third over bass as added tone", "Dadd9/F#", "Dadd9", "6", "E9sus4"},
        {"x3x352", "catalogue order on equal readings", "C7b5", "C7b5", "6", "F#7b5"},
        {"x3201x", "a single fitting chord", "C", "C"},
    };
    for (const RuleCase& c : cases) {
        EXPECT_EQ(recognised(c.frets, StartSaiteBasston), c.fromBass) << c.frets << ": " << c.why;
        EXPECT_EQ(recognised(c.frets, 0), c.plain) << c.frets << ": " << c.why;
        for (int s = 1; s <= 6; ++s) {
            const bool other = std::strchr(c.strings, '0' + s) != nullptr;
            const char* expected = other ? c.fromString : c.plain;
            EXPECT_EQ(recognised(c.frets, s), expected) << c.frets << " from string " << s << ": " << c.why;
        }
    }
}

TEST_F(PreferenceRule, TheUsersOrderEndsTies)
{
    EXPECT_EQ(recognised("x3x352", 0), "C7b5");
    ASSERT_TRUE(e.TypenTauschen(typeNamed("7b5"), typeNamed("7#11")));
    EXPECT_EQ(recognised("x3x352", 0), "C7#11");
    EXPECT_EQ(recognised("x3x352", StartSaiteBasston), "C7#11");
    // Moving a type does not outweigh the bass or the required notes.
    ASSERT_TRUE(e.TypenTauschen(typeNamed("m7"), 0));
    ASSERT_TRUE(e.TypenTauschen(typeNamed("m9"), 1));
    EXPECT_EQ(recognised("x02413", 0), "Am9");
    ASSERT_TRUE(e.TypenTauschen(typeNamed("m6"), 0));
    ASSERT_TRUE(e.TypenTauschen(typeNamed("m7b5"), 1));
    EXPECT_EQ(recognised("x02212", 0), "Am6");
}

TEST_F(PreferenceRule, AlternativesFollowTheRule)
{
    const int count = [&] {
        recognised("335343", StartSaiteBasston);
        return e.Erkennen(&result, list);
    }();
    ASSERT_EQ(count, 2);
    EXPECT_EQ(e.AkkordName(list[0].Grundton, list[0].AkkordTyp, list[0].Basston), "Cm7/G");
    EXPECT_EQ(e.AkkordName(list[1].Grundton, list[1].AkkordTyp, list[1].Basston), "D#6/G");
    recognised("x02212", 0);
    ASSERT_EQ(e.Erkennen(&result, list), 2);
    EXPECT_EQ(e.AkkordName(list[1].Grundton, list[1].AkkordTyp, list[1].Basston), "F#m7b5");
}
