// Builds a chord-table file from its text source: zw_grifftabelle_erzeugen <source.txt> <output.cho>
// The line format is described in the header of data/gitarre.txt.

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "table/AkkordDepot.h"
#include "table/FingersatzSuche.h"
#include "theory/Intervalle.h"
#include "theory/Zeichensatz.h"

namespace {

constexpr int mutedString = -1;
constexpr int shapePositions = 12;

struct Token
{
    std::string text;
    bool quoted = false;
};

// Frets per string and every finger entry; a barré contributes one entry per string it covers.
struct Pattern
{
    int frets[MaxSaiten] = {mutedString, mutedString, mutedString, mutedString, mutedString, mutedString};
    std::vector<FingerPunktClass> entries;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string trimmed(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

bool parseInt(std::string_view text, int& value)
{
    if (text.empty() || text.size() > 6)
        return false;
    std::size_t i = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size())
        return false;
    int result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        result = result * 10 + (text[i] - '0');
    }
    value = negative ? -result : result;
    return true;
}

class Generator
{
public:
    Generator() : m_depot(std::make_unique<AkkordDepotClass>()) {}

    bool readSource(const std::string& path);
    bool save(const std::string& path);
    void printSummary(const std::string& path) const;
    const std::string& error() const { return m_error; }

private:
    bool parseLine(std::string_view line);
    bool parseType(const std::vector<Token>& tokens);
    bool parseTuning(const std::vector<Token>& tokens);
    bool parseGrip(const std::vector<Token>& tokens, bool shape);
    bool parsePattern(const std::vector<Token>& tokens, std::size_t first, Pattern& pattern);
    bool parseBarre(const std::vector<Token>& tokens, std::size_t at, Pattern& pattern);
    bool storeGrip(const Pattern& pattern, int offset, int root, int type);
    void verifyGrip(int root, int type, int offset);

    bool noteByName(const std::string& utf8, int& note);
    bool typeByName(const Token& token, int& type);
    bool toCp1252(const std::string& utf8, std::string& cp1252);
    bool fail(const std::string& message);
    void warn(const std::string& message) const;
    std::string chordName(int root, int type) const;
    std::string fretText() const;
    void clearGrip();

    std::unique_ptr<AkkordDepotClass> m_depot;
    std::string m_sourceName;
    int m_line = 0;
    std::string m_error;
    bool m_haveInstrument = false;
    bool m_haveGrips = false;
    std::string m_info;
    int m_duplicates = 0;
    int m_misread = 0;
    std::map<std::string, int> m_readFromBass;
};

bool Generator::fail(const std::string& message)
{
    m_error = m_sourceName + ":" + std::to_string(m_line) + ": error: " + message;
    return false;
}

void Generator::warn(const std::string& message) const
{
    std::cerr << m_sourceName << ":" << m_line << ": warning: " << message << "\n";
}

bool Generator::toCp1252(const std::string& utf8, std::string& cp1252)
{
    if (!utf8ToCp1252(utf8, cp1252))
        return fail("text is not UTF-8 or holds a character Windows-1252 lacks: " + utf8);
    return true;
}

bool Generator::readSource(const std::string& path)
{
    m_sourceName = path;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        m_error = path + ": error: cannot open the source";
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        ++m_line;
        if (m_line == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!parseLine(line))
            return false;
    }
    if (!m_haveInstrument)
        return fail("the source names no instrument");
    std::string info;
    if (!toCp1252(m_info, info))
        return false;
    m_depot->SetzeText(1, info);
    m_depot->SetzeEigeneReihenfolge(false);
    clearGrip();
    return true;
}

