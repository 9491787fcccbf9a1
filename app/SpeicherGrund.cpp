#include "app/SpeicherGrund.h"

#include "table/AkkordDepot.h"
#include "theory/Grenzen.h"

QString speicherVerweigerung(const AkkordDepotClass& tabelle)
{
    if (tabelle.Anzahl() >= MaxGriffe)
        return QStringLiteral("Griff wurde nicht gespeichert: Die Grifftabelle ist voll: %1 Griffe")
            .arg(MaxGriffe);
    if (tabelle.GriffSuchen() >= 0)
        return QStringLiteral("Griff wurde nicht gespeichert: er ist schon gespeichert");
    return QString();
}
