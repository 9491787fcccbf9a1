#include "grip/AkkordDaten.h"

#include <cstring>

bool GleicherGriff(const AkkordDatenClass& a, const AkkordDatenClass& b)
{
    constexpr std::size_t start = offsetof(AkkordDatenClass, Grundton);
    return std::memcmp(reinterpret_cast<const char*>(&a) + start, reinterpret_cast<const char*>(&b) + start,
                       sizeof(AkkordDatenClass) - start) == 0;
}

int TiefsterBundVon(const AkkordDatenClass& griff)
{
    const int count =
        griff.PunktAnzahl < 0 ? 0 : (griff.PunktAnzahl > MaxPunkte ? MaxPunkte : griff.PunktAnzahl);
    if (count == 0)
        return 1;
    int lowest = griff.Punkte[0].Bund;
    for (int i = 1; i < count; ++i) {
        if (griff.Punkte[i].Bund < lowest)
            lowest = griff.Punkte[i].Bund;
    }
    return lowest;
}
