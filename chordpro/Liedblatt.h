#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chordpro/ChordNames.h"
#include "chordpro/ChordProDefinition.h"
#include "grip/AkkordDaten.h"

class AkkordDepotClass;
class GriffsucheClass;

// Where a song sheet's grip comes from.
enum class GriffQuelle { Lied, Tabelle, Griffsuche };

// How the grips of a song are chosen.
enum class Griffwahl {
    GanzesLied,        // the whole song together: least movement between neighbours, easy to play
    ErsterGespeicherter // each chord's first stored grip, else the finder's best
};

// One chord of a song sheet.
struct LiedAkkord
{
    std::string name; // as it sounds, after transposing (UTF-8)
    int grundton = -1; // the chord as fingered (under the capo)
    int typ = -1;
    AkkordDatenClass griff; // as fingered, filed under grundton and typ
    GriffQuelle quelle = GriffQuelle::Tabelle;
    int bewertung = 0; // the finder's points for the grip; smaller is easier
};

// Options of a song sheet.
struct LiedblattEinstellung
{
    int transponieren = 0; // semitones, -11..11
    int kapo = 0;          // capo on this fret, 0..12
    Griffwahl wahl = Griffwahl::GanzesLied;
    Tonnamen tonnamen = Tonnamen::International;
    int kandidaten = 10; // of the finder's best grips per chord
};

// The chords of a ChordPro song in order of first use, each with a grip.
class Liedblatt
{
public:
    Liedblatt();
    ~Liedblatt();
    Liedblatt(const Liedblatt&) = delete;
    Liedblatt& operator=(const Liedblatt&) = delete;

    // Fills the sheet from the song's text; false when the song has no chord at all.
    bool erstellen(const AkkordDepotClass& tabelle, const ChordProInhalt& lied, const LiedblattEinstellung& e);

    const std::string& titel() const { return m_titel; }
    const std::vector<LiedAkkord>& akkorde() const { return m_akkorde; }
    // The capo's fret, 0 for none; the grips are fingered under it.
    int kapo() const { return m_kapo; }
    Tonnamen tonnamen() const { return m_tonnamen; }
    // Chord names that cannot be read with the table's catalogue, or have no playable grip.
    const std::vector<std::string>& unlesbar() const { return m_unlesbar; }
    // The lowest fret of a grip as the movement counts it.
    static int lage(const AkkordDatenClass& griff);
    // Sum of the distances between neighbouring grips' lowest frets.
    int bewegung() const;
    // The {define} block of the chosen grips, ready to paste into the song.
    std::string defineBlock(const AkkordDepotClass& tabelle, bool fingers) const;
    // The finder's points of a grip on the table's tuning.
    static int bewerten(const AkkordDepotClass& tabelle, const AkkordDatenClass& griff, int grundton);

private:
    struct Kandidat
    {
        AkkordDatenClass griff;
        GriffQuelle quelle;
        int bewertung;
    };
    // The chord's stored grips and the finder's best, those with the bass note alone unless bass is -1.
    std::vector<Kandidat> gespeicherteUndGefundene(const AkkordDepotClass& tabelle, const LiedAkkord& akkord,
                                                   int bass, const LiedblattEinstellung& e);
    GriffsucheClass& finder(const AkkordDepotClass& tabelle, int grundton, int typ);

    std::string m_titel;
    std::vector<LiedAkkord> m_akkorde;
    std::vector<std::string> m_unlesbar;
    int m_kapo = 0;
    Tonnamen m_tonnamen = Tonnamen::International;
    std::map<int, std::unique_ptr<GriffsucheClass>> m_suchen;
};
