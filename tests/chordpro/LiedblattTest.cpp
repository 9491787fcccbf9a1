#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chordpro/ChordProReader.h"
#include "chordpro/Liedblatt.h"
#include "griffsuche/Griffsuche.h"
#include "table/AkkordDepot.h"

namespace {

const char* const song = "{title: Acht Akkorde}\n"
                         "[C#m]Eins [F#]zwei [Am]drei [E]vier\n"
                         "[Ab]fünf [Bm]sechs [Eb]sieben [C#m]eins [H7]acht\n"
                         "{define: Bm base-fret 2 frets x 1 3 3 2 1 fingers 0 1 3 4 2 1}\n";

std::unique_ptr<AkkordDepotClass> defaultTable()
{
    auto tabelle = std::make_unique<AkkordDepotClass>();
    EXPECT_EQ(tabelle->Laden(ZW_DEFAULT_TABLE), LadenOk);
    return tabelle;
}

struct Case
{
    const char* what;
    int transponieren;
    int kapo;
    const char* firstName;
};

TEST(Liedblatt, WholeSongMovesLessThanFirstStoredGripsAndNoneIsHard)
{
    const auto tabelle = defaultTable();
    const ChordProInhalt lied = ChordProReader::read(song, true);
    ASSERT_EQ(lied.chords.size(), 8u);
    const Case cases[] = {{"as written", 0, 0, "C#m"}, {"transposed by 2", 2, 0, "Ebm"}, {"capo 3", 0, 3, "C#m"},
                         {"both", 2, 3, "Ebm"}};
    for (const Case& c : cases) {
        LiedblattEinstellung einstellung;
        einstellung.transponieren = c.transponieren;
        einstellung.kapo = c.kapo;
        Liedblatt ganz;
        ASSERT_TRUE(ganz.erstellen(*tabelle, lied, einstellung)) << c.what;
        einstellung.wahl = Griffwahl::ErsterGespeicherter;
        Liedblatt erste;
        ASSERT_TRUE(erste.erstellen(*tabelle, lied, einstellung)) << c.what;
        ASSERT_EQ(ganz.akkorde().size(), 8u) << c.what;
        EXPECT_TRUE(ganz.unlesbar().empty()) << c.what;
        EXPECT_EQ(ganz.titel(), "Acht Akkorde");
        EXPECT_EQ(ganz.akkorde().front().name, c.firstName) << c.what;
        EXPECT_LT(ganz.bewegung(), erste.bewegung()) << c.what;
        for (const LiedAkkord& akkord : ganz.akkorde()) {
            // Under a capo the grip is fingered 3 semitones lower than it sounds.
            GriffsucheClass finder;
            ASSERT_GT(finder.Suchen(*tabelle, akkord.grundton, akkord.typ, GriffsucheEinstellungClass()), 0);
            const int tenth = finder.Griff(std::min(9, finder.Anzahl() - 1)).Bewertung;
            if (akkord.quelle != GriffQuelle::Lied) {
                EXPECT_LE(akkord.bewertung, tenth) << c.what << " " << akkord.name;
            }
            EXPECT_EQ(akkord.griff.Grundton, akkord.grundton);
        }
        // The song's own Bm is used as it stands, and moves along with the chord.
        const LiedAkkord& bm = ganz.akkorde()[5];
        EXPECT_EQ(bm.quelle, GriffQuelle::Lied) << c.what;
        const int moved = 2 + c.transponieren - c.kapo;
        EXPECT_EQ(Liedblatt::lage(bm.griff), moved < 1 ? moved + 12 : moved) << c.what;

        // A slash chord's grip plays the bass the name asks for, fingered under the capo.
        for (const Griffwahl wahl : {Griffwahl::GanzesLied, Griffwahl::ErsterGespeicherter}) {
            einstellung.wahl = wahl;
            Liedblatt schraeg;
            ASSERT_TRUE(
                schraeg.erstellen(*tabelle, ChordProReader::read("[G/B]a [D/F#]b [C]c\n", true), einstellung));
            ASSERT_EQ(schraeg.akkorde().size(), 3u) << c.what;
            const int shift = c.transponieren - c.kapo;
            const int bass[] = {11, 6};
            for (int i = 0; i < 2; ++i) {
                EXPECT_EQ(tabelle->BassTon(schraeg.akkorde()[i].griff), ((bass[i] + shift) % 12 + 12) % 12)
                    << c.what << " " << schraeg.akkorde()[i].name;
            }
        }
    }
}

TEST(Liedblatt, UnreadableNamesAreListedNotGuessed)
{
    const auto tabelle = defaultTable();
    Liedblatt blatt;
    ASSERT_TRUE(blatt.erstellen(*tabelle, ChordProReader::read("[Am]a [N.C.]b [Qm]c [C]d\n", true),
                                LiedblattEinstellung()));
    EXPECT_EQ(blatt.akkorde().size(), 2u);
    EXPECT_EQ(blatt.unlesbar(), (std::vector<std::string>{"N.C.", "Qm"}));
    const std::string block = blatt.defineBlock(*tabelle, false);
    EXPECT_NE(block.find("{define: Am base-fret"), std::string::npos) << block;
    EXPECT_NE(block.find("# nicht lesbar: N.C."), std::string::npos) << block;
}

} // namespace
