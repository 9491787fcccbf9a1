#pragma once

#include <string>
#include <vector>

#include "chordpro/ChordNames.h"
#include "chordpro/ChordProDefinition.h"

class AkkordDepotClass;

// The stored grips of a chord table as ChordPro definitions.
class ChordProExport
{
public:
    // One definition per list index, in that order, named after its chord; a chord's second and later
    // grips get "_2", "_3" ... appended, as songbook users tell grips of one chord apart.
    static std::vector<ChordProDefinition> definitions(const AkkordDepotClass& tabelle,
                                                       const std::vector<int>& griffe, Tonnamen tonnamen);
    // The {define} lines, one a line, after a comment naming table and rule.
    static std::string defineBlock(const AkkordDepotClass& tabelle, const std::vector<ChordProDefinition>& d,
                                   bool fingers);
    static std::string json(const AkkordDepotClass& tabelle, const std::vector<ChordProDefinition>& d,
                            bool fingers);
    // The strings' notes in scientific pitch ("E2", "A2" ...), the lowest first.
    static std::vector<std::string> tuning(const AkkordDepotClass& tabelle);
};
