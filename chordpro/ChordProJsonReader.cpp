// The "chords" list of a ChordPro configuration file: a small JSON reader for that one shape, so the
// plain library (and the fuzzer, built without Qt) reads it too.
#include "chordpro/ChordProReader.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct JsonValue
{
    enum Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Null;
    std::string text;
    double number = 0;
    // An object's keys and their values side by side; an array's values.
    std::vector<std::string> keys;
    std::vector<JsonValue> items;
    int line = 1;
};

// Builds the tree as far as the text is valid; what came before an error stays in it.
class JsonParser
{
public:
    explicit JsonParser(std::string_view text) : m_text(text) {}

    bool parse(JsonValue& value)
    {
        if (!parseValue(value, 0))
            return false;
        skipBlanks();
        if (m_at != m_text.size())
            return fail("Text nach dem Ende des JSON-Objekts");
        return true;
    }
    int line() const { return m_line; }
    const std::string& error() const { return m_error; }

private:
    static constexpr int MaxDepth = 32;

    bool fail(const std::string& text)
    {
        if (m_error.empty())
            m_error = text;
        return false;
    }
    void skipBlanks()
    {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == '\n')
                ++m_line;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++m_at;
        }
    }
    bool literal(std::string_view word)
    {
        if (m_text.substr(m_at, word.size()) != word)
            return fail("ungültiges JSON");
        m_at += word.size();
        return true;
    }
    bool parseString(std::string& out)
    {
        ++m_at; // the opening quote
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"')
                return true;
            if (c == '\n')
                return fail("Zeilenende in einer Zeichenkette");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at >= m_text.size())
                break;
            const char e = m_text[m_at++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': case 'b': case 'f': break;
            case 'u': {
                if (m_at + 4 > m_text.size())
                    return fail("ungültiges \\u in einer Zeichenkette");
                const std::string hex(m_text.substr(m_at, 4));
                char* end = nullptr;
                const unsigned long code = std::strtoul(hex.c_str(), &end, 16);
                if (end != hex.c_str() + 4)
                    return fail("ungültiges \\u in einer Zeichenkette");
                m_at += 4;
                // Enough for chord names: the code points of the Basic Multilingual Plane as UTF-8.
                if (code < 0x80) {
                    out += static_cast<char>(code);
                } else if (code < 0x800) {
                    out += static_cast<char>(0xC0 | (code >> 6));
                    out += static_cast<char>(0x80 | (code & 0x3F));
                } else {
                    out += static_cast<char>(0xE0 | (code >> 12));
                    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                    out += static_cast<char>(0x80 | (code & 0x3F));
                }
                break;
            }
            default: out += e; break;
            }
        }
        return fail("Zeichenkette ohne Ende");
    }
    bool parseNumber(double& out)
    {
        const std::size_t begin = m_at;
        while (m_at < m_text.size() && (std::string_view("+-.eE0123456789").find(m_text[m_at]) !=
                                         std::string_view::npos))
            ++m_at;
        const std::string digits(m_text.substr(begin, m_at - begin));
        char* end = nullptr;
        out = std::strtod(digits.c_str(), &end);
        if (digits.empty() || end != digits.c_str() + digits.size() || !std::isfinite(out))
            return fail("ungültige Zahl");
        return true;
    }
    bool parseValue(JsonValue& value, int depth)
    {
        if (depth > MaxDepth)
            return fail("JSON zu tief verschachtelt");
        skipBlanks();
        value.line = m_line;
        if (m_at >= m_text.size())
            return fail("JSON endet vorzeitig");
        const char c = m_text[m_at];
        if (c == '{') {
            value.kind = JsonValue::Object;
            ++m_at;
            skipBlanks();
            if (m_at < m_text.size() && m_text[m_at] == '}') {
                ++m_at;
                return true;
            }
            while (true) {
                skipBlanks();
                if (m_at >= m_text.size() || m_text[m_at] != '"')
                    return fail("Feldname erwartet");
                value.keys.emplace_back();
                value.items.emplace_back();
                if (!parseString(value.keys.back()))
                    return false;
                skipBlanks();
                if (m_at >= m_text.size() || m_text[m_at] != ':')
                    return fail("„:“ erwartet");
                ++m_at;
                if (!parseValue(value.items.back(), depth + 1))
                    return false;
                skipBlanks();
                if (m_at < m_text.size() && m_text[m_at] == ',') {
                    ++m_at;
                    continue;
                }
                if (m_at < m_text.size() && m_text[m_at] == '}') {
                    ++m_at;
                    return true;
                }
                return fail("„,“ oder „}“ erwartet");
            }
        }
        if (c == '[') {
            value.kind = JsonValue::Array;
            ++m_at;
            skipBlanks();
            if (m_at < m_text.size() && m_text[m_at] == ']') {
                ++m_at;
                return true;
            }
            while (true) {
                value.items.emplace_back();
                if (!parseValue(value.items.back(), depth + 1))
                    return false;
                skipBlanks();
                if (m_at < m_text.size() && m_text[m_at] == ',') {
                    ++m_at;
                    continue;
                }
                if (m_at < m_text.size() && m_text[m_at] == ']') {
                    ++m_at;
                    return true;
                }
                return fail("„,“ oder „]“ erwartet");
            }
        }
        if (c == '"') {
            value.kind = JsonValue::String;
            return parseString(value.text);
        }
        if (c == 't' || c == 'f') {
            value.kind = JsonValue::Bool;
            value.number = c == 't' ? 1 : 0;
            return literal(c == 't' ? "true" : "false");
        }
        if (c == 'n')
            return literal("null");
        value.kind = JsonValue::Number;
        return parseNumber(value.number);
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1;
    std::string m_error;
};

