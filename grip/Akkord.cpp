#include "grip/Akkord.h"

#include <algorithm>
#include <cstring>

namespace {

int sortKey(const FingerPunktClass& p)
{
    return p.Bund * 100 + p.Saite * 10 + p.Finger;
}

} // namespace

AkkordClass::AkkordClass()
{
    Loeschen();
}

void AkkordClass::Loeschen()
{
    static_cast<AkkordDatenClass&>(*this) = AkkordDatenClass{};
}

FingerPunktClass AkkordClass::Punkt(int i) const
{
    if (i < 0 || i >= PunktAnzahl())
        return FingerPunktClass{};
    return Punkte[i];
}

int AkkordClass::indexAt(int bund, int saite) const
{
    for (int i = 0; i < PunktAnzahl(); ++i) {
        if (Punkte[i].Bund == bund && Punkte[i].Saite == saite)
            return i;
    }
    return -1;
}

int AkkordClass::FingerBei(int bund, int saite) const
{
    const int i = indexAt(bund, saite);
    return i < 0 ? -1 : Punkte[i].Finger;
}

int AkkordClass::FingerSetzen(int bund, int saite, int finger, bool ohneSortieren)
{
    int& count = AkkordDatenClass::PunktAnzahl;
    if (count >= MaxPunkte || saite < 1 || saite > SaitenAnzahl() || bund < 1 || bund > MaxBund)
        return -1;
    FingerPunktClass entry;
    entry.Bund = bund;
    entry.Saite = saite;
    entry.Finger = finger;
    Punkte[count] = entry;
    ++count;
    if (!ohneSortieren)
        Sortieren();
    return count;
}

void AkkordClass::FingerEntfernen(int bund, int saite, bool ohneSortieren)
{
    const int i = indexAt(bund, saite);
    if (i < 0)
        return;
    int& count = AkkordDatenClass::PunktAnzahl;
    // The slot behind the last used one is always zero, so shifting it down clears the vacated slot.
    for (int k = i; k < count; ++k)
        Punkte[k] = Punkte[k + 1];
    --count;
    if (!ohneSortieren)
        Sortieren();
}

int AkkordClass::FingerAendern(int bund, int saite, int finger)
{
    const int i = indexAt(bund, saite);
    if (i < 0)
        return -1;
    const int previous = Punkte[i].Finger;
    Punkte[i].Finger = finger;
    return previous;
}

void AkkordClass::Sortieren()
{
    // Insertion sort: no two entries share a key, so any sort gives the same order.
    for (int i = 1; i < PunktAnzahl(); ++i) {
        const FingerPunktClass entry = Punkte[i];
        int k = i;
        while (k > 0 && sortKey(Punkte[k - 1]) > sortKey(entry)) {
            Punkte[k] = Punkte[k - 1];
            --k;
        }
        Punkte[k] = entry;
    }
}

void AkkordClass::AkkordSetzen(int grundton, int akkordTyp)
{
    Grundton = static_cast<std::uint8_t>(grundton);
    AkkordTyp = akkordTyp;
}

int AkkordClass::HoechsterBund() const
{
    int highest = 0;
    for (int i = 0; i < PunktAnzahl(); ++i)
        highest = std::max(highest, Punkte[i].Bund);
    return highest;
}

bool AkkordClass::VerschiebenMoeglich(int bund) const
{
    if (PunktAnzahl() == 0)
        return bund >= 1 && bund <= MaxBund;
    const int shift = bund - TiefsterBund();
    return TiefsterBund() + shift >= 1 && HoechsterBund() + shift <= MaxBund;
}

void AkkordClass::FremdeSaitenEntfernen()
{
    for (int i = PunktAnzahl() - 1; i >= 0; --i) {
        if (Punkte[i].Saite > SaitenAnzahl())
            FingerEntfernen(Punkte[i].Bund, Punkte[i].Saite, true);
    }
    for (int s = SaitenAnzahl() + 1; s <= MaxSaiten; ++s)
        Leer[s - 1] = 0;
    Sortieren();
}

void AkkordClass::LeerSetzen(int saite, bool leer)
{
    if (saite >= 1 && saite <= MaxSaiten)
        Leer[saite - 1] = leer ? 1 : 0;
}

int AkkordClass::SaitenStatus(int saite) const
{
    for (int i = 0; i < PunktAnzahl(); ++i) {
        if (Punkte[i].Saite == saite)
            return SaiteGegriffen;
    }
    if (saite >= 1 && saite <= MaxSaiten && Leer[saite - 1] != 0)
        return SaiteLeer;
    return SaiteStumm;
}

void AkkordClass::LeerBereinigen()
{
    for (int i = 0; i < PunktAnzahl(); ++i) {
        const int saite = Punkte[i].Saite;
        if (saite >= 1 && saite <= MaxSaiten)
            Leer[saite - 1] = 0;
    }
}

bool AkkordClass::AlleSaiten(bool leer) const
{
    const int wanted = leer ? SaiteLeer : SaiteStumm;
    for (int s = 1; s <= SaitenAnzahl(); ++s) {
        if (SaitenStatus(s) != wanted)
            return false;
    }
    return true;
}

int AkkordClass::KlingenderTon(int saite) const
{
    int highest = 0;
    for (int i = 0; i < PunktAnzahl(); ++i) {
        if (Punkte[i].Saite == saite && Punkte[i].Bund > highest)
            highest = Punkte[i].Bund;
    }
    const int open = SaiteLesen(saite);
    if (highest > 0)
        return Transponieren(open, highest, true);
    if (saite >= 1 && saite <= MaxSaiten && Leer[saite - 1] != 0)
        return open;
    return KeinTon;
}

int AkkordClass::Barre(int n, BarreClass* barre) const
{
    const int count = PunktAnzahl();
    int number[MaxPunkte] = {};
    int barres = 0;
    for (int j = 0; j < count; ++j) {
        if (number[j] != 0)
            continue;
        int below = 1;
        int above = 1;
        int members = 0;
        bool joined = true;
        while (joined) {
            joined = false;
            for (int i = j + 1; i < count; ++i) {
                if (number[i] != 0 || Punkte[i].Bund != Punkte[j].Bund ||
                    Punkte[i].Finger != Punkte[j].Finger)
                    continue;
                if (Punkte[i].Saite == Punkte[j].Saite - below) {
                    ++below;
                } else if (Punkte[i].Saite == Punkte[j].Saite + above) {
                    ++above;
                } else {
                    continue;
                }
                number[i] = barres + 1;
                if (members == 0)
                    number[j] = barres + 1;
                ++members;
                joined = true;
            }
        }
        if (members > 0)
            ++barres;
    }
    if (n <= 0 || barres == 0 || !barre)
        return barres;
    bool found = false;
    BarreClass result;
    result.TiefsteSaite = 7;
    for (int i = 0; i < count; ++i) {
        if (number[i] != n)
            continue;
        if (!found)
            result.Bund = Punkte[i].Bund;
        found = true;
        if (Punkte[i].Saite < result.TiefsteSaite)
            result.TiefsteSaite = Punkte[i].Saite;
        if (Punkte[i].Saite > result.HoechsteSaite)
            result.HoechsteSaite = Punkte[i].Saite;
        result.Finger = Punkte[i].Finger;
    }
    if (found)
        *barre = result;
    return barres;
}
