#include "table/FingersatzSuche.h"

#include <cstring>

#include "table/AkkordDepot.h"

namespace {

bool fretted(const AkkordDatenClass& griff, int saite)
{
    for (int i = 0; i < griff.PunktAnzahl; ++i) {
        if (griff.Punkte[i].Saite == saite)
            return true;
    }
    return false;
}

bool sameEntries(const AkkordDatenClass& a, const AkkordDatenClass& b)
{
    if (a.PunktAnzahl != b.PunktAnzahl || a.PunktAnzahl < 0 || a.PunktAnzahl > MaxPunkte)
        return false;
    // Both lists are kept sorted by fret, string and finger, so equal fingerings list equal entries.
    for (int i = 0; i < a.PunktAnzahl; ++i) {
        const FingerPunktClass& p = a.Punkte[i];
        const FingerPunktClass& q = b.Punkte[i];
        if (p.Bund != q.Bund || p.Saite != q.Saite || p.Finger != q.Finger)
            return false;
    }
    return true;
}

bool sameFingeringSeen(const AkkordDatenClass& a, const AkkordDatenClass& b)
{
    return a.PunktAnzahl == b.PunktAnzahl && std::memcmp(a.Punkte, b.Punkte, sizeof a.Punkte) == 0 &&
           std::memcmp(a.Leer, b.Leer, sizeof a.Leer) == 0;
}

} // namespace

bool FingersatzSucheClass::GleicherFingersatz(const AkkordDatenClass& a, const AkkordDatenClass& b,
                                              int saiten)
{
    if (!sameEntries(a, b))
        return false;
    for (int s = 1; s <= saiten && s <= MaxSaiten; ++s) {
        if ((a.Leer[s - 1] != 0) != (b.Leer[s - 1] != 0) && !fretted(a, s))
            return false;
    }
    return true;
}

int FingersatzSucheClass::Suchen(const AkkordDepotClass& depot)
{
    const AkkordDatenClass& current = depot.Daten();
    const int saiten = depot.SaitenAnzahl();
    int first = -1;
    for (int i = 0; i < depot.Anzahl(); ++i) {
        const AkkordDatenClass& stored = depot.Element(i);
        if (stored.PunktAnzahl != current.PunktAnzahl || !GleicherFingersatz(current, stored, saiten))
            continue;
        if (stored.Grundton == current.Grundton && stored.AkkordTyp == current.AkkordTyp)
            return i;
        if (first < 0)
            first = i;
    }
    return first;
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
