#include <gtest/gtest.h>

#include <sstream>

#include "theory/Stimm.h"

namespace {

StimmSaiteClass string(int note, int octave)
{
    StimmSaiteClass s;
    s.Ton = static_cast<std::uint8_t>(note);
    s.Oktave = octave;
    return s;
}

} // namespace

TEST(Stimm, DefaultTuningIsStandardGuitar)
{
    StimmClass tuning;
    EXPECT_EQ(tuning.SaitenAnzahl(), 6);
    EXPECT_EQ(tuning.AlsText(), "E-A-D-G-H-E");
    StimmSaiteClass s;
    EXPECT_EQ(tuning.SaiteLesen(1, &s), 4);
    EXPECT_EQ(s.Oktave, -1);
    EXPECT_EQ(tuning.SaiteLesen(6, &s), 4);
    EXPECT_EQ(s.Oktave, 1);
    EXPECT_EQ(tuning.SaiteLesen(7), KeinTon);
    EXPECT_EQ(tuning.SaiteLesen(0), KeinTon);
}

TEST(Stimm, TextUsesShortNamesOnly)
{
    StimmClass tuning;
    tuning.TonUmbenennen(11, "B", true);
    EXPECT_EQ(tuning.AlsText(), "E-A-D-G-B-E");
    EXPECT_STREQ(tuning.TonName(11, false), "H");
}

TEST(Stimm, StringLabelsShowTheOctave)
{
    StimmClass tuning;
    EXPECT_EQ(tuning.SaitenBezeichnung(6), "E +1");
    EXPECT_EQ(tuning.SaitenBezeichnung(5), "H");
    EXPECT_EQ(tuning.SaitenBezeichnung(2), "A -1");
    tuning.SaiteSetzen(1, string(1, -2));
    EXPECT_EQ(tuning.SaitenBezeichnung(1), "C# -2");
    tuning.SaiteSetzen(1, string(1, 3));
    EXPECT_EQ(tuning.SaitenBezeichnung(1), "C# +3");
}

TEST(Stimm, AddingStopsAtSixAndRemovingMovesHigherStringsDown)
{
    StimmClass tuning;
    EXPECT_FALSE(tuning.SaiteZufuegen());
    EXPECT_TRUE(tuning.SaiteEntfernen(0));
    EXPECT_EQ(tuning.AlsText(), "A-D-G-H-E");
    StimmSaiteClass s;
    tuning.SaiteLesen(1, &s);
    EXPECT_EQ(s.Ton, 9);
    EXPECT_EQ(s.Oktave, -1);
    EXPECT_FALSE(tuning.SaiteEntfernen(5));
    EXPECT_TRUE(tuning.SaiteZufuegen());
    EXPECT_EQ(tuning.SaiteLesen(6, &s), 0);
    EXPECT_EQ(s.Oktave, 0);
}

TEST(Stimm, SwappingStringsMarksModified)
{
    StimmClass tuning;
    EXPECT_FALSE(tuning.IstGeaendert());
    EXPECT_TRUE(tuning.SaitenTauschen(0, 1));
    EXPECT_EQ(tuning.AlsText(), "A-E-D-G-H-E");
    EXPECT_TRUE(tuning.IstGeaendert());
    tuning.SetzeGeaendert(false);
    EXPECT_FALSE(tuning.IstGeaendert());
}

TEST(Stimm, WriteThenReadRoundTripsWithTheNameTable)
{
    StimmClass written;
    written.SaiteEntfernen(5);
    written.SaiteSetzen(1, string(2, -1));
    std::stringstream stream;
    stream.write(reinterpret_cast<const char*>(written.NamenTabelle()),
                 sizeof(NotenNameClass) * AnzahlNotenNamen);
    ASSERT_TRUE(written.Schreiben(stream));
    EXPECT_EQ(stream.str().size(), 221u + 4u + 5u * 8u);

    StimmClass read;
    ASSERT_TRUE(read.Einlesen(stream));
    EXPECT_EQ(read.AlsText(), "D-A-D-G-H");
}

TEST(Stimm, ZeroStringsReadAsTheDefaultTuning)
{
    StimmClass empty;
    while (empty.SaiteEntfernen(0)) {
    }
    std::stringstream stream;
    stream.write(reinterpret_cast<const char*>(empty.NamenTabelle()),
                 sizeof(NotenNameClass) * AnzahlNotenNamen);
    ASSERT_TRUE(empty.Schreiben(stream));
    StimmClass read;
    read.SaiteEntfernen(0);
    ASSERT_TRUE(read.Einlesen(stream));
    EXPECT_EQ(read.SaitenAnzahl(), 6);
    EXPECT_EQ(read.AlsText(), "E-A-D-G-H-E");
}

TEST(Stimm, DamagedTuningIsRefusedAndLeavesSixValidStrings)
{
    struct Case
    {
        const char* what;
        std::int32_t count;
        std::uint8_t note;
    };
    const Case cases[] = {{"seven strings", 7, 0}, {"negative count", -1, 0}, {"note above 11", 2, 12}};
    for (const Case& c : cases) {
        StimmClass source;
        std::stringstream stream;
        stream.write(reinterpret_cast<const char*>(source.NamenTabelle()), 221);
        stream.write(reinterpret_cast<const char*>(&c.count), 4);
        for (int i = 0; i < 7; ++i) {
            const StimmSaiteClass s = string(c.note, 0);
            stream.write(reinterpret_cast<const char*>(&s), sizeof s);
        }
        StimmClass read;
        EXPECT_FALSE(read.Einlesen(stream)) << c.what;
        EXPECT_EQ(read.SaitenAnzahl(), 6) << c.what;
    }
}

TEST(Stimm, UnterminatedNamesAreCutAtTheirField)
{
    std::stringstream stream;
    const std::string junk(221, 'x');
    stream.write(junk.data(), 221);
    const std::int32_t count = 6;
    stream.write(reinterpret_cast<const char*>(&count), 4);
    StimmClass read;
    EXPECT_FALSE(read.Einlesen(stream));
    EXPECT_STREQ(read.TonName(0, true), "xxxxx");
    EXPECT_STREQ(read.TonName(0, false), "xxxxxxxxxx");
}
