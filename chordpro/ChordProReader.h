#pragma once

#include <string_view>

#include "chordpro/ChordProDefinition.h"

// Reads the chord directives and chord names of ChordPro text, or the "chords" list of a ChordPro
// configuration file in JSON. Bad input is reported by its line number and skipped; reading goes on.
class ChordProReader
{
public:
    // song: lines of lyrics are expected; without it, a line that is no directive is reported.
    static ChordProInhalt read(std::string_view text, bool song);
    // Whether the text looks like ChordPro at all (a directive or a [chord] within its first lines, or a
    // JSON object with a "chords" list), so a file named .cho can be told from a chord table.
    static bool looksLikeChordPro(std::string_view text);
    // Whether it holds lyrics with chords or a {title}, not only definitions.
    static bool looksLikeSong(std::string_view text);

private:
    static void readJson(std::string_view text, ChordProInhalt& inhalt);
};
