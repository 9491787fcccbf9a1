#include "table/GriffPruefen.h"

namespace {

// A range store can shift a grip that spans the whole editable neck up to fret 30; files of earlier
// versions may hold such grips, so the reader accepts them.
constexpr int maxStoredFret = 2 * MaxBund;

} // namespace

PruefErgebnis griffPruefen(const AkkordDatenClass& griff, int typeCount)
{
    if (griff.Grundton > KeinTon)
        return PruefGrundton;
    if (griff.AkkordTyp < 0 || griff.AkkordTyp >= typeCount)
        return PruefAkkordtyp;
    if (griff.PunktAnzahl < 0 || griff.PunktAnzahl > MaxPunkte)
        return PruefPunktanzahl;
    for (int i = 0; i < griff.PunktAnzahl; ++i) {
        const FingerPunktClass& p = griff.Punkte[i];
        if (p.Saite < 1 || p.Saite > MaxSaiten)
            return PruefSaite;
        if (p.Bund < 1 || p.Bund > maxStoredFret)
            return PruefBund;
        if (p.Finger < 0 || p.Finger > 4)
            return PruefFinger;
    }
    return PruefOk;
}
