#include "theory/Stimm.h"

#include <istream>
#include <ostream>
#include <utility>

namespace {

constexpr StimmSaiteClass defaultTuning[MaxSaiten] = {
    {4, {}, -1}, {9, {}, -1}, {2, {}, 0}, {7, {}, 0}, {11, {}, 0}, {4, {}, 1},
};

// A name field read from a file must end within its bytes; the last byte is forced to zero either way.
template <std::size_t N> bool terminate(char (&field)[N])
{
    bool terminated = false;
    for (char c : field)
        terminated = terminated || c == '\0';
    field[N - 1] = '\0';
    return terminated;
}

} // namespace

StimmClass::StimmClass()
{
    Standardstimmung();
}

void StimmClass::SetzeGeaendert(bool wert)
{
    NotenClass::SetzeGeaendert(wert);
    m_geaendert = wert;
}

bool StimmClass::IstGeaendert() const
{
    return m_geaendert || NotenClass::IstGeaendert();
}

void StimmClass::Standardstimmung()
{
    for (int i = 0; i < MaxSaiten; ++i)
        m_saiten[i] = defaultTuning[i];
    m_anzahl = MaxSaiten;
}

int StimmClass::SaiteLesen(int n, StimmSaiteClass* saite) const
{
    if (n < 1 || n > m_anzahl)
        return KeinTon;
    if (saite)
        *saite = m_saiten[n - 1];
    return m_saiten[n - 1].Ton;
}

void StimmClass::SaiteSetzen(int n, const StimmSaiteClass& saite)
{
    if (n < 1 || n > m_anzahl)
        return;
    m_saiten[n - 1] = saite;
    m_saiten[n - 1].Ton = static_cast<std::uint8_t>(saite.Ton % 12);
    m_saiten[n - 1].Fuellung[0] = m_saiten[n - 1].Fuellung[1] = m_saiten[n - 1].Fuellung[2] = 0;
}

bool StimmClass::SaiteZufuegen()
{
    if (m_anzahl >= MaxSaiten)
        return false;
    m_saiten[m_anzahl] = StimmSaiteClass{};
    ++m_anzahl;
    return true;
}

bool StimmClass::SaiteEntfernen(int position)
{
    if (position < 0 || position >= m_anzahl)
        return false;
    for (int i = position; i + 1 < m_anzahl; ++i)
        m_saiten[i] = m_saiten[i + 1];
    --m_anzahl;
    return true;
}

bool StimmClass::SaitenTauschen(int a, int b)
{
    if (a < 0 || b < 0 || a >= MaxSaiten || b >= MaxSaiten)
        return false;
    std::swap(m_saiten[a], m_saiten[b]);
    m_geaendert = true;
    return true;
}

std::string StimmClass::AlsText() const
{
    std::string text;
    for (int i = 0; i < m_anzahl; ++i) {
        if (i > 0)
            text += '-';
        text += TonName(m_saiten[i].Ton, true);
    }
    return text;
}

std::string StimmClass::SaitenBezeichnung(int n) const
{
    StimmSaiteClass saite;
    if (SaiteLesen(n, &saite) == KeinTon)
        return "";
    std::string label = TonName(saite.Ton, true);
    if (saite.Oktave > 0)
        label += " +" + std::to_string(saite.Oktave);
    else if (saite.Oktave < 0)
        label += " " + std::to_string(saite.Oktave);
    return label;
}

bool StimmClass::Einlesen(std::istream& in)
{
    m_anzahl = 0;
    NotenNameClass* names = NamenTabelle();
    bool ok = readBlock(in, names, sizeof(NotenNameClass), AnzahlNotenNamen);
    for (int i = 0; i < AnzahlNotenNamen; ++i) {
        ok = terminate(names[i].Kurzname) && ok;
        ok = terminate(names[i].Langname) && ok;
    }
    std::int32_t count = 0;
    if (!ok || !readBlock(in, &count, sizeof count) || count < 0 || count > MaxSaiten) {
        Standardstimmung();
        return false;
    }
    if (count == 0) {
        Standardstimmung();
        return true;
    }
    StimmSaiteClass strings[MaxSaiten];
    if (!readBlock(in, strings, sizeof(StimmSaiteClass), static_cast<std::size_t>(count))) {
        Standardstimmung();
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (strings[i].Ton >= KeinTon) {
            Standardstimmung();
            return false;
        }
        strings[i].Fuellung[0] = strings[i].Fuellung[1] = strings[i].Fuellung[2] = 0;
        m_saiten[i] = strings[i];
    }
    m_anzahl = count;
    return true;
}

bool StimmClass::Schreiben(std::ostream& out)
{
    return writeBlock(out, &m_anzahl, sizeof m_anzahl) &&
           writeBlock(out, m_saiten, sizeof(StimmSaiteClass), static_cast<std::size_t>(m_anzahl));
}
