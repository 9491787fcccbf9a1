#pragma once

#include <string>
#include <vector>

#include "chordpro/ChordProDefinition.h"

// Writes ChordPro chord definitions: {define} lines, or a ChordPro configuration file in JSON.
class ChordProWriter
{
public:
    // "{define: Am base-fret 1 frets x 0 2 2 1 0 fingers 0 0 2 3 1 0}"; without fingers when asked or
    // when the definition has none.
    static std::string defineLine(const ChordProDefinition& definition, bool fingers);
    // A configuration file with the instrument, its tuning (note names from the lowest string) and the
    // "chords" list.
    static std::string json(const std::string& instrument, const std::vector<std::string>& tuning,
                            const std::vector<ChordProDefinition>& definitions, bool fingers);
    // The text as a JSON string with its quotes.
    static std::string jsonString(const std::string& text);
};
