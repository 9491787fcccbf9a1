#include "theory/Zeichensatz.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows leaves undefined map to the C1 control
// of the same value, so every byte survives a round trip.
constexpr char32_t highControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t toCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return highControlRange[byte - 0x80];
    return byte;
}

int toByte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (highControlRange[i] == codePoint)
            return 0x80 + i;
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[pos]; advances pos. Returns -1 for malformed input.
std::int64_t decodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int continuation = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        continuation = 1;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation = 2;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation = 3;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return -1;
    }
    for (int i = 0; i < continuation; ++i) {
        if (pos >= text.size())
            return -1;
        const auto byte = static_cast<unsigned char>(text[pos++]);
        if ((byte & 0xC0) != 0x80)
            return -1;
        cp = (cp << 6) | (byte & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    return cp;
}

} // namespace

std::string cp1252ToUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() * 2);
    for (char c : cp1252)
        appendUtf8(out, toCodePoint(static_cast<unsigned char>(c)));
    return out;
}

bool utf8ToCp1252(std::string_view utf8, std::string& target)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::int64_t cp = decodeUtf8(utf8, pos);
        if (cp < 0)
            return false;
        const int byte = toByte(static_cast<char32_t>(cp));
        if (byte < 0)
            return false;
        out += static_cast<char>(byte);
    }
    target = std::move(out);
    return true;
}

bool cp1252CanHold(char32_t codePoint)
{
    return toByte(codePoint) >= 0;
}
