#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "table/AkkordDepot.h"

namespace {

// Standard voicings as songbooks name them, written independently of the stored grips: frets per string
// from the low E up ('x' muted, '0' open), with blanks between the strings when a fret exceeds 9.
struct Voicing
{
    const char* frets;
    const char* root;
    const char* type;
};

// clang-format off
const Voicing standardVoicings[] = {
    {"x32010", "C", ""}, {"x32013", "C", ""}, {"x02220", "A", ""}, {"320003", "G", ""}, {"320033", "G", ""},
    {"022100", "E", ""}, {"xx0232", "D", ""}, {"133211", "F", ""}, {"xx3211", "F", ""}, {"355433", "G", ""},
    {"577655", "A", ""}, {"7 9 9 8 7 7", "H", ""}, {"8 10 10 9 8 8", "C", ""}, {"x35553", "C", ""},
    {"x57775", "D", ""}, {"x24442", "H", ""}, {"x13331", "A#", ""}, {"10 12 12 11 10 10", "D", ""},
    {"x 7 9 9 9 7", "E", ""}, {"x 8 10 10 10 8", "F", ""}, {"x 10 12 12 12 10", "G", ""},
    {"3x0003", "G", ""}, {"xx7655", "A", ""}, {"688766", "A#", ""}, {"x68886", "D#", ""},
    {"x46664", "C#", ""}, {"9 11 11 10 9 9", "C#", ""}, {"244322", "F#", ""}, {"466544", "G#", ""},
    {"xx5433", "G", ""}, {"xx2100", "E", ""},
    {"x02210", "A", "m"}, {"022000", "E", "m"}, {"xx0231", "D", "m"}, {"x24432", "H", "m"},
    {"133111", "F", "m"}, {"x35543", "C", "m"}, {"355333", "G", "m"}, {"577555", "A", "m"},
    {"244222", "F#", "m"}, {"x57765", "D", "m"}, {"x46654", "C#", "m"}, {"xx7555", "A", "m"},
    {"x 7 9 9 8 7", "E", "m"}, {"10 12 12 10 10 10", "D", "m"}, {"7 9 9 7 7 7", "H", "m"},
    {"8 10 10 8 8 8", "C", "m"}, {"x 10 12 12 11 10", "G", "m"}, {"x 8 10 10 9 8", "F", "m"},
    {"x 9 11 11 10 9", "F#", "m"}, {"9 11 11 9 9 9", "C#", "m"}, {"466444", "G#", "m"},
    {"x68876", "D#", "m"}, {"x13321", "B", "m"},
    {"022xxx", "E", "5"}, {"x022xx", "A", "5"}, {"xx023x", "D", "5"}, {"355xxx", "G", "5"},
    {"133xxx", "F", "5"}, {"x355xx", "C", "5"}, {"x244xx", "H", "5"}, {"244xxx", "F#", "5"},
    {"577xxx", "A", "5"}, {"688xxx", "A#", "5"}, {"466xxx", "G#", "5"}, {"x688xx", "D#", "5"},
    {"x02222", "A", "6"}, {"xx0202", "D", "6"}, {"320000", "G", "6"}, {"x35555", "C", "6"},
    {"x02212", "A", "m6"}, {"xx0201", "D", "m6"}, {"022020", "E", "m6"},
    {"x02020", "A", "7"}, {"x02223", "A", "7"}, {"020100", "E", "7"}, {"022130", "E", "7"},
    {"xx0212", "D", "7"}, {"x32310", "C", "7"}, {"320001", "G", "7"}, {"x21202", "H", "7"},
    {"131211", "F", "7"}, {"353433", "G", "7"}, {"575655", "A", "7"}, {"242322", "F#", "7"},
    {"x35353", "C", "7"}, {"x57575", "D", "7"}, {"x24242", "H", "7"}, {"x3x35x", "C", "7"},
    {"3x34xx", "G", "7"}, {"8x898x", "C", "7"}, {"8 10 8 9 8 8", "C", "7"}, {"10 12 10 11 10 10", "D", "7"},
    {"x 7 9 7 9 7", "E", "7"}, {"x 10 12 10 12 10", "G", "7"}, {"7 9 7 8 7 7", "H", "7"},
    {"x 8 10 8 10 8", "F", "7"}, {"x46464", "C#", "7"}, {"464544", "G#", "7"}, {"x68686", "D#", "7"},
    {"x13131", "A#", "7"}, {"020130", "E", "7"}, {"xx5463", "G", "7"}, {"x x 10 12 11 12", "C", "7"},
    {"5x56xx", "A", "7"}, {"x5x57x", "D", "7"},
    {"x02010", "A", "m7"}, {"022030", "E", "m7"}, {"020000", "E", "m7"}, {"xx0211", "D", "m7"},
    {"x20202", "H", "m7"}, {"353333", "G", "m7"}, {"575555", "A", "m7"}, {"242222", "F#", "m7"},
    {"x35343", "C", "m7"}, {"x24232", "H", "m7"}, {"x57565", "D", "m7"}, {"x3x34x", "C", "m7"},
    {"3x33xx", "G", "m7"}, {"8x888x", "C", "m7"}, {"x 7 9 7 8 7", "E", "m7"}, {"8 10 8 8 8 8", "C", "m7"},
    {"10 12 10 10 10 10", "D", "m7"}, {"131111", "F", "m7"}, {"7 9 7 7 7 7", "H", "m7"},
    {"x46454", "C#", "m7"}, {"464444", "G#", "m7"}, {"x13121", "A#", "m7"}, {"x68676", "D#", "m7"},
    {"x02013", "A", "m7"}, {"022033", "E", "m7"}, {"x x 10 12 11 11", "C", "m7"}, {"5x55xx", "A", "m7"},
    {"x5x56x", "D", "m7"},
    {"x02120", "A", "maj7"}, {"x32000", "C", "maj7"}, {"xx0222", "D", "maj7"}, {"xx3210", "F", "maj7"},
    {"320002", "G", "maj7"}, {"021100", "E", "maj7"}, {"3x443x", "G", "maj7"}, {"5x665x", "A", "maj7"},
    {"x35453", "C", "maj7"}, {"x24342", "H", "maj7"}, {"x57675", "D", "maj7"}, {"x3x45x", "C", "maj7"},
    {"3x44xx", "G", "maj7"}, {"8x998x", "C", "maj7"}, {"1x221x", "F", "maj7"}, {"x 7 9 8 9 7", "E", "maj7"},
    {"x13231", "A#", "maj7"}, {"x 8 10 9 10 8", "F", "maj7"}, {"7x887x", "H", "maj7"},
    {"x x 10 12 12 12", "C", "maj7"}, {"xx3555", "F", "maj7"}, {"5x66xx", "A", "maj7"},
    {"x5x67x", "D", "maj7"},
    {"x02110", "A", "m(maj7)"}, {"021000", "E", "m(maj7)"}, {"xx0221", "D", "m(maj7)"},
    {"x35443", "C", "m(maj7)"}, {"576555", "A", "m(maj7)"},
    {"x02200", "A", "sus2"}, {"xx0230", "D", "sus2"}, {"x35533", "C", "sus2"},
    {"x02230", "A", "sus4"}, {"xx0233", "D", "sus4"}, {"022200", "E", "sus4"}, {"x33011", "C", "sus4"},
    {"330013", "G", "sus4"}, {"355533", "G", "sus4"}, {"577755", "A", "sus4"}, {"x35563", "C", "sus4"},
    {"x57785", "D", "sus4"}, {"133311", "F", "sus4"}, {"x24452", "H", "sus4"}, {"x 7 9 9 10 7", "E", "sus4"},
    {"x02030", "A", "7sus4"}, {"xx0213", "D", "7sus4"}, {"020200", "E", "7sus4"}, {"353533", "G", "7sus4"},
    {"575755", "A", "7sus4"}, {"x35363", "C", "7sus4"}, {"x57585", "D", "7sus4"},
    {"x32030", "C", "add9"}, {"320203", "G", "add9"}, {"024100", "E", "add9"}, {"x02420", "A", "add9"},
    {"xx3213", "F", "add9"}, {"x32033", "C", "add9"},
    {"x02410", "A", "m(add9)"}, {"024000", "E", "m(add9)"},
    {"x32011", "C", "add11"},
    {"x32233", "C", "6/9"}, {"3x0200", "G", "6/9"}, {"x02422", "A", "6/9"}, {"022122", "E", "6/9"},
    {"x02412", "A", "m6/9"}, {"x53455", "D", "m6/9"},
    {"020102", "E", "9"}, {"x02423", "A", "9"}, {"x32333", "C", "9"}, {"320201", "G", "9"},
    {"x2122x", "H", "9"}, {"x54555", "D", "9"}, {"x21222", "H", "9"}, {"131213", "F", "9"},
    {"x76777", "E", "9"}, {"x 10 9 10 10 10", "G", "9"},
    {"x02413", "A", "m9"}, {"022032", "E", "m9"}, {"x31333", "C", "m9"}, {"x53555", "D", "m9"},
    {"3x3335", "G", "m9"},
    {"x32430", "C", "maj9"}, {"x3243x", "C", "maj9"}, {"x5465x", "D", "maj9"},
    {"000100", "E", "11"},
    {"x31331", "C", "m11"}, {"x53553", "D", "m11"},
    {"3x345x", "G", "13"}, {"5x567x", "A", "13"}, {"x0x022", "A", "13"}, {"020120", "E", "13"},
    {"x3x355", "C", "13"}, {"x54577", "D", "13"}, {"x32335", "C", "13"},
    {"x2343x", "H", "dim"}, {"xx0131", "D", "dim"}, {"x3454x", "C", "dim"},
    {"x3424x", "C", "dim7"}, {"xx0101", "D", "dim7"}, {"012020", "E", "dim7"}, {"3x232x", "G", "dim7"},
    {"5x454x", "A", "dim7"}, {"x5646x", "D", "dim7"}, {"8x787x", "C", "dim7"},
    {"x0101x", "A", "m7b5"}, {"x2323x", "H", "m7b5"}, {"012030", "E", "m7b5"}, {"xx0111", "D", "m7b5"},
    {"2x221x", "F#", "m7b5"}, {"3x332x", "G", "m7b5"}, {"5x554x", "A", "m7b5"}, {"x3434x", "C", "m7b5"},
    {"x5656x", "D", "m7b5"}, {"8x887x", "C", "m7b5"},
    {"x32110", "C", "+"}, {"x03221", "A", "+"}, {"032110", "E", "+"}, {"xx0332", "D", "+"},
    {"321003", "G", "+"}, {"x3211x", "C", "+"}, {"x5433x", "D", "+"},
    {"x3x354", "C", "7#5"}, {"0x0110", "E", "7#5"}, {"x0x021", "A", "7#5"}, {"3x3443", "G", "7#5"},
    {"x 3 4 3 5 x", "C", "7b5"},
    {"x3232x", "C", "7b9"}, {"x5454x", "D", "7b9"}, {"x02323", "A", "7b9"}, {"3x3434", "G", "7b9"},
    {"x7678x", "E", "7#9"}, {"x3234x", "C", "7#9"}, {"x5456x", "D", "7#9"}, {"3x3466", "G", "7#9"},
    {"0 7 6 7 8 0", "E", "7#9"},
    {"x32002", "C", "maj7#11"}, {"xx3200", "F", "maj7#11"},
};
// clang-format on

int noteIndex(std::string_view name)
{
    static const char* const names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "H"};
    if (name == "B")
        return 10;
    for (int n = 0; n < 12; ++n) {
        if (name == names[n])
            return n;
    }
    return -1;
}

