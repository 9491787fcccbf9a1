#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "griffsuche/Griffsuche.h"
#include "table/AkkordDepot.h"

namespace {

// One "{define NAME: base-fret N frets ...}" line of chordii's built-in library.
struct Definition
{
    std::string name;
    std::string frets; // as the finder writes them: "x32010", "(10)" above 9
};

std::vector<Definition> chordiiLibrary()
{
    std::vector<Definition> list;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen("chordii -d 2>/dev/null", "r"), pclose);
    if (!pipe)
        return list;
    char line[512];
    while (std::fgets(line, sizeof line, pipe.get())) {
        char name[64] = {};
        int base = 0;
        char f[6][8] = {};
        if (std::sscanf(line, "{define %63[^:]: base-fret %d frets %7s %7s %7s %7s %7s %7s", name, &base,
                        f[0], f[1], f[2], f[3], f[4], f[5]) != 8)
            continue;
        std::string frets;
        for (const auto& cell : f) {
            if (cell[0] == 'X' || cell[0] == 'x' || cell[0] == '-') {
                frets += 'x';
                continue;
            }
            const int relative = std::atoi(cell);
            const int absolute = relative == 0 ? 0 : relative + base - 1;
            frets += absolute <= 9 ? std::to_string(absolute) : "(" + std::to_string(absolute) + ")";
        }
        list.push_back({name, frets});
    }
    return list;
}

// English note names as chordii writes them, then the type: the catalogue's own name or one of the
// usual spellings of it.
bool chordOf(const ErkennungClass& katalog, const std::string& name, int& root, int& type)
{
    static const char* const notes[] = {"C",  "C#", "Db", "D",  "D#", "Eb", "E",  "F", "F#",
                                        "Gb", "G",  "G#", "Ab", "A",  "A#", "Bb", "B"};
    static const int values[] = {0, 1, 1, 2, 3, 3, 4, 5, 6, 6, 7, 8, 8, 9, 10, 10, 11};
    std::size_t longest = 0;
    for (std::size_t i = 0; i < std::size(notes); ++i) {
        const std::size_t length = std::strlen(notes[i]);
        if (name.compare(0, length, notes[i]) == 0 && length > longest) {
            longest = length;
            root = values[i];
        }
    }
    if (longest == 0)
        return false;
    std::string rest = name.substr(longest);
    static const std::pair<const char*, const char*> spellings[] = {
        {"maj", ""},      {"min", "m"},     {"sus", "sus4"}, {"(add9)", "add9"},  {"7(#9)", "7#9"},
        {"7(b9)", "7b9"}, {"m7-5", "m7b5"}, {"aug", "+"},    {"mmaj7", "m(maj7)"}};
    for (const auto& [spelling, own] : spellings) {
        if (rest == spelling) {
            rest = own;
            break;
        }
    }
    for (int t = 0; t < katalog.TypAnzahl(); ++t) {
        if (rest == katalog.TypName(t)) {
            type = t;
            return true;
        }
    }
    return false;
}

std::string fretsOf(const GefundenerGriffClass& griff)
{
    const std::string line = griff.Zeile();
    return line.substr(0, line.find(' '));
}

