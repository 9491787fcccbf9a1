#include "chordpro/ChordProReader.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string lower(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

// Next blank-separated word; empty at the end.
std::string_view nextWord(std::string_view& rest)
{
    rest = trimmed(rest);
    std::size_t end = 0;
    while (end < rest.size() && !isBlank(rest[end]))
        ++end;
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

bool number(std::string_view word, int& value)
{
    if (word.empty() || word.size() > 4)
        return false;
    const char* end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

std::string quoted(std::string_view text)
{
    constexpr std::size_t shown = 40;
    std::string result = "„" + std::string(text.substr(0, shown));
    if (text.size() > shown)
        result += "...";
    return result + "“";
}

bool isKeyword(const std::string& word)
{
    return word == "base-fret" || word == "frets" || word == "fingers";
}

// The fret words of a definition: muted, open or a fret 1..MaxBund.
bool fretWord(std::string_view word, int& fret)
{
    if (word == "x" || word == "X" || word == "-1" || word == "N" || word == "n") {
        fret = ChordProDefinition::Stumm;
        return true;
    }
    return number(word, fret) && fret >= 0 && fret <= MaxBund;
}

bool fingerWord(std::string_view word, int& finger)
{
    if (word == "-" || word == "x" || word == "X" || word == "0" || word == "N") {
        finger = 0;
        return true;
    }
    return number(word, finger) && finger >= 1 && finger <= 4;
}

// The part of a {define} after its directive name. False with the reason in fehler.
bool parseDefinition(std::string_view rest, int line, ChordProDefinition& definition, std::string& fehler)
{
    definition = ChordProDefinition();
    definition.line = line;
    rest = trimmed(rest);
    if (!rest.empty() && rest.front() == ':')
        rest.remove_prefix(1);
    std::string_view name = nextWord(rest);
    if (!name.empty() && name.back() == ':')
        name.remove_suffix(1);
    if (name.empty()) {
        fehler = "Akkord ohne Namen";
        return false;
    }
    definition.name = std::string(name);
    bool haveFrets = false;
    bool haveBase = false;
    int fingerCount = 0;
    std::string_view word = nextWord(rest);
    while (!word.empty()) {
        const std::string keyword = lower(word);
        if (keyword == "base-fret") {
            if (haveBase) {
                fehler = "base-fret zweimal angegeben";
                return false;
            }
            haveBase = true;
            const std::string_view value = nextWord(rest);
            if (!number(value, definition.baseFret) || definition.baseFret < 1 ||
                definition.baseFret > MaxBund) {
                fehler = "base-fret " + quoted(value) + " ungültig: 1 bis " + std::to_string(MaxBund);
                return false;
            }
            word = nextWord(rest);
        } else if (keyword == "frets" || keyword == "fingers") {
            const bool frets = keyword == "frets";
            if ((frets && haveFrets) || (!frets && definition.hasFingers)) {
                fehler = keyword + " zweimal angegeben";
                return false;
            }
            int count = 0;
            word = nextWord(rest);
            while (!word.empty() && !isKeyword(lower(word))) {
                if (count >= MaxSaiten) {
                    fehler = "mehr als " + std::to_string(MaxSaiten) + (frets ? " Bünde" : " Finger") +
                             ": so viele Saiten hat kein Instrument";
                    return false;
                }
                int value = 0;
                if (frets ? !fretWord(word, value) : !fingerWord(word, value)) {
                    fehler = (frets ? "Bund " : "Finger ") + quoted(word) + " ungültig" +
                             (frets ? ": x, 0 bis " + std::to_string(MaxBund) : std::string(": 0 bis 4, - oder x"));
                    return false;
                }
                (frets ? definition.frets : definition.fingers)[count++] = value;
                word = nextWord(rest);
            }
            if (count == 0) {
                fehler = keyword + " ohne Werte";
                return false;
            }
            if (frets) {
                haveFrets = true;
                definition.saiten = count;
            } else {
                definition.hasFingers = true;
                fingerCount = count;
            }
        } else {
            fehler = "unbekanntes Wort " + quoted(word);
            return false;
        }
    }
    if (!haveFrets) {
        fehler = "Akkord " + quoted(definition.name) + " ohne frets";
        return false;
    }
    if (definition.hasFingers && fingerCount != definition.saiten) {
        fehler = std::to_string(fingerCount) + " Finger für " + std::to_string(definition.saiten) + " Saiten";
        return false;
    }
    for (int s = 0; s < definition.saiten; ++s) {
        const int fret = definition.frets[s];
        if (fret > 0 && fret + definition.baseFret - 1 > MaxBund) {
            fehler = "Bund " + std::to_string(fret) + " ab base-fret " + std::to_string(definition.baseFret) +
                     " liegt über Bund " + std::to_string(MaxBund);
            return false;
        }
        if (definition.hasFingers && fret <= 0)
            definition.fingers[s] = 0;
    }
    return true;
}

void addChord(ChordProInhalt& inhalt, std::string_view name, int line)
{
    const std::string chord(trimmed(name));
    if (chord.empty() || chord.front() == '*')
        return;
    if (std::find(inhalt.chords.begin(), inhalt.chords.end(), chord) != inhalt.chords.end())
        return;
    inhalt.chords.push_back(chord);
    inhalt.chordLines.push_back(line);
}

// A lyrics line: its [chords]; false when it holds none.
bool readLyrics(std::string_view text, int line, ChordProInhalt& inhalt)
{
    bool found = false;
    std::size_t open = text.find('[');
    while (open != std::string_view::npos) {
        const std::size_t close = text.find(']', open + 1);
        if (close == std::string_view::npos)
            break;
        addChord(inhalt, text.substr(open + 1, close - open - 1), line);
        found = true;
        open = text.find('[', close + 1);
    }
    return found;
}

void readDirective(std::string_view body, int line, ChordProInhalt& inhalt)
{
    ++inhalt.directives;
    std::size_t end = 0;
    while (end < body.size() && body[end] != ':' && !isBlank(body[end]))
        ++end;
    const std::string directive = lower(body.substr(0, end));
    std::string_view rest = body.substr(end);
    if (directive == "define" || directive == "chord") {
        ChordProDefinition definition;
        std::string fehler;
        if (parseDefinition(rest, line, definition, fehler))
            inhalt.definitions.push_back(definition);
        else
            inhalt.errors.push_back({line, fehler});
    } else if (directive == "title" || directive == "t") {
        rest = trimmed(rest);
        if (!rest.empty() && rest.front() == ':')
            rest.remove_prefix(1);
        if (inhalt.title.empty())
            inhalt.title = std::string(trimmed(rest));
    } else if (directive.empty()) {
        inhalt.errors.push_back({line, "leere Direktive"});
    }
}

std::string_view firstNonBlank(std::string_view text, std::size_t& at)
{
    at = 0;
    while (at < text.size() && (isBlank(text[at]) || text[at] == '\n'))
        ++at;
    return text.substr(at);
}

} // namespace

ChordProInhalt ChordProReader::read(std::string_view text, bool song)
{
    ChordProInhalt inhalt;
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::size_t at = 0;
    const std::string_view start = firstNonBlank(text, at);
    if (start.size() > 1 && start.front() == '{') {
        std::size_t next = 0;
        const std::string_view inner = firstNonBlank(start.substr(1), next);
        if (!inner.empty() && (inner.front() == '"' || inner.front() == '}')) {
            readJson(text, inhalt);
            return inhalt;
        }
    }
    int line = 0;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos)
            end = text.size();
        ++line;
        const std::string_view row = trimmed(text.substr(begin, end - begin));
        begin = end + 1;
        if (row.empty() || row.front() == '#')
            continue;
        if (row.front() == '{') {
            if (row.back() != '}') {
                inhalt.errors.push_back({line, "Direktive ohne schließende Klammer }"});
                continue;
            }
            readDirective(trimmed(row.substr(1, row.size() - 2)), line, inhalt);
            continue;
        }
        if (readLyrics(row, line, inhalt)) {
            ++inhalt.lyricLines;
            continue;
        }
        ++inhalt.otherLines;
        if (!song)
            inhalt.errors.push_back({line, "keine Direktive: " + quoted(row)});
    }
    return inhalt;
}

bool ChordProReader::looksLikeChordPro(std::string_view text)
{
    // A chord table begins with its binary identifier, never with text like this.
    text = text.substr(0, std::min<std::size_t>(text.size(), 64 * 1024));
    for (const char c : text) {
        if (c == '\0')
            return false;
    }
    const ChordProInhalt inhalt = read(text, true);
    if (inhalt.json)
        return !inhalt.definitions.empty() || inhalt.errors.empty();
    return inhalt.directives > 0 || inhalt.lyricLines > 0;
}

bool ChordProReader::looksLikeSong(std::string_view text)
{
    const ChordProInhalt inhalt = read(text, true);
    return !inhalt.json && (inhalt.lyricLines > 0 || !inhalt.title.empty());
}
