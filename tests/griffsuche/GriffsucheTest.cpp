#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "griffsuche/Griffsuche.h"
#include "table/AkkordDepot.h"

namespace {

constexpr int C = 0;
constexpr int D = 2;
constexpr int E = 4;
constexpr int G = 7;
constexpr int A = 9;

int typeIndex(const ErkennungClass& katalog, const char* name)
{
    for (int t = 0; t < katalog.TypAnzahl(); ++t) {
        if (std::strcmp(katalog.TypName(t), name) == 0)
            return t;
    }
    return -1;
}

// The frets of a grip as a player writes them, without the fingers: "x32010".
std::string frets(const GefundenerGriffClass& griff)
{
    const std::string line = griff.Zeile();
    return line.substr(0, line.find(' '));
}

std::vector<std::string> firstFrets(const GriffsucheClass& finder, int count)
{
    std::vector<std::string> result;
    for (int i = 0; i < finder.Anzahl() && i < count; ++i)
        result.push_back(frets(finder.Griff(i)));
    return result;
}

const GefundenerGriffClass* findGrip(const GriffsucheClass& finder, const std::string& fretText)
{
    for (int i = 0; i < finder.Anzahl(); ++i) {
        if (frets(finder.Griff(i)) == fretText)
            return &finder.Griff(i);
    }
    return nullptr;
}

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string describe(const std::vector<std::string>& list)
{
    std::string text;
    for (const std::string& item : list)
        text += item + ' ';
    return text;
}

// Shows the grip on the document's board as a user builds it, without a chord of its own, and names it
// from its lowest note.
TrefferClass readFromBass(AkkordDepotClass& doc, const AkkordDatenClass& grip)
{
    TrefferClass result;
    const int counter = doc.Nummer;
    doc.Daten() = grip;
    doc.Nummer = counter;
    doc.AkkordSetzen(KeinTon, -1);
    const int start = doc.SetzeStartSaite(-1);
    doc.SetzeStartSaite(StartSaiteBasston);
    doc.Erkennen(&result);
    doc.SetzeStartSaite(start);
    return result;
}

// Everything the finder promises about one grip, checked on the record itself.
void expectPlayable(AkkordDepotClass& doc, const GriffsucheClass& finder, const GefundenerGriffClass& found)
{
    const AkkordDatenClass& record = found.Griff;
    const std::string name = found.Zeile();
    ASSERT_EQ(record.Grundton, finder.Grundton()) << name;
    ASSERT_EQ(record.AkkordTyp, finder.Typ()) << name;
    ASSERT_GE(record.PunktAnzahl, 0) << name;
    ASSERT_LE(record.PunktAnzahl, MaxPunkte) << name;

    // Fingers: 1..4, no finger on two frets, ascending with the fret; one finger on several strings of
    // one fret only as the grip's barré, the first finger's on the lowest fret.
    std::set<int> fingersUsed;
    for (int i = 0; i < record.PunktAnzahl; ++i) {
        const FingerPunktClass& p = record.Punkte[i];
        ASSERT_GE(p.Finger, 1) << name;
        ASSERT_LE(p.Finger, 4) << name;
        fingersUsed.insert(p.Finger);
        if (i > 0) {
            const FingerPunktClass& q = record.Punkte[i - 1];
            ASSERT_LT(q.Bund * 100 + q.Saite * 10 + q.Finger, p.Bund * 100 + p.Saite * 10 + p.Finger) << name;
        }
        for (int j = 0; j < record.PunktAnzahl; ++j) {
            const FingerPunktClass& q = record.Punkte[j];
            if (q.Bund < p.Bund) {
                ASSERT_LT(q.Finger, p.Finger) << name << ": fingers do not ascend with the fret";
            }
            if (i != j && q.Bund == p.Bund && q.Finger == p.Finger) {
                ASSERT_EQ(p.Finger, found.BarreFinger) << name << ": finger used twice";
                ASSERT_EQ(p.Bund, found.BarreBund) << name << ": finger used twice";
                if (p.Finger == 1) {
                    ASSERT_EQ(p.Bund, found.Lage) << name << ": barré off the lowest fret";
                }
            }
            ASSERT_FALSE(q.Bund != p.Bund && q.Finger == p.Finger) << name << ": finger on two frets";
        }
    }
    ASSERT_LE(fingersUsed.size(), 4u) << name;
    ASSERT_EQ(static_cast<int>(fingersUsed.size()), found.FingerAnzahl) << name;

    // What sounds: the record on the board sounds the frets the finder reports.
    const int counter = doc.Nummer;
    doc.Daten() = record;
    doc.Nummer = counter;
    int lowest = 0;
    int highest = 0;
    for (int s = 1; s <= found.SaitenAnzahl; ++s) {
        const int fret = found.Bunde[s - 1];
        const int note = fret < 0 ? KeinTon : (doc.SaiteLesen(s) + fret) % 12;
        ASSERT_EQ(doc.KlingenderTon(s), note) << name << " string " << s;
        ASSERT_EQ(doc.SaitenStatus(s), fret < 0    ? SaiteStumm
                                       : fret == 0 ? SaiteLeer
                                                   : SaiteGegriffen)
            << name;
        ASSERT_LE(fret, finder.Einstellung().HoechsterBund) << name;
        if (fret > 0) {
            lowest = lowest == 0 ? fret : std::min(lowest, fret);
            highest = std::max(highest, fret);
        }
    }
    ASSERT_TRUE(lowest == 0 || highest - lowest < finder.Einstellung().Spannweite) << name;
    // A muted string under the first finger's barré has no entry and splits it in the record.
    ASSERT_LE(doc.Barre(0), found.BarreFinger == 1 ? 2 : 1) << name;
    if (found.BarreBund > 0) {
        BarreClass barre;
        ASSERT_GE(doc.Barre(1, &barre), 1) << name;
        EXPECT_EQ(barre.Bund, found.BarreBund) << name;
        EXPECT_EQ(barre.Finger, found.BarreFinger) << name;
    }

    // Muted strings between sounding ones: at most one, right above a string pressed by a single finger.
    int firstSounding = 0;
    int lastSounding = 0;
    for (int s = 1; s <= found.SaitenAnzahl; ++s) {
        if (found.Bunde[s - 1] >= 0) {
            firstSounding = firstSounding == 0 ? s : firstSounding;
            lastSounding = s;
        }
    }
    int inner = 0;
    for (int s = firstSounding + 1; s < lastSounding; ++s) {
        if (found.Bunde[s - 1] >= 0)
            continue;
        ++inner;
        ASSERT_GT(found.Bunde[s - 2], 0) << name << ": muted string " << s << " has no finger below";
        const bool underBarre =
            found.BarreBund == found.Bunde[s - 2] && s - 1 >= found.BarreVon && s - 1 <= found.BarreBis;
        ASSERT_FALSE(underBarre) << name << ": a barré cannot damp string " << s;
    }
    ASSERT_LE(inner, 1) << name;
}

class Finder : public testing::Test
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
    int type(const char* name)
    {
        const int t = typeIndex(doc(), name);
        EXPECT_GE(t, 0) << "no type \"" << name << "\" in the default table";
        return t;
    }