bool Generator::parseLine(std::string_view line)
{
    const std::string text = trimmed(line);
    if (text.empty() || text[0] == '#')
        return true;
    const std::size_t keywordEnd = text.find_first_of(" \t");
    const std::string keyword = text.substr(0, keywordEnd);
    const std::string rest =
        keywordEnd == std::string::npos ? std::string() : trimmed(text.substr(keywordEnd));

    // Free texts take the rest of the line as it stands, quotes included.
    if (keyword == "instrument") {
        std::string name;
        if (rest.empty())
            return fail("the instrument name is empty");
        if (!toCp1252(rest, name))
            return false;
        m_depot->SetzeText(0, name);
        m_haveInstrument = true;
        return true;
    }
    if (keyword == "info") {
        if (!m_info.empty())
            m_info += "\r\n";
        m_info += rest;
        return true;
    }

    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        Token token;
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == std::string::npos)
                return fail("a quoted name is not closed");
            token.text = text.substr(i + 1, close - i - 1);
            token.quoted = true;
            i = close + 1;
            if (i < text.size() && !isBlank(text[i]))
                return fail("a blank must follow a quoted name");
        } else {
            const std::size_t end = text.find_first_of(" \t\"", i);
            token.text = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
            i = end == std::string::npos ? text.size() : end;
        }
        tokens.push_back(token);
    }

    if (keyword == "type")
        return parseType(tokens);
    if (keyword == "tuning")
        return parseTuning(tokens);
    if (keyword == "grip")
        return parseGrip(tokens, false);
    if (keyword == "shape")
        return parseGrip(tokens, true);
    return fail("unknown keyword '" + keyword + "'");
}

bool Generator::parseType(const std::vector<Token>& tokens)
{
    if (tokens.size() < 3 || !tokens[1].quoted)
        return fail("expected: type \"<name>\" <interval> ...");
    std::string name;
    if (!toCp1252(tokens[1].text, name))
        return false;
    if (name.size() > MaxTypNameLaenge)
        return fail("the type name \"" + tokens[1].text + "\" is longer than 19 characters");
    for (int t = 0; t < m_depot->TypAnzahl(); ++t) {
        if (name == m_depot->TypName(t))
            return fail("the type \"" + tokens[1].text + "\" is defined twice");
    }

    struct Interval
    {
        int code;
        bool optional;
    };
    std::vector<Interval> intervals;
    bool haveRoot = false;
    for (std::size_t i = 2; i < tokens.size(); ++i) {
        std::string_view word = tokens[i].text;
        const bool optional = word.size() > 2 && word.front() == '(' && word.back() == ')';
        if (optional)
            word = word.substr(1, word.size() - 2);
        int code = -1;
        for (int c = 0; c < AnzahlIntervallcodes; ++c) {
            if (word == IntervallBezeichnung(c))
                code = c;
        }
        if (tokens[i].quoted || code < 0)
            return fail("unknown interval '" + tokens[i].text + "'");
        if (code == 0) {
            if (optional)
                return fail("the root interval 1 cannot be optional");
            haveRoot = true;
            continue;
        }
        intervals.push_back({code, optional});
    }
    if (!haveRoot)
        return fail("the type \"" + tokens[1].text + "\" lacks the root interval 1");

    if (!m_depot->TypZufuegen())
        return fail("more than 40 chord types");
    const int type = m_depot->TypAnzahl() - 1;
    m_depot->TypUmbenennen(type, name);
    for (const Interval& interval : intervals) {
        if (!m_depot->IntervallZufuegen(type, interval.code, interval.optional))
            return fail("an interval is listed twice or the type has more than 6 intervals");
    }
    return true;
}

