#include "table/Beiname.h"

#include <cstdint>
#include <cstdio>

namespace {

// A temporary name adds at most 24 bytes to the stem: 200 keep it below 255.
constexpr std::size_t longestStem = 200;
constexpr std::size_t cutStem = 160;

std::uint64_t fnv1a(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// Never cuts a UTF-8 sequence in two.
std::size_t characterStart(const std::string& text, std::size_t at)
{
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

} // namespace

std::string beinamenStamm(const std::string& dateiname)
{
    if (dateiname.size() <= longestStem)
        return dateiname;
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(fnv1a(dateiname)));
    return dateiname.substr(0, characterStart(dateiname, cutStem)) + "~" + hash;
}

std::string beiname(const std::string& dateiname, std::string_view endung)
{
    return "." + beinamenStamm(dateiname) + std::string(endung);
}