std::vector<std::string> fretTokens(std::string_view frets)
{
    std::vector<std::string> tokens;
    if (frets.find(' ') == std::string_view::npos) {
        for (char c : frets)
            tokens.emplace_back(1, c);
        return tokens;
    }
    std::istringstream words{std::string(frets)};
    for (std::string word; words >> word;)
        tokens.push_back(word);
    return tokens;
}

// Fingers do not change what sounds, so every fretted note gets finger 1.
bool play(AkkordDepotClass& doc, std::string_view frets)
{
    const std::vector<std::string> tokens = fretTokens(frets);
    if (static_cast<int>(tokens.size()) != doc.SaitenAnzahl())
        return false;
    doc.Loeschen();
    for (int s = 1; s <= doc.SaitenAnzahl(); ++s) {
        const std::string& token = tokens[s - 1];
        if (token == "x")
            continue;
        if (token == "0")
            doc.LeerSetzen(s, true);
        else
            doc.FingerSetzen(std::stoi(token), s, 1);
    }
    return true;
}

TrefferClass recognise(AkkordDepotClass& doc, int startString)
{
    TrefferClass result;
    doc.SetzeStartSaite(startString);
    doc.AkkordSetzen(KeinTon, 0);
    doc.Erkennen(&result);
    doc.SetzeStartSaite(0);
    return result;
}

