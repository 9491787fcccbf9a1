#pragma once

#include <functional>
#include <string>
#include <vector>

// What one call of zupfwerk-export asks for.
struct ExportAuftrag
{
    std::string tabelle;  // the .cho file
    std::string akkord;   // --chord
    std::string grundton; // --root
    bool alle = false;    // --all
    std::string ausgabe;  // -o
    std::string format;   // "png", "svg" or "pdf"; from the output's extension when not given
    int breite = 400;     // --size, images only
    int hoehe = 400;
    bool hilfe = false;
    std::string finden; // --find: the chord whose playable grips are listed
    int spannweite = 0; // --span, 0: the finder's own
    int buende = 0;     // --frets, 0: the finder's own

    // The grip's sound instead of its picture: --wav writes the strum, with --zerlegt the arpeggio.
    bool wav = false;
    bool zerlegt = false;
    // ChordPro
    bool chordpro = false;   // --chordpro: {define} lines, or a configuration file for .json
    std::string importieren; // --import: the ChordPro file taken into a new table (-o)
    std::string lied;        // --song: the song whose chord sheet is written
    bool ohneFinger = false; // --ohne-finger
    bool tabellenNamen = false; // --tonnamen tabelle
    int transponieren = 0;   // --transpose
    int kapo = 0;            // --capo
    bool ersterGriff = false; // --erster-griff
    bool griffbrett = false; // --stil griffbrett: the window's horizontal board instead of a chord box
    int spalten = 5;         // --spalten, boxes per row of a sheet, 3..8
};

// The command line of zupfwerk-export. Options live in one table: a new option is one more entry
// (and a field in ExportAuftrag), checked together with the others afterwards.
class ExportArguments
{
public:
    // Stores the value of an option (empty for a flag); false with a message when the value is bad.
    using Uebernahme =
        std::function<bool(ExportAuftrag& auftrag, const std::string& wert, std::string& fehler)>;
    struct Option
    {
        std::string name;     // "--chord"
        std::string kurzname; // "-o", or empty
        std::string wertname; // "NAME" for an option with a value, empty for a flag
        std::string hilfe;    // one line for --help
        Uebernahme uebernehmen;
    };

    // Registers the standard options.
    ExportArguments();
    void addOption(Option option);

    // args without the program name. False with the reason in fehler; --help wins over everything else.
    bool parse(const std::vector<std::string>& args, ExportAuftrag& auftrag, std::string& fehler) const;
    // The text --help prints.
    std::string usage() const;

    // "400x300" or "400" (square), each side 16..8192.
    static bool parseSize(const std::string& text, int& breite, int& hoehe);

private:
    const Option* find(const std::string& name) const;
    static bool check(ExportAuftrag& auftrag, std::string& fehler);
    static bool checkSound(ExportAuftrag& auftrag, std::string& fehler);
    void addChordProOptions();
    static bool checkChordPro(ExportAuftrag& auftrag, std::string& fehler);

    std::vector<Option> m_options;
};
