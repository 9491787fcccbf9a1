#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "table/AkkordDepot.h"

// The chord library built into chordii, a labelled set of guitar voicings that nobody on this project
// wrote: "chordii -d" prints each as {define NAME: base-fret N frets E A D G B E}.
namespace {

struct Definition
{
    std::string name;
    int baseFret = 1;
    int frets[6] = {}; // -1 muted, 0 open, else the fret on the neck
};

struct Label
{
    int root = -1;
    int bass = -1;    // the root when the name has no slash
    std::string type; // the catalogue's name
};

std::string chordiiOutput()
{
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(ZW_CHORDII " -d 2>/dev/null", "r"), pclose);
    if (!pipe)
        return text;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;)
        text.append(buffer.data(), n);
    return text;
}

bool parseDefinition(const std::string& line, Definition& d)
{
    const std::size_t open = line.find("{define ");
    const std::size_t colon = line.find(':', open);
    if (open == std::string::npos || colon == std::string::npos)
        return false;
    d.name = line.substr(open + 8, colon - open - 8);
    std::istringstream words(line.substr(colon + 1));
    std::string word;
    if (!(words >> word) || word != "base-fret" || !(words >> d.baseFret) || !(words >> word) ||
        word != "frets")
        return false;
    for (int& fret : d.frets) {
        if (!(words >> word))
            return false;
        if (!word.empty() && word.back() == '}')
            word.pop_back();
        if (word == "X" || word == "x" || word == "-")
            fret = -1;
        else if (word == "0")
            fret = 0;
        else
            fret = std::stoi(word) + d.baseFret - 1;
    }
    return true;
}