int lowestSoundingString(const AkkordDepotClass& doc)
{
    for (int s = 1; s <= doc.SaitenAnzahl(); ++s) {
        if (doc.KlingenderTon(s) != KeinTon)
            return s;
    }
    return 0;
}

// These chords repeat themselves a few semitones up, so any of their notes names the same chord.
int repeatInterval(std::string_view type)
{
    if (type == "dim7")
        return 3;
    if (type == "+")
        return 4;
    if (type == "7b5")
        return 6;
    return 12;
}

std::string chordName(const AkkordDepotClass& doc, const TrefferClass& chord)
{
    if (chord.AkkordTyp < 0)
        return "(none)";
    return std::string(doc.TonName(chord.Grundton, true)) + doc.TypName(chord.AkkordTyp);
}

class DefaultChordTable : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_doc = std::make_unique<AkkordDepotClass>();
        s_loadResult = s_doc->Laden(ZW_DEFAULT_TABLE);
    }
    static void TearDownTestSuite() { s_doc.reset(); }
    void SetUp() override { ASSERT_EQ(s_loadResult, LadenOk) << "cannot load " << ZW_DEFAULT_TABLE; }

    AkkordDepotClass& doc() { return *s_doc; }

    // One load for all tests: the table is 2.3 MB and the tests only read it.
    static std::unique_ptr<AkkordDepotClass> s_doc;
    static int s_loadResult;
};

