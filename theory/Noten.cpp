#include "theory/Noten.h"

#include <algorithm>
#include <cstring>

#include "theory/Grenzen.h"

namespace {

struct DefaultName
{
    const char* shortName;
    const char* longName;
};

constexpr DefaultName defaultNames[AnzahlNotenNamen] = {
    {"C", "C"}, {"C#", "C#/Db"}, {"D", "D"}, {"D#", "D#/Eb"}, {"E", "E"}, {"F", "F"}, {"F#", "F#/Gb"},
    {"G", "G"}, {"G#", "G#/Ab"}, {"A", "A"}, {"A#", "A#/B"},  {"H", "H"}, {"", ""},
};

template <std::size_t N> void copyName(char (&field)[N], std::string_view name)
{
    std::memset(field, 0, N);
    std::memcpy(field, name.data(), std::min(name.size(), N - 1));
}

} // namespace

NotenClass::NotenClass()
{
    StandardNamen();
}

void NotenClass::StandardNamen()
{
    for (int i = 0; i < AnzahlNotenNamen; ++i) {
        copyName(m_namen[i].Kurzname, defaultNames[i].shortName);
        copyName(m_namen[i].Langname, defaultNames[i].longName);
    }
}

void NotenClass::SetzeGeaendert(bool wert)
{
    m_geaendert = wert;
}

bool NotenClass::IstGeaendert() const
{
    return m_geaendert;
}

const char* NotenClass::TonName(int ton, bool kurz) const
{
    if (ton < 0 || ton >= AnzahlNotenNamen)
        return "";
    return kurz ? m_namen[ton].Kurzname : m_namen[ton].Langname;
}

void NotenClass::TonUmbenennen(int ton, std::string_view name, bool kurz)
{
    if (ton < 0 || ton >= AnzahlNotenNamen)
        return;
    if (kurz)
        copyName(m_namen[ton].Kurzname, name);
    else
        copyName(m_namen[ton].Langname, name);
    m_geaendert = true;
}

int NotenClass::Transponieren(int ton, int anzahl, bool aufwaerts)
{
    if (ton < 0 || ton >= KeinTon || anzahl <= 0)
        return ton;
    const int step = anzahl % 12;
    return aufwaerts ? (ton + step) % 12 : (ton + 12 - step) % 12;
}