// Note index with C = 0, German H for B; the spelling "B" and flats as chordii writes them.
int noteAt(std::string_view name, std::size_t& length)
{
    static const int naturals[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    length = 0;
    if (name.empty() || name[0] < 'A' || name[0] > 'G')
        return -1;
    int note = naturals[name[0] - 'A'];
    length = 1;
    if (name.size() > 1 && (name[1] == '#' || name[1] == 'b')) {
        note = (note + (name[1] == '#' ? 1 : 11)) % 12;
        length = 2;
    }
    return note;
}

// chordii's spellings of the catalogue's types. "dim" voicings in chordii are all four-note diminished
// sevenths; "11" and "7(11)" stand for other chords there and are left to the fit.
const std::map<std::string, std::string>& spellings()
{
    static const std::map<std::string, std::string> map = {
        {"", ""},
        {"maj", ""},
        {"m", "m"},
        {"min", "m"},
        {"5", "5"},
        {"6", "6"},
        {"m6", "m6"},
        {"7", "7"},
        {"m7", "m7"},
        {"maj7", "maj7"},
        {"mmaj7", "m(maj7)"},
        {"m(maj7)", "m(maj7)"},
        {"m#7", "m(maj7)"},
        {"m(#7)", "m(maj7)"},
        {"m(7#)", "m(maj7)"},
        {"sus2", "sus2"},
        {"sus", "sus4"},
        {"sus4", "sus4"},
        {"4", "sus4"},
        {"7sus4", "7sus4"},
        {"7(sus4)", "7sus4"},
        {"9sus", "9sus4"},
        {"9sus4", "9sus4"},
        {"add9", "add9"},
        {"(add9)", "add9"},
        {"add2", "add9"},
        {"madd9", "m(add9)"},
        {"m(add9)", "m(add9)"},
        {"6/9", "6/9"},
        {"9", "9"},
        {"m9", "m9"},
        {"maj9", "maj9"},
        {"m9(maj7)", "m(maj9)"},
        {"m9maj7", "m(maj9)"},
        {"11", "11"},
        {"9(11)", "11"},
        {"7(11)", "11"},
        {"m11", "m11"},
        {"13", "13"},
        {"m13", "m13"},
        {"maj13", "maj13"},
        {"dim", "dim7"},
        {"dim7", "dim7"},
        {"m7b5", "m7b5"},
        {"m7-5", "m7b5"},
        {"m7(b5)", "m7b5"},
        {"+", "+"},
        {"aug", "+"},
        {"7+", "7#5"},
        {"7+5", "7#5"},
        {"7#5", "7#5"},
        {"maj7(+5)", "maj7#5"},
        {"maj7#5", "maj7#5"},
        {"7(b5)", "7b5"},
        {"7(5b)", "7b5"},
        {"7b5", "7b5"},
        {"7b9", "7b9"},
        {"7(b9)", "7b9"},
        {"7#9", "7#9"},
        {"7(#9)", "7#9"},
        {"7(9+)", "7#9"},
        {"7#11", "7#11"},
        {"9#11", "9#11"},
        {"maj11", "maj11"},
        {"m6/9", "m6/9"},
    };
    return map;
}

// Root, type and bass of a name like "F#m7", "Dm/C" or "C(addD)"; false when the spelling is unknown.
bool parseLabel(const std::string& name, Label& label)
{
    std::size_t length = 0;
    label.root = noteAt(name, length);
    if (label.root < 0)
        return false;
    std::string rest = name.substr(length);
    label.bass = label.root;
    const std::size_t slash = rest.find('/');
    if (slash != std::string::npos && slash + 1 < rest.size()) {
        std::size_t bassLength = 0;
        const int bass = noteAt(std::string_view(rest).substr(slash + 1), bassLength);
        if (bass >= 0 && slash + 1 + bassLength == rest.size()) {
            label.bass = bass;
            rest = rest.substr(0, slash);
        }
    }
    // "addD", "(addE)": an added note by name.
    const std::size_t add = rest.find("add");
    if (add != std::string::npos && add + 3 < rest.size()) {
        std::size_t noteLength = 0;
        const int added = noteAt(std::string_view(rest).substr(add + 3), noteLength);
        if (added >= 0) {
            const int above = (added - label.root + 12) % 12;
            const char* degree = above == 2 ? "9" : above == 5 ? "11" : nullptr;
            if (!degree)
                return false;
            std::string tail = rest.substr(add + 3 + noteLength);
            const bool bracket = add > 0 && rest[add - 1] == '(' && tail == ")";
            rest = rest.substr(0, bracket ? add - 1 : add) + "add" + degree;
            if (!bracket && !tail.empty())
                return false;
        }
    }
    const auto found = spellings().find(rest);
    if (found == spellings().end())
        return false;
    label.type = found->second;
    return true;
}

int typeNamed(const AkkordDepotClass& doc, const std::string& name)
{
    for (int t = 0; t < doc.TypAnzahl(); ++t) {
        if (name == doc.TypName(t))
            return t;
    }
    return -1;
}

std::string fretText(const Definition& d)
{
    std::string text;
    for (int s = 0; s < 6; ++s) {
        if (s > 0)
            text += ' ';
        text += d.frets[s] < 0 ? "x" : std::to_string(d.frets[s]);
    }
    return text;
}

void play(AkkordDepotClass& doc, const Definition& d)
{
    doc.Loeschen();
    for (int s = 1; s <= 6; ++s) {
        if (d.frets[s - 1] == 0)
            doc.LeerSetzen(s, true);
        else if (d.frets[s - 1] > 0)
            doc.FingerSetzen(d.frets[s - 1], s, 1);
    }
}

} // namespace