std::unique_ptr<AkkordDepotClass> DefaultChordTable::s_doc;
int DefaultChordTable::s_loadResult = -1;

} // namespace

TEST_F(DefaultChordTable, LoadsAsAGuitarTableInStandardTuning)
{
    EXPECT_EQ(doc().Text(0), "Gitarre");
    EXPECT_FALSE(doc().Text(1).empty());
    EXPECT_NE(doc().Text(1).find("f\xFCr"), std::string::npos) << "the info text is Windows-1252";
    EXPECT_EQ(doc().AlsText(), "E-A-D-G-H-E");
    ASSERT_EQ(doc().SaitenAnzahl(), 6);
    StimmSaiteClass lowest;
    StimmSaiteClass highest;
    doc().SaiteLesen(1, &lowest);
    doc().SaiteLesen(6, &highest);
    EXPECT_EQ(lowest.Oktave, -1);
    EXPECT_EQ(highest.Oktave, 1);
    EXPECT_STREQ(doc().TonName(11, true), "H");
    EXPECT_FALSE(doc().IstGeaendert());
}

TEST_F(DefaultChordTable, HoldsABroadCatalogueAndManyGrips)
{
    EXPECT_GE(doc().TypAnzahl(), 30);
    EXPECT_GE(doc().Anzahl(), 300);
    std::set<std::string> names;
    for (int t = 0; t < doc().TypAnzahl(); ++t) {
        EXPECT_TRUE(names.insert(doc().TypName(t)).second) << "type name twice: " << doc().TypName(t);
        EXPECT_EQ(doc().IntervallAn(t, 0), 0) << doc().TypName(t) << " starts with its root";
        EXPECT_EQ(doc().IstOptional(t, 0), 0) << doc().TypName(t) << " requires its root";
    }
    for (const char* name : {"", "m", "7", "m7", "maj7", "sus4", "dim7", "m7b5", "+", "9", "13", "5"})
        EXPECT_EQ(names.count(name), 1u) << "missing type \"" << name << "\"";
}

