#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "chordpro/ChordNames.h"
#include "chordpro/ChordProExport.h"
#include "chordpro/ChordProGrip.h"
#include "chordpro/ChordProImport.h"
#include "chordpro/ChordProReader.h"
#include "chordpro/ChordProWriter.h"
#include "table/AkkordDepot.h"

namespace {

std::unique_ptr<AkkordDepotClass> defaultTable()
{
    auto tabelle = std::make_unique<AkkordDepotClass>();
    EXPECT_EQ(tabelle->Laden(ZW_DEFAULT_TABLE), LadenOk);
    return tabelle;
}

std::vector<int> everyGrip(const AkkordDepotClass& tabelle)
{
    std::vector<int> griffe;
    for (int i = 0; i < tabelle.Anzahl(); ++i)
        griffe.push_back(i);
    return griffe;
}

std::string frets(const ChordProDefinition& d)
{
    std::string text = std::to_string(d.baseFret) + ":";
    for (int s = 0; s < d.saiten; ++s)
        text += (d.frets[s] < 0 ? std::string("x") : std::to_string(d.frets[s])) + ",";
    if (d.hasFingers) {
        text += " f";
        for (int s = 0; s < d.saiten; ++s)
            text += std::to_string(d.fingers[s]);
    }
    return text;
}

// Every grip written out and read back sounds the same frets with the same fingers. Entries hidden under
// a barré are not part of ChordPro; the reader puts them back by rule.
void expectRoundTrip(const AkkordDepotClass& tabelle, const std::string& text, bool json)
{
    const ChordProInhalt inhalt = ChordProReader::read(text, false);
    EXPECT_EQ(inhalt.json, json);
    ASSERT_TRUE(inhalt.errors.empty()) << inhalt.errors.front().line << ": " << inhalt.errors.front().text;
    ASSERT_EQ(static_cast<int>(inhalt.definitions.size()), tabelle.Anzahl());
    for (int i = 0; i < tabelle.Anzahl(); ++i) {
        AkkordDatenClass griff;
        ASSERT_EQ(ChordProGrip::grip(inhalt.definitions[static_cast<std::size_t>(i)], tabelle, griff),
                  GriffUmwandlung::Ok);
        const AkkordDatenClass& stored = tabelle.Element(i);
        int wantFrets[MaxSaiten], wantFingers[MaxSaiten], gotFrets[MaxSaiten], gotFingers[MaxSaiten];
        ChordProGrip::soundingFrets(stored, tabelle.SaitenAnzahl(), wantFrets, wantFingers);
        ChordProGrip::soundingFrets(griff, tabelle.SaitenAnzahl(), gotFrets, gotFingers);
        EXPECT_TRUE(std::equal(wantFrets, wantFrets + tabelle.SaitenAnzahl(), gotFrets) &&
                    std::equal(wantFingers, wantFingers + tabelle.SaitenAnzahl(), gotFingers))
            << "grip " << i << " " << inhalt.definitions[static_cast<std::size_t>(i)].name << " "
            << frets(inhalt.definitions[static_cast<std::size_t>(i)]);
    }
}

TEST(ChordPro, EveryGripOfTheDefaultTableSurvivesDefineAndJson)
{
    const auto tabelle = defaultTable();
    ASSERT_GT(tabelle->Anzahl(), 100);
    const std::vector<ChordProDefinition> d =
        ChordProExport::definitions(*tabelle, everyGrip(*tabelle), Tonnamen::International);
    expectRoundTrip(*tabelle, ChordProExport::defineBlock(*tabelle, d, true), false);
    expectRoundTrip(*tabelle, ChordProExport::json(*tabelle, d, true), true);
}

TEST(ChordPro, SeveralGripsOfOneChordGetDistinctNamesInInternationalSpelling)
{
    const auto tabelle = defaultTable();
    const std::vector<ChordProDefinition> d =
        ChordProExport::definitions(*tabelle, everyGrip(*tabelle), Tonnamen::International);
    std::set<std::string> names;
    bool sawSecond = false;
    for (const ChordProDefinition& definition : d) {
        EXPECT_TRUE(names.insert(definition.name).second) << definition.name;
        EXPECT_EQ(definition.name.find('H'), std::string::npos) << definition.name;
        sawSecond = sawSecond || definition.name == "Am_2";
    }
    EXPECT_TRUE(sawSecond);
    EXPECT_TRUE(names.count("Bb"));
    EXPECT_TRUE(names.count("Bm"));
    const std::vector<ChordProDefinition> own =
        ChordProExport::definitions(*tabelle, everyGrip(*tabelle), Tonnamen::Tabelle);
    std::set<std::string> ownNames;
    for (const ChordProDefinition& definition : own)
        ownNames.insert(definition.name);
    EXPECT_TRUE(ownNames.count("Hm"));
    EXPECT_TRUE(ownNames.count("A#"));
}

TEST(ChordPro, ReadsTheUsualSpellingsOfDefinitions)
{
    struct Case
    {
        const char* line;
        const char* name;
        const char* frets;
    };
    const Case cases[] = {
        {"{define: Am base-fret 1 frets x 0 2 2 1 0 fingers 0 0 2 3 1 0}", "Am", "1:x,0,2,2,1,0, f002310"},
        {"{define Am: base-fret 1 frets x 0 2 2 1 0}", "Am", "1:x,0,2,2,1,0,"},
        {"{define:\tAm\tbase-fret\t1\tfrets\tX\t0\t2\t2\t1\t0}", "Am", "1:x,0,2,2,1,0,"},
        {"  {define: C frets -1 3 2 0 1 0 fingers - 3 2 - 1 x}  ", "C", "1:x,3,2,0,1,0, f032010"},
        {"{define: F base-fret 1 frets 1 3 3 2 1 1 fingers 1 3 4 2 1 1}", "F", "1:1,3,3,2,1,1, f134211"},
        {"{chord: Bm base-fret 2 frets N 1 3 3 2 1}", "Bm", "2:x,1,3,3,2,1,"},
        {"{define Ab:\t\tbase-fret  4\tfrets   1   3   3   2   1   1}\t", "Ab", "4:1,3,3,2,1,1,"},
        {"{DEFINE: G/B FRETS x 2 0 0 0 3}", "G/B", "1:x,2,0,0,0,3,"},
        {"{define: F#m7b5 base-fret 1 frets 2 x 2 2 1 x}", "F#m7b5", "1:2,x,2,2,1,x,"},
        {"{ \"chords\": [ { \"name\": \"D\", \"base\": 1, \"frets\": [-1, -1, 0, 2, 3, 2], \"fingers\": "
         "[0, 0, 0, 1, 3, 2] } ] }",
         "D", "1:x,x,0,2,3,2, f000132"},
        {"{\"chords\":[{\"name\":\"E\",\"frets\":[0,2,2,1,0,0]}]}", "E", "1:0,2,2,1,0,0,"},
    };
    for (const Case& c : cases) {
        const ChordProInhalt inhalt = ChordProReader::read(c.line, false);
        ASSERT_TRUE(inhalt.errors.empty()) << c.line << ": " << inhalt.errors.front().text;
        ASSERT_EQ(inhalt.definitions.size(), 1u) << c.line;
        EXPECT_EQ(inhalt.definitions[0].name, c.name) << c.line;
        EXPECT_EQ(frets(inhalt.definitions[0]), c.frets) << c.line;
    }
}

TEST(ChordPro, ReadsChordNamesOfSongsInOrderOfFirstUse)
{
    const ChordProInhalt lied = ChordProReader::read("{title: Lied}\n[Am]Eins [G/B]zwei [Am]drei\n"
                                                     "[F#m7b5]vier\nText ohne Akkord\n",
                                                     true);
    EXPECT_EQ(lied.title, "Lied");
    EXPECT_EQ(lied.chords, (std::vector<std::string>{"Am", "G/B", "F#m7b5"}));
    EXPECT_TRUE(lied.errors.empty());
    EXPECT_TRUE(ChordProReader::looksLikeSong("{title: Lied}\n[Am]Eins\n"));
    EXPECT_FALSE(ChordProReader::looksLikeChordPro(std::string("ZW02\0\0\x01", 7)));

    const auto tabelle = defaultTable();
    const ChordNames names(*tabelle);
    struct Case
    {
        const char* name;
        int root;
        const char* type;
        int bass;
    };
    const Case cases[] = {
        {"Am", 9, "m", 12},        {"G/B", 7, "", 11},       {"F#m7b5", 6, "m7b5", 12}, {"Bb", 10, "", 12},
        {"B", 11, "", 12},         {"H7", 11, "7", 12},      {"Bbmaj7", 10, "maj7", 12}, {"Ebmin", 3, "m", 12},
        {"C6/9", 0, "6/9", 12},    {"Dsus", 2, "sus4", 12},  {"A#m", 10, "m", 12},      {"Caug", 0, "+", 12},
        {"Am7/G", 9, "m7", 7},     {"Dbmaj", 1, "", 12},
    };
    for (const Case& c : cases) {
        GelesenerAkkord akkord;
        ASSERT_TRUE(names.parse(c.name, akkord)) << c.name;
        EXPECT_EQ(akkord.grundton, c.root) << c.name;
        EXPECT_STREQ(tabelle->TypName(akkord.typ), c.type) << c.name;
        EXPECT_EQ(akkord.bass, c.bass) << c.name;
    }
    for (const char* bad : {"N.C.", "Xm", "Am13b99", "", "/G"}) {
        GelesenerAkkord akkord;
        EXPECT_FALSE(names.parse(bad, akkord)) << bad;
    }
    EXPECT_EQ(names.transpose("G/B", 2, Tonnamen::International), "A/C#");
    EXPECT_EQ(names.transpose("Am7", 1, Tonnamen::International), "Bbm7");
}

TEST(ChordPro, ReportsEachMalformedLineByItsNumberAndReadsOn)
{
    const std::vector<std::string> bad = {
        "{define: Am base-fret 1 frets x 0 2 2 1 0 fingers 0 0 2 3 1}",
        "{define: Am base-fret 0 frets x 0 2 2 1 0}",
        "{define: Am base-fret 31 frets x 0 2 2 1 0}",
        "{define: Am base-fret zwei frets x 0 2 2 1 0}",
        "{define: Am frets x 0 2 2 1 0 7}",
        "{define: Am frets x 0 2 2 1 31}",
        "{define: Am base-fret 28 frets x 0 2 2 1 5}",
        "{define: Am frets x 0 2 2 1 q}",
        "{define: Am base-fret 1}",
        "{define: Am base-fret 1 frets}",
        "{define: Am frets x 0 2 2 1 0 fingers 0 0 2 3 1 5}",
        "{define: Am frets x 0 2 2 1 0 fingers}",
        "{define: Am frets x 0 2 2 1 0 keys 1}",
        "{define: Am schief x 0 2 2 1 0}",
        "{define:}",
        "{define: Am frets x 0 2 2 1 0",
        "Am x 0 2 2 1 0",
        "{define: Am frets x 0 2 2 1 0 frets x 0 2 2 1 0}",
        "{define: Am base-fret 1 base-fret 2 frets x 0 2 2 1 0}",
        "{define: Am frets x 0 2 2 1 0 fingers 1 2 3 4 1 2 3}",
        "{define: Am frets 1.5 0 2 2 1 0}",
        "{define: Am frets -2 0 2 2 1 0}",
        "{define: Am base-fret -1 frets x 0 2 2 1 0}",
        "{define: Am frets x 0 2 2 1 0 fingers a b c d e f}",
        "{}",
        "{define: Am frets 99999 0 2 2 1 0}",
        "{define: Am frets x 0 2 2 1 0 fingers 0 0 2 3 1 0 fingers 0 0 2 3 1 0}",
        "define: Am frets x 0 2 2 1 0}",
        "{chord: C frets x 3 2 0 1 0 fingers 0 3 2 0 1 0 7}",
        "{define Am frets}",
    };
    ASSERT_EQ(bad.size(), 30u);
    std::string text;
    for (const std::string& line : bad)
        text += line + "\n{define: E frets 0 2 2 1 0 0}\n";
    const ChordProInhalt inhalt = ChordProReader::read(text, false);
    EXPECT_EQ(inhalt.definitions.size(), 30u);
    ASSERT_EQ(inhalt.errors.size(), 30u);
    for (std::size_t i = 0; i < bad.size(); ++i) {
        EXPECT_EQ(inhalt.errors[i].line, static_cast<int>(2 * i + 1)) << bad[i] << ": " << inhalt.errors[i].text;
        EXPECT_FALSE(inhalt.errors[i].text.empty());
    }
    const ChordProInhalt json = ChordProReader::read(
        "{\"chords\": [\n {\"name\": \"A\", \"frets\": [0, 0, 2, 2, 2, 0]},\n {\"name\": \"B\", \"frets\": "
        "[1, 2]], \"fingers\": 3},\n {\"name\": \"C\"}\n",
        false);
    EXPECT_EQ(json.definitions.size(), 2u); // "B" was read before the error; it has 2 strings
    ASSERT_FALSE(json.errors.empty());
    EXPECT_EQ(json.errors.front().line, 3);
}

TEST(ChordPro, ImportFilesRecognisedGripsAndNamesTheMisnamed)
{
    auto tabelle = defaultTable();
    const int before = tabelle->Anzahl();
    const ChordProInhalt inhalt = ChordProReader::read("{define: Am base-fret 1 frets x 0 2 2 1 0}\n"
                                                       "{define: Bbmaj7 base-fret 1 frets x 1 3 3 3 1}\n"
                                                       "{define: Xyz base-fret 1 frets x 0 2 2 1 0}\n"
                                                       "{define: Bass frets 0 2 2 1}\n"
                                                       "{define: Weit frets 1 x x x x 9}\n"
                                                       "{define: C9 base-fret 8 frets 1 3 1 2 1 3}\n",
                                                       false);
    ChordProImport import;
    const ImportBericht bericht = import.importieren(*tabelle, inhalt);
    EXPECT_EQ(bericht.definitionen, 6);
    EXPECT_EQ(bericht.uebernommen + bericht.uebersprungen, 6);
    std::string all;
    for (const std::string& line : bericht.zeilen)
        all += line + "\n";
    EXPECT_NE(all.find("Zeile 1: Am übersprungen: als Am schon gespeichert"), std::string::npos) << all;
    EXPECT_NE(all.find("Zeile 2: Bbmaj7 in der Datei klingt als Bb\n"), std::string::npos) << all;
    EXPECT_NE(all.find("Zeile 3: Xyz in der Datei klingt als Am (Name unbekannt)"), std::string::npos) << all;
    EXPECT_NE(all.find("Zeile 4: Bass übersprungen: für 4 Saiten, das Instrument hat 6"), std::string::npos) << all;
    EXPECT_NE(all.find("Zeile 5: Weit übersprungen: nicht spielbar"), std::string::npos) << all;
    EXPECT_EQ(tabelle->Anzahl(), before + bericht.uebernommen);
    for (const int index : bericht.neu)
        EXPECT_GT(tabelle->Element(index).PunktAnzahl, 0);
}

} // namespace