    static std::unique_ptr<AkkordDepotClass> s_doc;
    static int s_loadResult;
};

std::unique_ptr<AkkordDepotClass> Finder::s_doc;
int Finder::s_loadResult = -1;

// A second table with the default catalogue, retuned by each test.
std::unique_ptr<AkkordDepotClass> retuned(const std::vector<StimmSaiteClass>& strings)
{
    auto doc = std::make_unique<AkkordDepotClass>();
    if (doc->Laden(ZW_DEFAULT_TABLE) != LadenOk)
        return nullptr;
    while (doc->SaitenAnzahl() > 1)
        doc->SaiteEntfernen(doc->SaitenAnzahl() - 1);
    while (doc->SaitenAnzahl() < static_cast<int>(strings.size()))
        doc->SaiteZufuegen();
    for (int s = 1; s <= static_cast<int>(strings.size()); ++s)
        doc->SaiteSetzen(s, strings[static_cast<std::size_t>(s - 1)]);
    return doc;
}

StimmSaiteClass tuned(int note, int octave)
{
    StimmSaiteClass string;
    string.Ton = static_cast<std::uint8_t>(note);
    string.Oktave = octave;
    return string;
}

// Searches every type on every root and checks every grip; returns the number of grips.
int checkEveryChord(AkkordDepotClass& doc, const std::vector<int>& roots)
{
    GriffsucheClass finder;
    const GriffsucheEinstellungClass settings;
    int total = 0;
    for (int t = 0; t < doc.TypAnzahl(); ++t) {
        for (int root : roots) {
            finder.Suchen(doc, root, t, settings);
            std::set<std::string> seen;
            for (int i = 0; i < finder.Anzahl(); ++i) {
                const GefundenerGriffClass& found = finder.Griff(i);
                const std::string chord = std::string(doc.TonName(root, true)) + doc.TypName(t);
                EXPECT_TRUE(seen.insert(frets(found)).second) << chord << " " << found.Zeile() << " twice";
                if (i > 0) {
                    EXPECT_LE(finder.Griff(i - 1).Bewertung, found.Bewertung) << chord << " out of order";
                }
                expectPlayable(doc, finder, found);
                if (testing::Test::HasFatalFailure())
                    return total;
                const TrefferClass reading = readFromBass(doc, found.Griff);
                if (reading.Grundton != root || reading.AkkordTyp != t) {
                    ADD_FAILURE() << chord << " " << found.Zeile() << " is read as "
                                  << doc.AkkordName(reading.Grundton, reading.AkkordTyp, reading.Basston);
                    return total;
                }
                EXPECT_EQ(found.GrundtonImBass, reading.Basston == KeinTon) << chord << " " << found.Zeile();
                ++total;
            }
        }
    }
    return total;
}

} // namespace

