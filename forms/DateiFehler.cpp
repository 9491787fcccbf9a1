#include "forms/DateiFehler.h"

#include "render/DateiGrund.h"
#include "table/AkkordDepot.h"

QString dateiFehlerGrund(int fehler)
{
    return DateiGrund(fehler);
}

QString pruefFehlerGrund(int ergebnis, int griffIndex)
{
    const QString griff = QStringLiteral("Der gespeicherte Griff Nr. %1 ").arg(griffIndex + 1);
    switch (ergebnis) {
    case PruefZuVieleGriffe:
        return QStringLiteral("Die Grifftabelle enthält mehr Griffe, als eine Datei fassen kann.");
    case PruefGrundton:
        return griff + QStringLiteral("hat einen ungültigen Grundton.");
    case PruefAkkordtyp:
        return griff + QStringLiteral("gehört zu keinem Akkordtyp der Akkorderkennung.");
    case PruefPunktanzahl:
        return griff + QStringLiteral("hat zu viele Fingerpunkte.");
    case PruefSaite:
        return griff + QStringLiteral("liegt auf einer ungültigen Saite.");
    case PruefBund:
        return griff + QStringLiteral("liegt außerhalb der Bünde 1 bis 30.");
    case PruefFinger:
        return griff + QStringLiteral("hat eine ungültige Fingernummer.");
    default:
        return QStringLiteral("Die Grifftabelle ist in sich nicht stimmig.");
    }
}
