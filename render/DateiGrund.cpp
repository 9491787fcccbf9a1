#include "render/DateiGrund.h"

#include <cerrno>

QString DateiGrund(int fehler)
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
    case 0:
        return QStringLiteral("Die Datei lässt sich nicht anlegen.");
    default:
        return QStringLiteral("Systemfehler %1.").arg(fehler);
    }
}
