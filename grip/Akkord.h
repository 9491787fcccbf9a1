#pragma once

#include "grip/AkkordDaten.h"
#include "theory/Stimm.h"

// One barré: a run of entries with the same fret and finger on adjacent strings.
struct BarreClass
{
    int Bund = 0;
    int TiefsteSaite = 0;
    int HoechsteSaite = 0;
    int Finger = 0;
};

// String states returned by SaitenStatus.
inline constexpr int SaiteGegriffen = 0;
inline constexpr int SaiteLeer = 1;
inline constexpr int SaiteStumm = 2;

// The grip on the fretboard: its record followed by the instrument's tuning.
class AkkordClass : public AkkordDatenClass, public StimmClass
{
public:
    AkkordClass();

    AkkordDatenClass& Daten() { return *this; }
    const AkkordDatenClass& Daten() const { return *this; }

    // No fingers, every string muted, no chord; the tuning is kept.
    void Loeschen();
    int PunktAnzahl() const { return AkkordDatenClass::PunktAnzahl; }
    // Entry i in sorted order; a zero entry outside 0..PunktAnzahl-1.
    FingerPunktClass Punkt(int i) const;
    int FingerBei(int bund, int saite) const;
    // -1 when 12 entries are held or the spot lies off the instrument (a string above the tuning's
    // count, a fret outside 1..30), else the new entry count.
    int FingerSetzen(int bund, int saite, int finger, bool ohneSortieren = false);
    void FingerEntfernen(int bund, int saite, bool ohneSortieren = false);
    // The finger the entry had, -1 when there is no entry at that spot.
    int FingerAendern(int bund, int saite, int finger);
    void Sortieren();
    int TiefsterBund() const { return TiefsterBundVon(*this); }
    int HoechsterBund() const;
    // Whether moving the grip so that its lowest fret becomes bund keeps every entry within 1..30.
    bool VerschiebenMoeglich(int bund) const;
    // Drops the entries and open flags of strings the tuning does not have.
    void FremdeSaitenEntfernen();
    void AkkordSetzen(int grundton, int akkordTyp);
    void LeerSetzen(int saite, bool leer);
    int SaitenStatus(int saite) const;
    void LeerBereinigen();
    // Whether no string is fretted and every string is open (leer) or every one muted.
    bool AlleSaiten(bool leer) const;
    // The note string s sounds, 12 when it is silent.
    int KlingenderTon(int saite) const;
    // Number of barrés; for n >= 1 also fills barré n (1-based) when there is one.
    int Barre(int n, BarreClass* barre = nullptr) const;

private:
    int indexAt(int bund, int saite) const;
};