TEST_F(Finder, OffersTheOpenAndTheBarreGripsOfCMajorFirst)
{
    GriffsucheClass finder;
    ASSERT_GT(finder.Suchen(doc(), C, type(""), GriffsucheEinstellungClass{}), 10);
    const std::vector<std::string> first = firstFrets(finder, 10);
    EXPECT_TRUE(contains(first, "x32010")) << describe(first);
    EXPECT_TRUE(contains(first, "x35553")) << describe(first);
    EXPECT_EQ(first.front(), "x32010") << describe(first);
}

TEST_F(Finder, OffersTheOpenMinorAndGGripsFirst)
{
    GriffsucheClass finder;
    finder.Suchen(doc(), A, type("m"), GriffsucheEinstellungClass{});
    std::vector<std::string> first = firstFrets(finder, 10);
    EXPECT_TRUE(contains(first, "x02210")) << describe(first);

    finder.Suchen(doc(), G, type(""), GriffsucheEinstellungClass{});
    first = firstFrets(finder, 10);
    EXPECT_TRUE(contains(first, "320003") || contains(first, "320033")) << describe(first);

    finder.Suchen(doc(), D, type(""), GriffsucheEinstellungClass{});
    first = firstFrets(finder, 10);
    EXPECT_TRUE(contains(first, "xx0232")) << describe(first);
}

TEST_F(Finder, AssignsFingersAsAGuitaristWould)
{
    struct Case
    {
        int root;
        const char* type;
        const char* line;
    };
    const Case cases[] = {
        {C, "", "x32010 -32-1-"},  {A, "m", "x02210 --231-"},
        {G, "", "320003 21---3"},  {D, "", "xx0232 ---132"},
        {E, "", "022100 -231--"},  {5, "", "133211 134211"},
        {5, "", "xx3211 --3211"},  {11, "m", "x24432 -13421"},
        {C, "", "x35553 -12341"},  {G, "m", "x(10)(12)(12)(11)x -1342-"},
        {C, "7", "x32310 -3241-"},
    };
    GriffsucheClass finder;
    for (const Case& c : cases) {
        finder.Suchen(doc(), c.root, type(c.type), GriffsucheEinstellungClass{});
        const std::string line = c.line;
        const GefundenerGriffClass* found = findGrip(finder, line.substr(0, line.find(' ')));
        ASSERT_NE(found, nullptr) << line;
        EXPECT_EQ(found->Zeile(), line);
    }
}

TEST_F(Finder, BarreLiesOnTheLowestFretAndCountsAsOneFinger)
{
    GriffsucheClass finder;
    finder.Suchen(doc(), 5, type(""), GriffsucheEinstellungClass{});
    const GefundenerGriffClass* f = findGrip(finder, "133211");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->BarreBund, 1);
    EXPECT_EQ(f->BarreVon, 1);
    EXPECT_EQ(f->BarreBis, 6);
    EXPECT_EQ(f->FingerAnzahl, 4);
    // One entry per string under the barré, plus the fingers above it.
    EXPECT_EQ(f->Griff.PunktAnzahl, 9);

    finder.Suchen(doc(), C, type(""), GriffsucheEinstellungClass{});
    const GefundenerGriffClass* open = findGrip(finder, "x32010");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->BarreBund, 0);
    EXPECT_EQ(open->FingerAnzahl, 3);
    // Five pressed strings and no barré possible: not offered.
    EXPECT_EQ(findGrip(finder, "332013"), nullptr);
    // A barré with an open string above it cannot be held.
    finder.Suchen(doc(), A, type("m"), GriffsucheEinstellungClass{});
    EXPECT_EQ(findGrip(finder, "577550"), nullptr);
}

TEST_F(Finder, MutedStringsOnlyWhereAFingerCanDampThem)
{
    GriffsucheClass finder;
    finder.Suchen(doc(), C, type("7"), GriffsucheEinstellungClass{});
    // The finger on the low string damps the A string.
    EXPECT_NE(findGrip(finder, "8x898x"), nullptr);
    EXPECT_NE(findGrip(finder, "x3x35x"), nullptr);
    // Two muted strings in a row inside the grip, or one above an open string, cannot be damped.
    finder.Suchen(doc(), C, type(""), GriffsucheEinstellungClass{});
    EXPECT_EQ(findGrip(finder, "8xx988"), nullptr);
    EXPECT_EQ(findGrip(finder, "x320x0"), nullptr);
    EXPECT_NE(findGrip(finder, "x32x10"), nullptr);
    // Muted strings at the edges are free.
    EXPECT_NE(findGrip(finder, "x3201x"), nullptr);
}