bool Generator::parseTuning(const std::vector<Token>& tokens)
{
    if (m_haveGrips)
        return fail("the tuning must come before the grips");
    const int count = static_cast<int>(tokens.size()) - 1;
    if (count < 1 || count > MaxSaiten)
        return fail("a tuning has 1 to 6 strings");
    std::vector<StimmSaiteClass> strings;
    for (int s = 1; s <= count; ++s) {
        const std::string& word = tokens[s].text;
        const std::size_t octaveAt = word.find_first_of("+-0123456789");
        int note = 0;
        int octave = 0;
        if (tokens[s].quoted || octaveAt == 0 || octaveAt == std::string::npos ||
            !parseInt(std::string_view(word).substr(octaveAt), octave) || octave < -8 || octave > 8)
            return fail("expected a note and an octave -8..8 like E-1, H0 or E+1, not '" + word + "'");
        if (!noteByName(word.substr(0, octaveAt), note))
            return false;
        StimmSaiteClass saite;
        saite.Ton = static_cast<std::uint8_t>(note);
        saite.Oktave = octave;
        strings.push_back(saite);
    }
    while (m_depot->SaitenAnzahl() > count)
        m_depot->SaiteEntfernen(m_depot->SaitenAnzahl() - 1);
    while (m_depot->SaitenAnzahl() < count)
        m_depot->SaiteZufuegen();
    for (int s = 1; s <= count; ++s)
        m_depot->SaiteSetzen(s, strings[s - 1]);
    return true;
}

bool Generator::noteByName(const std::string& utf8, int& note)
{
    std::string name;
    if (!toCp1252(utf8, name))
        return false;
    for (int n = 0; n < 12; ++n) {
        if (name == m_depot->TonName(n, true)) {
            note = n;
            return true;
        }
    }
    return fail("unknown note '" + utf8 + "'");
}

bool Generator::typeByName(const Token& token, int& type)
{
    std::string name;
    if (!token.quoted)
        return fail("the type name must stand in double quotes: '" + token.text + "'");
    if (!toCp1252(token.text, name))
        return false;
    for (int t = 0; t < m_depot->TypAnzahl(); ++t) {
        if (name == m_depot->TypName(t)) {
            type = t;
            return true;
        }
    }
    return fail("unknown chord type \"" + token.text + "\"");
}

bool Generator::parsePattern(const std::vector<Token>& tokens, std::size_t first, Pattern& pattern)
{
    const int strings = m_depot->SaitenAnzahl();
    if (tokens.size() < first + strings)
        return fail("expected " + std::to_string(strings) + " strings");
    for (int s = 1; s <= strings; ++s) {
        const std::string& word = tokens[first + s - 1].text;
        if (word == "x")
            continue;
        if (word == "0") {
            pattern.frets[s - 1] = 0;
            continue;
        }
        const std::size_t slash = word.find('/');
        int fret = 0;
        int finger = 0;
        if (slash == std::string::npos || !parseInt(word.substr(0, slash), fret) ||
            !parseInt(word.substr(slash + 1), finger) || fret < 1 || fret > MaxBund || finger < 1 ||
            finger > 4)
            return fail("string " + std::to_string(s) + ": expected x, 0 or <fret>/<finger 1-4>, not '" +
                        word + "'");
        pattern.frets[s - 1] = fret;
        FingerPunktClass entry;
        entry.Bund = fret;
        entry.Saite = s;
        entry.Finger = finger;
        pattern.entries.push_back(entry);
    }
    for (std::size_t at = first + strings; at < tokens.size(); at += 3) {
        if (!parseBarre(tokens, at, pattern))
            return false;
    }
    if (pattern.entries.size() > MaxPunkte)
        return fail("a grip holds at most 12 finger entries");
    // One finger presses one fret: across several strings only as a barré.
    for (const FingerPunktClass& a : pattern.entries) {
        for (const FingerPunktClass& b : pattern.entries) {
            if (a.Finger == b.Finger && a.Bund != b.Bund)
                return fail("finger " + std::to_string(a.Finger) + " is placed at two frets");
        }
    }
    return true;
}

