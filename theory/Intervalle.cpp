#include "theory/Intervalle.h"

#include "theory/Grenzen.h"
#include "theory/Meldung.h"
#include "theory/Noten.h"

namespace {

struct IntervalEntry
{
    const char* name;
    int semitones;
};

constexpr IntervalEntry intervalTable[AnzahlIntervallcodes] = {
    {"1", 0},  {"2", 2},     {"b3", 3}, {"3", 4}, {"4", 5},  {"b5", 6}, {"5", 7},   {"#5", 8},  {"6", 9},
    {"7", 10}, {"maj7", 11}, {"b9", 1}, {"9", 2}, {"#9", 3}, {"11", 5}, {"#11", 6}, {"b13", 8}, {"13", 9},
};

bool validCode(int code)
{
    if (code >= 0 && code < AnzahlIntervallcodes)
        return true;
    EinfacheMeldung("Intervall nicht gefunden!", "Abbruch");
    return false;
}

} // namespace

int HalbtoeneVon(int intervallcode)
{
    return validCode(intervallcode) ? intervalTable[intervallcode].semitones : -1;
}

const char* IntervallBezeichnung(int intervallcode)
{
    return validCode(intervallcode) ? intervalTable[intervallcode].name : "???";
}

const char* fixedIntervalName(int grundton, int ton)
{
    if (grundton == KeinTon)
        return "?";
    if (ton == KeinTon)
        return "";
    if (ton == grundton)
        return "1";
    return nullptr;
}

std::string IntervallName(int grundton, int ton)
{
    if (const char* fixed = fixedIntervalName(grundton, ton))
        return fixed;
    for (const IntervalEntry& entry : intervalTable) {
        if (NotenClass::Transponieren(grundton, entry.semitones, true) == ton)
            return entry.name;
    }
    return "";
}

bool intervalSlotValid(int intervallcode, int halbtoene)
{
    return intervallcode >= 0 && intervallcode < AnzahlIntervallcodes &&
           intervalTable[intervallcode].semitones == halbtoene;
}