TEST_F(Finder, SoundsExactlyTheChord)
{
    GriffsucheClass finder;
    // The fifth of "" is optional, the third is not.
    finder.Suchen(doc(), C, type(""), GriffsucheEinstellungClass{});
    EXPECT_NE(findGrip(finder, "x3x010"), nullptr);
    EXPECT_EQ(findGrip(finder, "x35xxx"), nullptr);
    // Nothing outside the type: the open B string is not part of C major.
    EXPECT_EQ(findGrip(finder, "x32000"), nullptr);
}

TEST_F(Finder, SpanAndFretSettings)
{
    GriffsucheClass finder;
    GriffsucheEinstellungClass settings;
    settings.Spannweite = 3;
    finder.Suchen(doc(), C, type(""), settings);
    for (int i = 0; i < finder.Anzahl(); ++i)
        ASSERT_LE(finder.Griff(i).Spannweite, 3) << finder.Griff(i).Zeile();
    EXPECT_EQ(findGrip(finder, "875558"), nullptr) << "spans four frets";
    const int narrow = finder.Anzahl();

    settings.Spannweite = 5;
    finder.Suchen(doc(), C, type(""), settings);
    EXPECT_GT(finder.Anzahl(), narrow);
    bool wide = false;
    for (int i = 0; i < finder.Anzahl(); ++i)
        wide = wide || finder.Griff(i).Spannweite == 5;
    EXPECT_TRUE(wide);

    settings = GriffsucheEinstellungClass{};
    settings.HoechsterBund = 24;
    finder.Suchen(doc(), C, type(""), settings);
    EXPECT_NE(findGrip(finder, "(20)(22)(22)(21)(20)(20)"), nullptr);
    settings.HoechsterBund = 5;
    finder.Suchen(doc(), C, type(""), settings);
    for (int i = 0; i < finder.Anzahl(); ++i) {
        for (int s = 0; s < 6; ++s)
            ASSERT_LE(finder.Griff(i).Bunde[s], 5) << finder.Griff(i).Zeile();
    }

    // Out of range settings are clamped.
    settings.HoechsterBund = 40;
    settings.Spannweite = 9;
    finder.Suchen(doc(), C, type(""), settings);
    EXPECT_EQ(finder.Einstellung().HoechsterBund, 24);
    EXPECT_EQ(finder.Einstellung().Spannweite, 5);
    settings.HoechsterBund = -3;
    settings.Spannweite = 0;
    finder.Suchen(doc(), C, type(""), settings);
    EXPECT_EQ(finder.Einstellung().HoechsterBund, 1);
    EXPECT_EQ(finder.Einstellung().Spannweite, 3);
}

TEST_F(Finder, FiltersForRootInBassAndNoOpenStrings)
{
    GriffsucheClass finder;
    finder.Suchen(doc(), C, type(""), GriffsucheEinstellungClass{});
    const std::vector<int> all = finder.Gefiltert(false, false);
    ASSERT_EQ(static_cast<int>(all.size()), finder.Anzahl());
    const std::vector<int> rooted = finder.Gefiltert(true, false);
    const std::vector<int> closed = finder.Gefiltert(false, true);
    const std::vector<int> both = finder.Gefiltert(true, true);
    EXPECT_LT(rooted.size(), all.size());
    EXPECT_LT(closed.size(), all.size());
    EXPECT_LT(both.size(), std::min(rooted.size(), closed.size()));
    EXPECT_TRUE(std::is_sorted(rooted.begin(), rooted.end()));
    for (int i : rooted)
        EXPECT_TRUE(finder.Griff(i).GrundtonImBass) << finder.Griff(i).Zeile();
    for (int i : closed)
        EXPECT_EQ(finder.Griff(i).Leersaiten, 0) << finder.Griff(i).Zeile();
    ASSERT_GE(both.size(), 2u);
    EXPECT_TRUE(frets(finder.Griff(both[0])) == "x35553" || frets(finder.Griff(both[1])) == "x35553");
    EXPECT_FALSE(findGrip(finder, "032010")->GrundtonImBass);
}

