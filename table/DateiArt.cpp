#include "table/DateiArt.h"

#include <sys/stat.h>

DateiArt dateiArt(const std::string& pfad)
{
    struct stat info {};
    if (::stat(pfad.c_str(), &info) != 0)
        return DateiArt::Fehlt;
    if (S_ISREG(info.st_mode))
        return DateiArt::Datei;
    if (S_ISDIR(info.st_mode))
        return DateiArt::Ordner;
    if (S_ISFIFO(info.st_mode))
        return DateiArt::Pipe;
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return DateiArt::Geraet;
    if (S_ISSOCK(info.st_mode))
        return DateiArt::Socket;
    return DateiArt::Andere;
}

const char* dateiArtName(DateiArt art)
{
    switch (art) {
    case DateiArt::Fehlt:
        return "nicht vorhanden";
    case DateiArt::Datei:
        return "eine Datei";
    case DateiArt::Ordner:
        return "ein Ordner";
    case DateiArt::Pipe:
        return "eine benannte Pipe";
    case DateiArt::Geraet:
        return "ein Gerät";
    case DateiArt::Socket:
        return "ein Socket";
    case DateiArt::Andere:
        break;
    }
    return "keine gewöhnliche Datei";
}
