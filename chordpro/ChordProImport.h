#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chordpro/ChordProDefinition.h"

class AkkordDepotClass;
class GriffsucheClass;

// What an import did, one line per definition and per piece of bad input, in the file's order.
struct ImportBericht
{
    int definitionen = 0;
    int uebernommen = 0;
    int uebersprungen = 0;
    int falschBenannt = 0; // names that differ from what the grip sounds
    int fehler = 0;        // bad lines of the file
    std::vector<std::string> zeilen;
    std::vector<int> neu; // list indexes of the grips taken over
};

// Takes ChordPro definitions into a chord table: each that fits the instrument becomes a grip, is
// recognised and filed under the recognised chord; grips already stored are skipped.
class ChordProImport
{
public:
    ChordProImport();
    ~ChordProImport();
    ChordProImport(const ChordProImport&) = delete;
    ChordProImport& operator=(const ChordProImport&) = delete;

    // The table's current grip is left as it was.
    ImportBericht importieren(AkkordDepotClass& tabelle, const ChordProInhalt& inhalt);
    // The closing summary: "12 übernommen, 3 übersprungen, 2 falsch benannt".
    static std::string zusammenfassung(const ImportBericht& bericht);

private:
    // Fingers for a grip without them: the finder's for the same frets, else a plain rule.
    void assignFingers(AkkordDepotClass& tabelle, int grundton, int typ);

    std::map<int, std::unique_ptr<GriffsucheClass>> m_suchen; // by root * 64 + type
};
