#pragma once

#include <string>
#include <string_view>

class ErkennungClass;

// How chord names are spelled in a ChordPro file.
enum class Tonnamen {
    International, // C C# D Eb E F F# G Ab A Bb B, as songbooks write them
    Tabelle,       // the chord table's own short note names (H, A# ...)
};

// A chord name read from a ChordPro file: root, chord type of the catalogue and bass.
struct GelesenerAkkord
{
    int grundton = -1;
    int typ = -1;
    int bass = 12;      // 12 without a slash bass
    std::string suffix; // what follows the root, as written ("m7", "min", "/B")
};

// Chord names between a chord table's catalogue and ChordPro.
class ChordNames
{
public:
    explicit ChordNames(const ErkennungClass& katalog) : m_katalog(katalog) {}

    // "Am7", "Bb", "D/F#": root, the type's name and the bass after a slash (UTF-8).
    std::string name(int grundton, int typ, int bass, Tonnamen tonnamen) const;
    static std::string noteName(int ton, Tonnamen tonnamen, const ErkennungClass* katalog = nullptr);
    // Note 0..11 at the start of text and the characters it takes; -1 for none. B and H are both
    // the note below C, Bb the one below that; the table's own short names are understood too.
    int note(std::string_view text, std::size_t& length) const;
    // Reads a chord name. False when its root or its type is not known; akkord keeps what was read.
    bool parse(std::string_view text, GelesenerAkkord& akkord) const;
    // The name with root and bass moved by halbtoene, the rest as written; the name itself when it has
    // no root.
    std::string transpose(std::string_view text, int halbtoene, Tonnamen tonnamen) const;

private:
    int typeOf(std::string_view suffix) const;

    const ErkennungClass& m_katalog;
};