bool wholeNumber(const JsonValue& value, int lowest, int highest, int& out)
{
    if (value.kind != JsonValue::Number || value.number != std::floor(value.number) || value.number < lowest ||
        value.number > highest)
        return false;
    out = static_cast<int>(value.number);
    return true;
}

// A fret or finger list; false with the reason.
bool readList(const JsonValue& list, bool frets, int* values, int& count, std::string& fehler)
{
    const char* what = frets ? "frets" : "fingers";
    if (list.kind != JsonValue::Array) {
        fehler = std::string(what) + " ist keine Liste";
        return false;
    }
    if (list.items.size() > static_cast<std::size_t>(MaxSaiten)) {
        fehler = "mehr als " + std::to_string(MaxSaiten) + (frets ? " Bünde" : " Finger") +
                 ": so viele Saiten hat kein Instrument";
        return false;
    }
    count = 0;
    for (const JsonValue& item : list.items) {
        int value = 0;
        bool ok = false;
        if (item.kind == JsonValue::String) {
            const std::string& t = item.text;
            ok = t == "x" || t == "X" || t == "N" || (!frets && (t == "-" || t == "0"));
            value = frets ? ChordProDefinition::Stumm : 0;
        } else if (frets) {
            ok = wholeNumber(item, -1, MaxBund, value);
        } else {
            ok = wholeNumber(item, -1, 4, value);
            value = std::max(value, 0);
        }
        if (!ok) {
            fehler = std::string(frets ? "Bund" : "Finger") + " ungültig an Stelle " + std::to_string(count + 1);
            return false;
        }
        values[count++] = value;
    }
    if (count == 0) {
        fehler = std::string(what) + " ohne Werte";
        return false;
    }
    return true;
}

void readChord(const JsonValue& chord, ChordProInhalt& inhalt)
{
    ChordProDefinition definition;
    definition.line = chord.line;
    if (chord.kind != JsonValue::Object) {
        inhalt.errors.push_back({chord.line, "Eintrag der Akkordliste ist kein Objekt"});
        return;
    }
    bool haveFrets = false;
    int fingerCount = 0;
    std::string fehler;
    for (std::size_t m = 0; m < chord.keys.size(); ++m) {
        const std::string& key = chord.keys[m];
        const JsonValue& value = chord.items[m];
        if (key == "name") {
            if (value.kind != JsonValue::String || value.text.empty()) {
                fehler = "name ist kein Text";
                break;
            }
            definition.name = value.text;
        } else if (key == "base") {
            if (!wholeNumber(value, 1, MaxBund, definition.baseFret)) {
                fehler = "base ungültig: 1 bis " + std::to_string(MaxBund);
                break;
            }
        } else if (key == "frets") {
            if (!readList(value, true, definition.frets, definition.saiten, fehler))
                break;
            haveFrets = true;
        } else if (key == "fingers") {
            if (!readList(value, false, definition.fingers, fingerCount, fehler))
                break;
            definition.hasFingers = true;
        } else {
            inhalt.errors.push_back({value.line, "unbekanntes Feld „" + key + "“ übergangen"});
        }
    }
    if (fehler.empty() && definition.name.empty())
        fehler = "Akkord ohne Namen";
    if (fehler.empty() && !haveFrets)
        fehler = "Akkord „" + definition.name + "“ ohne frets";
    if (fehler.empty() && definition.hasFingers && fingerCount != definition.saiten)
        fehler = std::to_string(fingerCount) + " Finger für " + std::to_string(definition.saiten) + " Saiten";
    for (int s = 0; fehler.empty() && s < definition.saiten; ++s) {
        if (definition.frets[s] > 0 && definition.frets[s] + definition.baseFret - 1 > MaxBund)
            fehler = "Bund " + std::to_string(definition.frets[s]) + " ab base " +
                     std::to_string(definition.baseFret) + " liegt über Bund " + std::to_string(MaxBund);
        if (definition.frets[s] <= 0)
            definition.fingers[s] = 0;
    }
    if (!fehler.empty()) {
        inhalt.errors.push_back({chord.line, fehler});
        return;
    }
    inhalt.definitions.push_back(definition);
}

} // namespace

void ChordProReader::readJson(std::string_view text, ChordProInhalt& inhalt)
{
    inhalt.json = true;
    JsonValue root;
    JsonParser parser(text);
    if (!parser.parse(root))
        inhalt.errors.push_back({parser.line(), parser.error()});
    if (root.kind != JsonValue::Object)
        return;
    for (std::size_t m = 0; m < root.keys.size(); ++m) {
        const JsonValue& value = root.items[m];
        if (root.keys[m] != "chords")
            continue;
        if (value.kind != JsonValue::Array) {
            inhalt.errors.push_back({value.line, "chords ist keine Liste"});
            continue;
        }
        for (const JsonValue& chord : value.items)
            readChord(chord, inhalt);
    }
}
