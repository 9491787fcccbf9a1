#pragma once

#include <string>

// What a path names, found without opening it: a named pipe or a device would block or never end.
enum class DateiArt : int {
    Fehlt,   // nothing there (or not reachable)
    Datei,   // a regular file, directly or through links
    Ordner,
    Pipe,
    Geraet,
    Socket,
    Andere,
};

// path: UTF-8; links are followed.
DateiArt dateiArt(const std::string& pfad);
// "ein Ordner", "eine benannte Pipe", ...: German, UTF-8, for messages about a path that is no file.
const char* dateiArtName(DateiArt art);
