#pragma once

#include <string>
#include <string_view>

class ErkennungClass;

// Reads chord names as a chord table writes them: the table's short note name followed directly by one
// of its chord-type names ("Am7", "C#maj7", "H7"). The flat spellings "Db", "Eb", "Gb", "Ab" and the
// German "B" for the note below H are understood as well.
class ChordNameParser
{
public:
    explicit ChordNameParser(const ErkennungClass& katalog) : m_katalog(katalog) {}

    // Note 0..11 of a note name, -1 for none. utf8: as typed on the command line.
    int root(std::string_view utf8) const;
    // Root and chord-type index of a chord name; false when the table knows no such chord. The longest
    // note name that leaves a type name wins, so "Eb5" is E flat with type "5" when the table has both.
    bool parse(std::string_view utf8, int& grundton, int& akkordTyp) const;
    // The type names of the table, comma-separated, for a message about an unknown chord.
    std::string typeList() const;

private:
    const ErkennungClass& m_katalog;
};
