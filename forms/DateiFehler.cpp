#include "forms/DateiFehler.h"

#include <cerrno>
#include <cstring>

#include "table/AkkordDepot.h"

QString dateiFehlerGrund(int fehler)
{
    switch (fehler) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Berechtigung zum Schreiben.");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Der Datenträger ist voll.");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist schreibgeschützt.");
    case EISDIR:
        return QStringLiteral("Das Ziel ist keine Datei.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Der Ordner existiert nicht.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang.");
    case EIO:
        return QStringLiteral("Ein Ein-/Ausgabefehler ist aufgetreten.");
    default:
        return QStringLiteral("Systemfehler %1 (%2).").arg(fehler).arg(QString::fromLocal8Bit(std::strerror(fehler)));
    }
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