TEST(Chordii, ItsLabelledVoicingsAreNamedAsLabelled)
{
    ASSERT_STRNE(ZW_CHORDII, "") << "chordii is not installed (scripts/setup.sh installs it)";
    const std::string output = chordiiOutput();
    std::vector<Definition> definitions;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        Definition d;
        if (line.rfind("{define ", 0) == 0 && parseDefinition(line, d))
            definitions.push_back(d);
    }
    ASSERT_EQ(definitions.size(), 361u) << "chordii -d prints its 361 built-in definitions";

    auto doc = std::make_unique<AkkordDepotClass>();
    ASSERT_EQ(doc->Laden(ZW_DEFAULT_TABLE), LadenOk);

    struct Mode
    {
        const char* name;
        int start;
        int exact = 0;
        int strict = 0; // a name without a slash also claims the root as bass
        std::vector<std::string> misses;
    };
    Mode modes[] = {{"Basston", StartSaiteBasston},
                    {"Intervallanzahl", 0},
                    {"1. Saite", 1},
                    {"2. Saite", 2},
                    {"3. Saite", 3},
                    {"4. Saite", 4},
                    {"5. Saite", 5},
                    {"6. Saite", 6}};
    // chordii gives some frets several names with different roots or types (xx2110 is Ab+, C+ and E+):
    // no recognition can name more than one of them as labelled.
    std::map<std::string, std::vector<std::string>> chordsOfFrets;
    for (const Definition& d : definitions) {
        Label label;
        if (parseLabel(d.name, label))
            chordsOfFrets[fretText(d)].push_back(std::to_string(label.root) + " " + label.type);
    }
    const auto ambiguous = [&chordsOfFrets](const Definition& d) {
        const std::vector<std::string>& chords = chordsOfFrets[fretText(d)];
        for (const std::string& chord : chords) {
            if (chord != chords.front())
                return true;
        }
        return false;
    };

    std::vector<std::string> unspelled;
    std::vector<std::string> unfit;
    std::vector<std::string> namedAlike;
    int labelled = 0;
    for (const Definition& d : definitions) {
        Label label;
        if (!parseLabel(d.name, label)) {
            unspelled.push_back(d.name + " " + fretText(d));
            continue;
        }
        const int type = typeNamed(*doc, label.type);
        ASSERT_GE(type, 0) << "the catalogue has no \"" << label.type << "\"";
        if (ambiguous(d)) {
            namedAlike.push_back(d.name + " " + fretText(d));
            continue;
        }
        play(*doc, d);
        const int bass = doc->BassTon(doc->Daten());
        // The label must be one of the readings that fit: its notes are that chord over that bass.
        doc->SetzeStartSaite(0);
        doc->AkkordSetzen(KeinTon, 0);
        TrefferClass list[MaxTreffer];
        const int count = doc->Erkennen(nullptr, list);
        bool fits = false;
        for (int i = 0; i < std::min(count, MaxTreffer); ++i)
            fits = fits || (list[i].Grundton == label.root && list[i].AkkordTyp == type);
        if (!fits || (label.bass != label.root && bass != label.bass)) {
            unfit.push_back(d.name + " " + fretText(d));
            continue;
        }
        ++labelled;
        for (Mode& mode : modes) {
            doc->SetzeStartSaite(mode.start);
            doc->AkkordSetzen(KeinTon, 0);
            TrefferClass result;
            doc->Erkennen(&result);
            const int shownBass = result.Basston == KeinTon ? result.Grundton : result.Basston;
            // Only the bass mode names a bass; a name without a slash names none.
            const bool chord = result.Grundton == label.root && result.AkkordTyp == type;
            const bool bassNamed =
                mode.start != StartSaiteBasston || label.bass == label.root || shownBass == label.bass;
            const bool exact = chord && bassNamed;
            if (chord && (mode.start != StartSaiteBasston || shownBass == label.bass))
                ++mode.strict;
            if (exact)
                ++mode.exact;
            else
                mode.misses.push_back(d.name + " " + fretText(d) + " read " +
                                      doc->AkkordName(result.Grundton, result.AkkordTyp, result.Basston));
        }
    }
    doc->SetzeStartSaite(0);

    std::cout << "[ chordii ] " << definitions.size() << " definitions, " << labelled
              << " nameable as labelled; set aside: " << unspelled.size()
              << " with a spelling of no catalogue type, " << unfit.size()
              << " whose notes are not the labelled chord over the labelled bass, " << namedAlike.size()
              << " whose frets chordii also names as another chord\n";
    for (const std::string& s : namedAlike)
        std::cout << "[ named alike ] " << s << "\n";
    for (const std::string& s : unspelled)
        std::cout << "[ unspelled ] " << s << "\n";
    for (const std::string& s : unfit)
        std::cout << "[ unfit ] " << s << "\n";
    for (const Mode& mode : modes) {
        std::cout << "[ chordii ] " << mode.name << ": " << mode.exact << " of " << labelled << " ("
                  << (labelled ? 1000 * mode.exact / labelled / 10.0 : 0) << " %) named as labelled, "
                  << mode.strict << " (" << (labelled ? 1000 * mode.strict / labelled / 10.0 : 0)
                  << " %) also with the root as bass where the name has no slash\n";
        for (const std::string& miss : mode.misses)
            std::cout << "[ miss ] " << mode.name << " " << miss << "\n";
    }
    EXPECT_GE(labelled, 200);
    EXPECT_GE(modes[0].exact * 100, labelled * 90)
        << modes[0].exact << " of " << labelled << " in \"Basston\"";
}