// Whether a hand can hold the grip, and what the recognition calls it from its bass.
std::string reading(AkkordDepotClass& doc, const std::string& text, bool& playable, TrefferClass& result)
{
    GefundenerGriffClass griff;
    griff.SaitenAnzahl = 6;
    int s = 0;
    for (std::size_t i = 0; i < text.size() && s < 6; ++i) {
        if (text[i] == 'x') {
            griff.Bunde[s++] = -1;
        } else if (text[i] == '(') {
            griff.Bunde[s++] = static_cast<std::int8_t>(std::atoi(text.c_str() + i + 1));
            i = text.find(')', i);
        } else {
            griff.Bunde[s++] = static_cast<std::int8_t>(text[i] - '0');
        }
    }
    playable = FingerSetzen(griff);
    AkkordDatenClass record;
    int count = 0;
    for (int string = 1; string <= 6; ++string) {
        if (griff.Bunde[string - 1] == 0)
            record.Leer[string - 1] = 1;
        if (griff.Bunde[string - 1] > 0) {
            record.Punkte[count].Bund = griff.Bunde[string - 1];
            record.Punkte[count].Saite = string;
            record.Punkte[count++].Finger = std::max<int>(1, griff.Finger[string - 1]);
        }
    }
    record.PunktAnzahl = count;
    record.Grundton = KeinTon;
    record.AkkordTyp = -1;
    const int counter = doc.Nummer;
    doc.Daten() = record;
    doc.Nummer = counter;
    doc.AkkordClass::Sortieren();
    const int start = doc.SetzeStartSaite(-1);
    doc.SetzeStartSaite(StartSaiteBasston);
    result = TrefferClass{};
    doc.Erkennen(&result);
    doc.SetzeStartSaite(start);
    return std::string(playable ? griff.Zeile() : "unplayable") + " read as " +
           doc.AkkordName(result.Grundton, result.AkkordTyp, result.Basston);
}

} // namespace

// Voicings nobody on this project wrote: how often chordii's definition is among the finder's first three.
TEST(FinderAgainstChordii, BookGripsRankAmongTheFirstThree)
{
    const std::vector<Definition> library = chordiiLibrary();
    if (library.empty())
        GTEST_SKIP() << "chordii is not installed";
    ASSERT_GE(library.size(), 300u);
    AkkordDepotClass doc;
    ASSERT_EQ(doc.Laden(ZW_DEFAULT_TABLE), LadenOk);

    GriffsucheClass finder;
    std::set<std::string> seen;
    int named = 0;
    int firstThree = 0;
    int firstTen = 0;
    int offered = 0;
    int eligibleCount = 0;
    for (const Definition& definition : library) {
        int root = 0;
        int type = -1;
        if (!chordOf(doc, definition.name, root, type))
            continue;
        if (!seen.insert(std::to_string(root) + ' ' + std::to_string(type) + ' ' + definition.frets).second)
            continue;
        ++named;
        bool playable = false;
        TrefferClass result;
        const std::string read = reading(doc, definition.frets, playable, result);
        const bool eligible = playable && result.Grundton == root && result.AkkordTyp == type;
        eligibleCount += eligible ? 1 : 0;
        finder.Suchen(doc, root, type, GriffsucheEinstellungClass{});
        int rank = -1;
        for (int i = 0; i < finder.Anzahl() && rank < 0; ++i)
            rank = fretsOf(finder.Griff(i)) == definition.frets ? i : -1;
        EXPECT_TRUE(!eligible || rank >= 0)
            << definition.name << ' ' << definition.frets << " is not offered";
        firstThree += rank >= 0 && rank < 3 ? 1 : 0;
        firstTen += rank >= 0 && rank < 10 ? 1 : 0;
        offered += rank >= 0 ? 1 : 0;
        if (std::getenv("ZW_CHORDII_MISSES") && (rank < 0 || rank >= 3)) {
            std::cout << definition.name << " " << definition.frets << " rank " << rank << "; first:";
            for (int i = 0; i < 3 && i < finder.Anzahl(); ++i)
                std::cout << ' ' << fretsOf(finder.Griff(i));
            if (rank < 0)
                std::cout << "  [" << read << "]";
            std::cout << '\n';
        }
    }
    std::cout << "[ chordii ] " << library.size() << " definitions, " << named
              << " chords the catalogue names; " << eligibleCount
              << " of them playable and read as that chord from the bass; " << firstThree
              << " among the first three, " << firstTen << " among the first ten, " << offered
              << " offered\n";
    ASSERT_GT(named, 60);
    EXPECT_EQ(offered, eligibleCount);
    EXPECT_GE(firstThree * 100, eligibleCount * 50);
}