bool Generator::parseBarre(const std::vector<Token>& tokens, std::size_t at, Pattern& pattern)
{
    if (tokens[at].text != "barre" || at + 2 >= tokens.size())
        return fail("expected: barre <fret>/<finger> <from>-<to>");
    const std::string& spot = tokens[at + 1].text;
    const std::string& range = tokens[at + 2].text;
    const std::size_t slash = spot.find('/');
    const std::size_t dash = range.find('-');
    int fret = 0;
    int finger = 0;
    int low = 0;
    int high = 0;
    if (slash == std::string::npos || dash == std::string::npos || !parseInt(spot.substr(0, slash), fret) ||
        !parseInt(spot.substr(slash + 1), finger) || !parseInt(range.substr(0, dash), low) ||
        !parseInt(range.substr(dash + 1), high) || fret < 1 || fret > MaxBund || finger < 1 || finger > 4 ||
        low < 1 || high > m_depot->SaitenAnzahl() || low >= high)
        return fail("expected: barre <fret>/<finger> <from>-<to>, not '" + spot + " " + range + "'");
    for (int s = low; s <= high; ++s) {
        if (pattern.frets[s - 1] < fret)
            return fail("the barré covers string " + std::to_string(s) +
                        ", which is not held at or above it");
        bool present = false;
        for (const FingerPunktClass& entry : pattern.entries) {
            if (entry.Saite != s || entry.Bund != fret)
                continue;
            if (entry.Finger != finger)
                return fail("string " + std::to_string(s) + " holds another finger at the barré's fret");
            present = true;
        }
        if (present)
            continue;
        FingerPunktClass entry;
        entry.Bund = fret;
        entry.Saite = s;
        entry.Finger = finger;
        pattern.entries.push_back(entry);
    }
    return true;
}

bool Generator::parseGrip(const std::vector<Token>& tokens, bool shape)
{
    const std::size_t first = shape ? 2 : 3;
    if (tokens.size() < first)
        return fail(shape ? "expected: shape \"<type>\" <strings>"
                          : "expected: grip <root> \"<type>\" <strings>");
    int root = KeinTon;
    int type = 0;
    if (!shape && !noteByName(tokens[1].text, root))
        return false;
    if (!typeByName(tokens[first - 1], type))
        return false;
    Pattern pattern;
    if (!parsePattern(tokens, first, pattern))
        return false;
    m_haveGrips = true;
    if (!shape)
        return storeGrip(pattern, 0, root, type);

    int lowest = MaxBund;
    for (const FingerPunktClass& entry : pattern.entries)
        lowest = std::min(lowest, entry.Bund);
    for (int s = 0; s < m_depot->SaitenAnzahl(); ++s) {
        if (pattern.frets[s] == 0)
            return fail("a movable shape has no open strings");
    }
    if (pattern.entries.empty() || lowest != 1)
        return fail("a shape is written with its lowest fret at 1");
    for (int offset = 0; offset < shapePositions; ++offset) {
        if (!storeGrip(pattern, offset, KeinTon, type))
            return false;
    }
    return true;
}

void Generator::clearGrip()
{
    // Loeschen also resets the running grip number, which the table keeps counting.
    const std::int32_t number = m_depot->Daten().Nummer;
    m_depot->Loeschen();
    m_depot->Daten().Nummer = number;
}

bool Generator::storeGrip(const Pattern& pattern, int offset, int root, int type)
{
    clearGrip();
    for (const FingerPunktClass& entry : pattern.entries) {
        if (entry.Bund + offset > MaxBund)
            return fail("a shape reaches beyond fret 30");
        m_depot->FingerSetzen(entry.Bund + offset, entry.Saite, entry.Finger);
    }
    for (int s = 1; s <= m_depot->SaitenAnzahl(); ++s) {
        if (pattern.frets[s - 1] == 0)
            m_depot->LeerSetzen(s, true);
    }
    const int bass = m_depot->BassSaite();
    if (bass == 0)
        return fail("the grip sounds no string");
    if (root == KeinTon)
        root = m_depot->KlingenderTon(bass);

    verifyGrip(root, type, offset);
    m_depot->AkkordSetzen(root, type);
    // A grip built by hand is named after the stored grip that sounds its positions, so those positions
    // may have one name; other fingers for them are stored under the same chord.
    const int same = FingersatzSucheClass::Suchen(*m_depot);
    if (same >= 0 && (m_depot->Element(same).Grundton != root || m_depot->Element(same).AkkordTyp != type))
        return fail("grip " + fretText() + " is stored already as " +
                    chordName(m_depot->Element(same).Grundton, m_depot->Element(same).AkkordTyp));
    if (m_depot->GriffAufnehmen() < 0) {
        if (m_depot->Anzahl() >= MaxGriffe)
            return fail("more than 10000 grips");
        warn("grip " + fretText() + " " + chordName(root, type) + " is stored already; skipped");
        ++m_duplicates;
    }
    return true;
}