TEST_F(DefaultChordTable, GripsAreSortedByRootAndType)
{
    for (int i = 1; i < doc().Anzahl(); ++i) {
        const AkkordDatenClass& a = doc().Element(i - 1);
        const AkkordDatenClass& b = doc().Element(i);
        ASSERT_TRUE(a.Grundton < b.Grundton || (a.Grundton == b.Grundton && a.AkkordTyp <= b.AkkordTyp))
            << "grip " << i;
    }
}

TEST_F(DefaultChordTable, FingeringsArePlayable)
{
    for (int i = 0; i < doc().Anzahl(); ++i) {
        const AkkordDatenClass& grip = doc().Element(i);
        ASSERT_GT(grip.PunktAnzahl, 0) << "grip " << i;
        for (int a = 0; a < grip.PunktAnzahl; ++a) {
            const FingerPunktClass& p = grip.Punkte[a];
            EXPECT_GE(p.Finger, 1) << "grip " << i;
            EXPECT_LE(p.Finger, 4) << "grip " << i;
            EXPECT_EQ(grip.Leer[p.Saite - 1], 0) << "grip " << i << ": a fretted string is also marked open";
            for (int b = 0; b < grip.PunktAnzahl; ++b) {
                EXPECT_FALSE(p.Finger == grip.Punkte[b].Finger && p.Bund != grip.Punkte[b].Bund)
                    << "grip " << i << ": finger " << p.Finger << " at two frets";
            }
        }
    }
}

// Interval-count mode first; a grip whose notes also spell a chord with more intervals (C6 and Am7) is
// named from its bass string, as a player would ask for it.
TEST_F(DefaultChordTable, EveryStoredGripIsRecognisedAsItsChord)
{
    int byIntervalCount = 0;
    int misses = 0;
    for (int i = 0; i < doc().Anzahl(); ++i) {
        const AkkordDatenClass& stored = doc().Element(i);
        doc().Daten() = stored;
        const TrefferClass counted = recognise(doc(), 0);
        if (counted.Grundton == stored.Grundton && counted.AkkordTyp == stored.AkkordTyp) {
            ++byIntervalCount;
            continue;
        }
        const TrefferClass fromBass = recognise(doc(), lowestSoundingString(doc()));
        if (fromBass.Grundton == stored.Grundton && fromBass.AkkordTyp == stored.AkkordTyp)
            continue;
        ++misses;
        TrefferClass filed;
        filed.Grundton = stored.Grundton;
        filed.AkkordTyp = stored.AkkordTyp;
        ADD_FAILURE() << "grip " << i << " is filed as " << chordName(doc(), filed) << " but reads as "
                      << chordName(doc(), counted);
    }
    EXPECT_EQ(misses, 0);
    // Only chords sharing their notes with a higher-ranked one, and dim7 and + (every note a root), need it.
    EXPECT_GE(byIntervalCount * 100, doc().Anzahl() * 85)
        << byIntervalCount << " of " << doc().Anzahl() << " by interval count";
}

TEST_F(DefaultChordTable, StandardVoicingsAreNamedAsInSongbooks)
{
    int total = 0;
    int named = 0;
    for (const Voicing& v : standardVoicings) {
        ++total;
        const int root = noteIndex(v.root);
        ASSERT_GE(root, 0) << v.frets << ": unknown root " << v.root;
        ASSERT_TRUE(play(doc(), v.frets)) << v.frets;
        const TrefferClass result = recognise(doc(), 0);
        const std::string expected = std::string(v.root) + v.type;
        const bool typeMatches =
            result.AkkordTyp >= 0 && std::strcmp(doc().TypName(result.AkkordTyp), v.type) == 0;
        const bool rootMatches =
            result.Grundton != KeinTon && (result.Grundton - root + 12) % repeatInterval(v.type) == 0;
        if (typeMatches && rootMatches) {
            ++named;
            continue;
        }
        std::cout << "[ miss ] " << v.frets << ": expected " << expected << ", recognised "
                  << chordName(doc(), result) << "\n";
    }
    std::cout << "[ score ] " << named << " of " << total << " standard voicings named as in songbooks\n";
    EXPECT_GE(total, 150);
    EXPECT_GE(named * 100, total * 95) << named << " of " << total;
}
