#include "table/FingersatzSuche.h"

#include <cstring>

#include "table/AkkordDepot.h"

namespace {

constexpr std::uint64_t mutedCode = 63;

bool sameFingers(const AkkordDatenClass& a, const AkkordDatenClass& b)
{
    return a.PunktAnzahl == b.PunktAnzahl && a.PunktAnzahl >= 0 && a.PunktAnzahl <= MaxPunkte &&
           std::memcmp(a.Punkte, b.Punkte,
                       sizeof(FingerPunktClass) * static_cast<std::size_t>(a.PunktAnzahl)) == 0;
}

bool sameFingeringSeen(const AkkordDatenClass& a, const AkkordDatenClass& b)
{
    return a.PunktAnzahl == b.PunktAnzahl && std::memcmp(a.Punkte, b.Punkte, sizeof a.Punkte) == 0 &&
           std::memcmp(a.Leer, b.Leer, sizeof a.Leer) == 0;
}

} // namespace

std::uint64_t FingersatzSucheClass::Klangbild(const AkkordDatenClass& griff, int saiten)
{
    int highest[MaxSaiten] = {};
    const int entries =
        griff.PunktAnzahl < 0 ? 0 : (griff.PunktAnzahl > MaxPunkte ? MaxPunkte : griff.PunktAnzahl);
    for (int i = 0; i < entries; ++i) {
        const FingerPunktClass& p = griff.Punkte[i];
        if (p.Saite >= 1 && p.Saite <= MaxSaiten && p.Bund > highest[p.Saite - 1])
            highest[p.Saite - 1] = p.Bund;
    }
    std::uint64_t bild = 0;
    for (int s = 1; s <= saiten && s <= MaxSaiten; ++s) {
        std::uint64_t code = static_cast<std::uint64_t>(highest[s - 1] & 0x3F);
        if (highest[s - 1] == 0 && griff.Leer[s - 1] == 0)
            code = mutedCode;
        bild |= code << (6 * (s - 1));
    }
    return bild;
}

bool FingersatzSucheClass::GleicherFingersatz(const AkkordDatenClass& a, const AkkordDatenClass& b,
                                              int saiten)
{
    return Klangbild(a, saiten) == Klangbild(b, saiten);
}

int FingersatzSucheClass::Suchen(const AkkordDepotClass& depot)
{
    const AkkordDatenClass& current = depot.Daten();
    const int saiten = depot.SaitenAnzahl();
    const std::uint64_t wanted = Klangbild(current, saiten);
    // 0: same positions, 1: and the same fingers, 2: and the grip's chord, 3: both
    int best = -1;
    int bestScore = -1;
    for (int i = 0; i < depot.Anzahl(); ++i) {
        const AkkordDatenClass& stored = depot.Element(i);
        if (Klangbild(stored, saiten) != wanted)
            continue;
        const bool sameChord = stored.Grundton == current.Grundton && stored.AkkordTyp == current.AkkordTyp;
        const int score = (sameChord ? 2 : 0) + (sameFingers(stored, current) ? 1 : 0);
        if (score > bestScore) {
            best = i;
            bestScore = score;
            if (score == 3)
                break;
        }
    }
    return best;
}

int FingersatzSucheClass::Uebernehmen(AkkordDepotClass& depot)
{
    AkkordDatenClass& current = depot.Daten();
    const bool changed = !m_gesehen || !sameFingeringSeen(current, m_zuletzt);
    m_zuletzt = current;
    m_gesehen = true;
    if (!changed && current.Grundton != KeinTon)
        return -1;
    const int index = Suchen(depot);
    if (index < 0)
        return -1;
    const AkkordDatenClass& stored = depot.Element(index);
    depot.AkkordSetzen(stored.Grundton, stored.AkkordTyp);
    depot.LeerBereinigen();
    m_zuletzt = current;
    return index;
}