TEST_F(Finder, RanksWithReadableReasons)
{
    GriffsucheClass finder;
    finder.Suchen(doc(), C, type(""), GriffsucheEinstellungClass{});
    const GefundenerGriffClass* open = findGrip(finder, "x32010");
    ASSERT_NE(open, nullptr);
    const std::string reasons = open->Begruendung();
    EXPECT_NE(reasons.find("Spannweite 3 B\xFCnde: +2"), std::string::npos) << reasons;
    EXPECT_NE(reasons.find("3 Finger: +3"), std::string::npos) << reasons;
    EXPECT_NE(reasons.find("Leersaiten in der ersten Lage: -2"), std::string::npos) << reasons;
    EXPECT_NE(reasons.find("Grundton im Bass"), std::string::npos) << reasons;
    EXPECT_NE(reasons.find("1 Basssaite ged\xE4mpft: +1"), std::string::npos) << reasons;
    EXPECT_NE(reasons.find("Bewertung 4"), std::string::npos) << reasons;

    const GefundenerGriffClass* barre = findGrip(finder, "x35553");
    ASSERT_NE(barre, nullptr);
    EXPECT_NE(barre->Begruendung().find("Barr\xE9 im 3. Bund, Saite 2 bis 6: +1"), std::string::npos);
    EXPECT_LT(open->Bewertung, barre->Bewertung);

    const GefundenerGriffClass* inverted = findGrip(finder, "032010");
    ASSERT_NE(inverted, nullptr);
    EXPECT_NE(inverted->Begruendung().find("Grundton nicht im Bass: +8"), std::string::npos);
    const GefundenerGriffClass* gap = findGrip(finder, "x32x10");
    ASSERT_NE(gap, nullptr);
    EXPECT_NE(gap->Begruendung().find("ged\xE4mpfte Saite zwischen klingenden: +8"), std::string::npos);
    EXPECT_LT(open->Bewertung, gap->Bewertung);
}

TEST_F(Finder, LineFormatForScripts)
{
    GriffsucheClass finder;
    finder.Suchen(doc(), D, type(""), GriffsucheEinstellungClass{});
    const GefundenerGriffClass* high = findGrip(finder, "(10)(12)(12)(11)(10)(10)");
    ASSERT_NE(high, nullptr);
    EXPECT_EQ(high->Zeile(), "(10)(12)(12)(11)(10)(10) 134211");
    finder.Suchen(doc(), G, type("m"), GriffsucheEinstellungClass{});
    ASSERT_NE(findGrip(finder, "x(10)(12)(12)(11)x"), nullptr);
}

TEST_F(Finder, FoundGripsAreRecordsTheTableKnows)
{
    GriffsucheClass finder;
    finder.Suchen(doc(), C, type(""), GriffsucheEinstellungClass{});
    const GefundenerGriffClass* open = findGrip(finder, "x32010");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->Griff.Nummer, 0);
    EXPECT_EQ(open->Griff.Leer[3], 1);
    EXPECT_EQ(open->Griff.Leer[0], 0);
    // The default table holds this C grip with the same fingers: storing it again is a duplicate.
    const int counter = doc().Nummer;
    doc().Daten() = open->Griff;
    doc().Nummer = counter;
    EXPECT_GE(doc().GriffSuchen(), 0);
    EXPECT_EQ(doc().GriffAufnehmen(), -1);
}

TEST_F(Finder, RunsInStepsWithProgress)
{
    GriffsucheClass whole;
    whole.Suchen(doc(), A, type("m7"), GriffsucheEinstellungClass{});

    GriffsucheClass stepwise;
    ASSERT_TRUE(stepwise.Starten(doc(), A, type("m7"), GriffsucheEinstellungClass{}));
    EXPECT_EQ(stepwise.Fortschritt(), 0);
    EXPECT_FALSE(stepwise.Fertig());
    int steps = 0;
    int progress = 0;
    while (stepwise.Weiter()) {
        ++steps;
        EXPECT_GE(stepwise.Fortschritt(), progress);
        EXPECT_LT(stepwise.Fortschritt(), 100);
        progress = stepwise.Fortschritt();
    }
    EXPECT_EQ(steps, 15) << "one step for the open grips and one per lowest fret";
    EXPECT_TRUE(stepwise.Fertig());
    EXPECT_EQ(stepwise.Fortschritt(), 100);
    EXPECT_FALSE(stepwise.Weiter());
    ASSERT_EQ(stepwise.Anzahl(), whole.Anzahl());
    for (int i = 0; i < whole.Anzahl(); ++i)
        ASSERT_EQ(stepwise.Griff(i).Zeile(), whole.Griff(i).Zeile());
}