// Every grip must read as it is filed when recognition starts at its bass, the way songbooks name
// chords; most also do in interval-count mode. Once stored, a grip built by hand with the same fingering
// is named as filed in every mode.
void Generator::verifyGrip(int root, int type, int offset)
{
    const auto recognise = [this](int startSaite) {
        TrefferClass result;
        m_depot->SetzeStartSaite(startSaite);
        m_depot->AkkordSetzen(KeinTon, 0);
        m_depot->Erkennen(&result);
        m_depot->SetzeStartSaite(0);
        return result;
    };
    const TrefferClass fromBass = recognise(StartSaiteBasston);
    if (fromBass.Grundton == root && fromBass.AkkordTyp == type) {
        const TrefferClass counted = recognise(0);
        if (counted.Grundton != root || counted.AkkordTyp != type)
            ++m_readFromBass[chordName(KeinTon, type)];
        return;
    }
    ++m_misread;
    std::string where = "grip " + fretText();
    if (offset > 0)
        where += " (shape moved up " + std::to_string(offset) + ")";
    warn(where + " is filed as " + chordName(root, type) + " but reads from its bass as " +
         chordName(fromBass.Grundton, fromBass.AkkordTyp));
}

std::string Generator::chordName(int root, int type) const
{
    if (type < 0)
        return "no chord";
    std::string name = root == KeinTon ? "" : m_depot->TonName(root, true);
    return cp1252ToUtf8(name + m_depot->TypName(type));
}

std::string Generator::fretText() const
{
    std::string text;
    bool wide = false;
    std::string frets[MaxSaiten];
    for (int s = 1; s <= m_depot->SaitenAnzahl(); ++s) {
        int highest = 0;
        for (int i = 0; i < m_depot->PunktAnzahl(); ++i) {
            const FingerPunktClass p = m_depot->Punkt(i);
            if (p.Saite == s && p.Bund > highest)
                highest = p.Bund;
        }
        const int status = m_depot->SaitenStatus(s);
        frets[s - 1] = status == SaiteStumm ? "x" : std::to_string(highest);
        wide = wide || highest > 9;
    }
    for (int s = 0; s < m_depot->SaitenAnzahl(); ++s) {
        if (wide && s > 0)
            text += ' ';
        text += frets[s];
    }
    return text;
}

bool Generator::save(const std::string& path)
{
    if (!m_depot->Speichern(path)) {
        m_error = path + ": error: cannot write the chord table";
        return false;
    }
    return true;
}

void Generator::printSummary(const std::string& path) const
{
    std::cout << "zw_grifftabelle_erzeugen: " << m_depot->TypAnzahl() << " chord types, " << m_depot->Anzahl()
              << " grips -> " << path << "\n";
    if (!m_readFromBass.empty()) {
        std::cout << "  named so only from their bass (their notes spell a chord with more intervals):";
        for (const auto& [type, count] : m_readFromBass)
            std::cout << " " << count << " \"" << type << "\"";
        std::cout << "\n";
    }
    if (m_duplicates > 0)
        std::cout << "  " << m_duplicates << " duplicate grips skipped\n";
    if (m_misread > 0)
        std::cerr << "warning: " << m_misread
                  << " grips are not recognised from their bass as the chord they are filed under\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: zw_grifftabelle_erzeugen <source.txt> <output.cho>\n";
        return 2;
    }
    Generator generator;
    if (!generator.readSource(argv[1]) || !generator.save(argv[2])) {
        std::cerr << generator.error() << "\n";
        return EXIT_FAILURE;
    }
    generator.printSummary(argv[2]);
    return EXIT_SUCCESS;
}
