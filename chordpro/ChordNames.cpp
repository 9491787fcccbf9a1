#include "chordpro/ChordNames.h"

#include <cstring>

#include "erkennung/Erkennung.h"
#include "theory/Zeichensatz.h"

namespace {

constexpr const char* internationalNames[12] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};

// Spellings songbooks use for the chord types of the default catalogue; used only when the catalogue
// has the target type and no type of the suffix's own name.
struct Alias
{
    const char* written;
    const char* type;
};
constexpr Alias aliases[] = {
    {"maj", ""},         {"M", ""},          {"min", "m"},        {"mi", "m"},         {"-", "m"},
    {"M7", "maj7"},      {"Maj7", "maj7"},   {"ma7", "maj7"},     {"j7", "maj7"},      {"Δ", "maj7"},
    {"aug", "+"},        {"#5", "+"},        {"(#5)", "+"},       {"+5", "+"},         {"sus", "sus4"},
    {"4", "sus4"},       {"2", "sus2"},      {"o", "dim"},        {"°", "dim"},        {"o7", "dim7"},
    {"°7", "dim7"},      {"ø", "m7b5"},      {"m7-5", "m7b5"},    {"m7(b5)", "m7b5"},  {"min7", "m7"},
    {"-7", "m7"},        {"mi7", "m7"},      {"7+", "7#5"},       {"+7", "7#5"},       {"aug7", "7#5"},
    {"7(#5)", "7#5"},    {"7-9", "7b9"},     {"7(b9)", "7b9"},    {"7(9-)", "7b9"},    {"7(#9)", "7#9"},
    {"7(9+)", "7#9"},    {"7+9", "7#9"},     {"7(b5)", "7b5"},    {"7-5", "7b5"},      {"mmaj7", "m(maj7)"},
    {"m(ma7)", "m(maj7)"}, {"mM7", "m(maj7)"}, {"madd9", "m(add9)"}, {"add2", "add9"},  {"2", "add9"},
    {"sus9", "9sus4"},   {"9sus", "9sus4"},  {"7sus", "7sus4"},   {"7sus2", "7sus4"},  {"maj9", "maj9"},
    {"69", "6/9"},       {"6add9", "6/9"},   {"m7(9)", "m9"},     {"maj7(#11)", "maj7#11"},
    {"7(#11)", "7#11"},  {"dim5", "dim"},    {"m6", "m6"},
};

} // namespace

std::string ChordNames::noteName(int ton, Tonnamen tonnamen, const ErkennungClass* katalog)
{
    if (ton < 0 || ton > 11)
        return std::string();
    if (tonnamen == Tonnamen::Tabelle && katalog)
        return cp1252ToUtf8(katalog->TonName(ton, true));
    return internationalNames[ton];
}

std::string ChordNames::name(int grundton, int typ, int bass, Tonnamen tonnamen) const
{
    if (grundton < 0 || grundton > 11 || typ < 0 || typ >= m_katalog.TypAnzahl())
        return std::string();
    std::string result = noteName(grundton, tonnamen, &m_katalog) + cp1252ToUtf8(m_katalog.TypName(typ));
    if (bass >= 0 && bass <= 11 && bass != grundton)
        result += "/" + noteName(bass, tonnamen, &m_katalog);
    return result;
}

int ChordNames::note(std::string_view text, std::size_t& length) const
{
    length = 0;
    if (text.empty())
        return -1;
    // The table's own names first, the longest that fits ("C#" before "C").
    int best = -1;
    for (int ton = 0; ton < 12; ++ton) {
        const std::string own = cp1252ToUtf8(m_katalog.TonName(ton, true));
        if (!own.empty() && own.size() > length && text.substr(0, own.size()) == own) {
            best = ton;
            length = own.size();
        }
    }
    static constexpr int letters[] = {9, 11, 0, 2, 4, 5, 7, 11}; // A B C D E F G H
    const char first = text.front();
    if (first < 'A' || first > 'H')
        return best;
    int ton = letters[first - 'A'];
    std::size_t used = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        ton = (ton + (text[1] == '#' ? 1 : 11)) % 12;
        used = 2;
    }
    if (used >= length || best < 0) {
        best = ton;
        length = used;
    }
    return best;
}

int ChordNames::typeOf(std::string_view suffix) const
{
    std::string cp1252;
    if (utf8ToCp1252(suffix, cp1252)) {
        for (int typ = 0; typ < m_katalog.TypAnzahl(); ++typ) {
            if (cp1252 == m_katalog.TypName(typ))
                return typ;
        }
    }
    for (const Alias& alias : aliases) {
        if (suffix != alias.written)
            continue;
        for (int typ = 0; typ < m_katalog.TypAnzahl(); ++typ) {
            if (std::strcmp(alias.type, m_katalog.TypName(typ)) == 0)
                return typ;
        }
    }
    return -1;
}

bool ChordNames::parse(std::string_view text, GelesenerAkkord& akkord) const
{
    akkord = GelesenerAkkord();
    std::size_t length = 0;
    akkord.grundton = note(text, length);
    if (akkord.grundton < 0)
        return false;
    const std::string_view suffix = text.substr(length);
    akkord.suffix = std::string(suffix);
    akkord.typ = typeOf(suffix);
    if (akkord.typ >= 0)
        return true;
    // A slash bass, unless the slash belongs to the type ("6/9").
    const std::size_t slash = suffix.rfind('/');
    if (slash == std::string_view::npos)
        return false;
    std::size_t bassLength = 0;
    const int bass = note(suffix.substr(slash + 1), bassLength);
    if (bass < 0 || slash + 1 + bassLength != suffix.size())
        return false;
    akkord.bass = bass;
    akkord.typ = typeOf(suffix.substr(0, slash));
    return akkord.typ >= 0;
}

std::string ChordNames::transpose(std::string_view text, int halbtoene, Tonnamen tonnamen) const
{
    std::size_t length = 0;
    const int root = note(text, length);
    if (root < 0)
        return std::string(text);
    const int shift = ((halbtoene % 12) + 12) % 12;
    std::string rest(text.substr(length));
    const std::size_t slash = rest.rfind('/');
    if (slash != std::string::npos) {
        std::size_t bassLength = 0;
        const int bass = note(std::string_view(rest).substr(slash + 1), bassLength);
        if (bass >= 0 && slash + 1 + bassLength == rest.size())
            rest = rest.substr(0, slash + 1) + noteName((bass + shift) % 12, tonnamen, &m_katalog);
    }
    return noteName((root + shift) % 12, tonnamen, &m_katalog) + rest;
}