TEST_F(Finder, RefusesWhatCannotBeSearched)
{
    GriffsucheClass finder;
    const GriffsucheEinstellungClass settings;
    finder.Suchen(doc(), C, type(""), settings);
    ASSERT_GT(finder.Anzahl(), 0);
    EXPECT_FALSE(finder.Starten(doc(), KeinTon, type(""), settings));
    EXPECT_EQ(finder.Anzahl(), 0);
    EXPECT_TRUE(finder.Fertig());
    EXPECT_FALSE(finder.Weiter());
    EXPECT_FALSE(finder.Starten(doc(), -1, type(""), settings));
    EXPECT_FALSE(finder.Starten(doc(), C, -1, settings));
    EXPECT_FALSE(finder.Starten(doc(), C, doc().TypAnzahl(), settings));
    EXPECT_EQ(finder.Suchen(doc(), C, doc().TypAnzahl(), settings), 0);

    auto empty = retuned({tuned(E, -1), tuned(A, -1), tuned(D, 0)});
    ASSERT_TRUE(empty);
    // The default catalogue uses all 40 places.
    ASSERT_TRUE(empty->TypEntfernen(0));
    ASSERT_TRUE(empty->TypZufuegen());
    const int last = empty->TypAnzahl() - 1;
    ASSERT_TRUE(empty->IntervallEntfernen(last, 0));
    EXPECT_FALSE(finder.Starten(*empty, C, last, settings)) << "a type without intervals";

    auto single = retuned({tuned(E, 0)});
    ASSERT_TRUE(single);
    ASSERT_EQ(single->SaitenAnzahl(), 1);
    EXPECT_EQ(finder.Suchen(*single, E, typeIndex(*single, "5"), settings), 0);
}

TEST_F(Finder, EveryGripOfEveryChordIsNamedAsThatChord)
{
    const int total = checkEveryChord(doc(), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    EXPECT_GT(total, doc().TypAnzahl() * 12 * 50);
    std::cout << "[ grips ] " << total << " grips of " << doc().TypAnzahl() * 12 << " chords\n";
}

TEST_F(Finder, FourStringBass)
{
    auto bass = retuned({tuned(E, -2), tuned(A, -2), tuned(D, -1), tuned(G, -1)});
    ASSERT_TRUE(bass);
    EXPECT_EQ(bass->AlsText(), "E-A-D-G");
    EXPECT_GT(checkEveryChord(*bass, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), 1000);
    GriffsucheClass finder;
    finder.Suchen(*bass, C, typeIndex(*bass, ""), GriffsucheEinstellungClass{});
    ASSERT_GT(finder.Anzahl(), 0);
    EXPECT_EQ(finder.Griff(0).SaitenAnzahl, 4);
    EXPECT_NE(findGrip(finder, "x320"), nullptr);
    // Five required notes do not fit on four strings.
    const int sharpEleven = typeIndex(*bass, "9#11");
    ASSERT_GE(sharpEleven, 0);
    EXPECT_EQ(finder.Suchen(*bass, C, sharpEleven, GriffsucheEinstellungClass{}), 0);
}

TEST_F(Finder, DadgadAndOpenG)
{
    auto dadgad = retuned({tuned(D, -1), tuned(A, -1), tuned(D, 0), tuned(G, 0), tuned(A, 0), tuned(D, 1)});
    ASSERT_TRUE(dadgad);
    EXPECT_EQ(dadgad->AlsText(), "D-A-D-G-A-D");
    EXPECT_GT(checkEveryChord(*dadgad, {D, G, A}), 1000);
    GriffsucheClass finder;
    finder.Suchen(*dadgad, D, typeIndex(*dadgad, "sus4"), GriffsucheEinstellungClass{});
    ASSERT_GT(finder.Anzahl(), 0);
    EXPECT_EQ(finder.Griff(0).Zeile(), "000000 ------");

    auto openG = retuned({tuned(D, -1), tuned(G, -1), tuned(D, 0), tuned(G, 0), tuned(11, 0), tuned(D, 1)});
    ASSERT_TRUE(openG);
    EXPECT_GT(checkEveryChord(*openG, {G, C}), 500);
    finder.Suchen(*openG, G, typeIndex(*openG, ""), GriffsucheEinstellungClass{});
    ASSERT_GT(finder.Anzahl(), 0);
    // The low D is muted for the root in the bass; all six open strings follow close behind.
    EXPECT_EQ(finder.Griff(0).Zeile(), "x00000 ------");
    EXPECT_NE(findGrip(finder, "000000"), nullptr);
    // The whole-neck barré of open tuning is a grip of its own.
    finder.Suchen(*openG, A, typeIndex(*openG, ""), GriffsucheEinstellungClass{});
    const GefundenerGriffClass* barre = findGrip(finder, "222222");
    ASSERT_NE(barre, nullptr);
    EXPECT_EQ(barre->Zeile(), "222222 111111");
}

TEST_F(Finder, TwoStringsAndSixIntervals)
{
    auto duo = retuned({tuned(G, 0), tuned(D, 1)});
    ASSERT_TRUE(duo);
    GriffsucheClass finder;
    EXPECT_GT(finder.Suchen(*duo, G, typeIndex(*duo, "5"), GriffsucheEinstellungClass{}), 0);
    EXPECT_EQ(finder.Griff(0).Zeile(), "00 --");
    EXPECT_GT(checkEveryChord(*duo, {G, C}), 0);

    // A type of six intervals: at least its required ones sound as different notes.
    int six = -1;
    for (int t = 0; t < doc().TypAnzahl() && six < 0; ++t)
        six = doc().IntervallAnzahl(t) == 6 ? t : -1;
    ASSERT_GE(six, 0);
    int required = 0;
    for (int slot = 0; slot < 6; ++slot)
        required += doc().IstOptional(six, doc().IntervallAn(six, slot)) ? 0 : 1;
    finder.Suchen(doc(), A, six, GriffsucheEinstellungClass{});
    EXPECT_GT(finder.Anzahl(), 0);
    for (int i = 0; i < finder.Anzahl(); ++i) {
        std::set<int> notes;
        for (int s = 1; s <= 6; ++s) {
            if (finder.Griff(i).Bunde[s - 1] >= 0)
                notes.insert((doc().SaiteLesen(s) + finder.Griff(i).Bunde[s - 1]) % 12);
        }
        EXPECT_GE(static_cast<int>(notes.size()), required) << finder.Griff(i).Zeile();
    }
}

namespace {

GefundenerGriffClass gripOf(const std::string& text)
{
    GefundenerGriffClass griff;
    for (std::size_t i = 0; i < text.size() && griff.SaitenAnzahl < MaxSaiten; ++i) {
        int fret = -1;
        if (text[i] == '(') {
            fret = std::stoi(text.substr(i + 1));
            i = text.find(')', i);
        } else if (text[i] != 'x') {
            fret = text[i] - '0';
        }
        griff.Bunde[griff.SaitenAnzahl++] = static_cast<std::int8_t>(fret);
    }
    return griff;
}

int rankOf(const GriffsucheClass& finder, const std::string& fretText)
{
    for (int i = 0; i < finder.Anzahl(); ++i) {
        if (frets(finder.Griff(i)) == fretText)
            return i;
    }
    return -1;
}

} // namespace

TEST(FingerRules, WhatAHandCanHold)
{
    struct Case
    {
        const char* frets;
        const char* fingers; // "" when no hand can hold it
        const char* why;
    };
    const Case cases[] = {
        {"x32010", "-32-1-", "three single fingers, one per fret"},
        {"133211", "134211", "the first finger's barré under higher fingers"},
        {"xx3211", "--3211", "a short barré spares the fourth finger"},
        {"x24432", "-13421", "barré from the root string up to the top"},
        {"x32333", "-21333", "the third finger lies flat over the three high strings, above finger 1's fret"},
        {"x(12)(11)(12)(12)(12)", "-21333", "the same partial barré high on the neck"},
        {"x32335", "-21334", "a partial barré of finger 3 below the little finger"},
        {"x20222", "-1-333", "finger 1 alone, the third finger's barré over the open string's neighbours"},
        {"57x675", "13-241", "a muted string under the barré, damped by the finger on the string below"},
        {"022200", "-123--", "three fingers fit on one fret"},
        {"x2222x", "-1111-", "four strings on one fret take a barré"},
        {"x22220", "", "four single fingers do not fit on one fret, and a barré cannot leave a string open"},
        {"577550", "", "a barré cannot let a string above it ring open"},
        {"332013", "", "five notes on three frets need a barré that would cover the lower fret"},
        {"x55x55", "-12-33", "a barré cannot damp the string above it, a partial barré lies beyond it"},
        {"1xxxx5", "1----4", "the little finger stretches four frets from the first"},
        {"1xxxx6", "", "a stretch of five frets takes more than four fingers"},
        {"x3x335", "-1-234", "a single finger on the string below damps the muted string"},
        {"13(11)xxx", "", "fingers cannot stretch across eleven frets"},
        {"x(12)(11)(12)(11)x", "-2131-", "the first finger's barré under a higher finger spares one"},
        {"x32310", "-3241-", "fingers cross the strings as in a C7"},
        {"x53xxx", "-31---", "the middle finger does not reach two frets back across finger 1's string"},
        {"000000", "------", "nothing to hold"},
    };
    for (const Case& c : cases) {
        GefundenerGriffClass griff = gripOf(c.frets);
        const bool playable = FingerSetzen(griff);
        EXPECT_EQ(playable, c.fingers[0] != '\0') << c.frets << ": " << c.why;
        if (playable && c.fingers[0] != '\0') {
            const std::string line = griff.Zeile();
            EXPECT_EQ(line.substr(line.find(' ') + 1), c.fingers) << c.frets << ": " << c.why;
        }
    }
}

TEST_F(Finder, OffersWhatChordBooksShowFirst)
{
    GriffsucheClass finder;
    // Partial barrés of finger 3 over frets above finger 1's.
    finder.Suchen(doc(), C, type("9"), GriffsucheEinstellungClass{});
    EXPECT_GE(rankOf(finder, "x32333"), 0);
    EXPECT_LT(rankOf(finder, "x32333"), 10) << describe(firstFrets(finder, 10));
    finder.Suchen(doc(), E, type("9"), GriffsucheEinstellungClass{});
    EXPECT_GE(rankOf(finder, "x76777"), 0);
    finder.Suchen(doc(), D, type("9"), GriffsucheEinstellungClass{});
    EXPECT_GE(rankOf(finder, "x54555"), 0);
    finder.Suchen(doc(), C, type("13"), GriffsucheEinstellungClass{});
    EXPECT_GE(rankOf(finder, "x32335"), 0);
    // The barré over a string the hand mutes.
    finder.Suchen(doc(), A, type("6"), GriffsucheEinstellungClass{});
    EXPECT_GE(rankOf(finder, "57x675"), 0);

    struct Case
    {
        int root;
        const char* type;
        const char* frets;
    };
    const Case firstThree[] = {
        {11, "m", "x24432"}, {G, "7", "320001"}, {5, "maj7", "xx3210"}, {E, "sus4", "022200"},
        {C, "", "x32010"},   {A, "", "x02220"},  {A, "", "577655"},     {A, "m7", "x02010"},
    };
    for (const Case& c : firstThree) {
        finder.Suchen(doc(), c.root, type(c.type), GriffsucheEinstellungClass{});
        const int rank = rankOf(finder, c.frets);
        EXPECT_GE(rank, 0) << c.frets;
        EXPECT_LT(rank, 3) << c.frets << " of " << c.root << c.type << ": "
                           << describe(firstFrets(finder, 6));
    }

    // Thinned variants come after the full grip and the barré of the same chord.
    finder.Suchen(doc(), A, type(""), GriffsucheEinstellungClass{});
    EXPECT_LT(rankOf(finder, "577655"), rankOf(finder, "x0222x"));
    EXPECT_LT(rankOf(finder, "577655"), rankOf(finder, "x02x20"));
    EXPECT_NE(findGrip(finder, "x0222x")->Begruendung().find("ausged\xFCnnte Form"), std::string::npos);
}

TEST_F(Finder, PowerChordsFirstForTheFifth)
{
    GriffsucheClass finder;
    finder.Suchen(doc(), E, type("5"), GriffsucheEinstellungClass{});
    std::string firstOnLowStrings;
    for (int i = 0; i < finder.Anzahl() && firstOnLowStrings.empty(); ++i) {
        const GefundenerGriffClass& griff = finder.Griff(i);
        if (griff.Bunde[0] >= 0 && griff.Bunde[1] >= 0 && griff.Bunde[2] >= 0)
            firstOnLowStrings = frets(griff);
    }
    EXPECT_EQ(firstOnLowStrings, "022xxx") << describe(firstFrets(finder, 10));
    // Every one of the first ten is a power chord on the low strings.
    for (const std::string& grip : firstFrets(finder, 10))
        EXPECT_TRUE(grip[0] != 'x' || grip[1] != 'x') << grip;
    finder.Suchen(doc(), G, type("5"), GriffsucheEinstellungClass{});
    EXPECT_LT(rankOf(finder, "355xxx"), 3) << describe(firstFrets(finder, 10));
    EXPECT_NE(findGrip(finder, "355xxx")->Begruendung().find("Powerchord"), std::string::npos);
}

TEST_F(Finder, TheBassIsTheLowestPitchOnAReentrantUkulele)
{
    auto ukulele = retuned({tuned(G, 1), tuned(C, 1), tuned(E, 1), tuned(A, 1)});
    ASSERT_TRUE(ukulele);
    ASSERT_EQ(ukulele->AlsText(), "G-C-E-A");
    GriffsucheClass finder;
    finder.Suchen(*ukulele, C, typeIndex(*ukulele, ""), GriffsucheEinstellungClass{});
    ASSERT_GT(finder.Anzahl(), 0);
    EXPECT_EQ(frets(finder.Griff(0)), "0003") << describe(firstFrets(finder, 5));
    EXPECT_TRUE(finder.Griff(0).GrundtonImBass);
    finder.Suchen(*ukulele, C, typeIndex(*ukulele, "7"), GriffsucheEinstellungClass{});
    EXPECT_EQ(frets(finder.Griff(0)), "0001") << describe(firstFrets(finder, 5));
    EXPECT_GT(checkEveryChord(*ukulele, {C, G, A}), 500);
}
