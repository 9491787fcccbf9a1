// Prints a chord-table file as tab-separated text lines, for the end-to-end tests to read:
//   laden <result of the reader: 0 ok, 1 unreadable, 2 wrong magic, 3 damaged>
//   pruefen <result of the document check, 0 when every grip is valid>
//   saiten <string count> <tuning text>
//   stimmung <string 1> <string 2> ... (note and octave: "E -1", "H", "E +1")
//   typ <index> <name> <intervals>
//   griff <index> <root> <root name> <type> <type name> <frets from string 1 up> <recognised chord>
// Names are UTF-8. Frets read "x" for a muted string, "0" for an open one, else the fret that sounds.
#include <cstdio>
#include <memory>
#include <string>

#include "table/AkkordDepot.h"
#include "theory/Zeichensatz.h"

namespace {

std::string text(const char* cp1252)
{
    return cp1252ToUtf8(cp1252 ? cp1252 : "");
}

std::string frets(const AkkordDepotClass& document, const AkkordDatenClass& grip)
{
    std::string line;
    for (int saite = 1; saite <= document.SaitenAnzahl(); ++saite) {
        int highest = 0;
        for (int i = 0; i < grip.PunktAnzahl && i < MaxPunkte; ++i) {
            if (grip.Punkte[i].Saite == saite && grip.Punkte[i].Bund > highest)
                highest = grip.Punkte[i].Bund;
        }
        if (!line.empty())
            line += '-';
        if (highest > 0)
            line += std::to_string(highest);
        else
            line += grip.Leer[saite - 1] != 0 ? "0" : "x";
    }
    return line;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: zw_table_dump <table.cho>\n", stderr);
        return 2;
    }
    auto document = std::make_unique<AkkordDepotClass>();
    const int result = document->Laden(argv[1]);
    std::printf("laden\t%d\n", result);
    if (result != LadenOk)
        return 1;
    std::printf("pruefen\t%d\n", static_cast<int>(document->Pruefen()));
    std::printf("saiten\t%d\t%s\n", document->SaitenAnzahl(), text(document->AlsText().c_str()).c_str());
    std::printf("stimmung");
    for (int saite = 1; saite <= document->SaitenAnzahl(); ++saite)
        std::printf("\t%s", text(document->SaitenBezeichnung(saite).c_str()).c_str());
    std::printf("\n");
    for (int typ = 0; typ < document->TypAnzahl(); ++typ)
        std::printf("typ\t%d\t%s\t%s\n", typ, text(document->TypName(typ)).c_str(),
                    text(document->IntervallText(typ).c_str()).c_str());
    for (int i = 0; i < document->Anzahl(); ++i) {
        const AkkordDatenClass stored = document->Element(i);
        const bool typeKnown = stored.AkkordTyp >= 0 && stored.AkkordTyp < document->TypAnzahl();
        document->Daten() = stored;
        TrefferClass recognised;
        document->Erkennen(&recognised);
        const std::string recognisedName =
            recognised.AkkordTyp < 0
                ? std::string("-")
                : text(document->AkkordName(recognised.Grundton, recognised.AkkordTyp, recognised.Basston)
                           .c_str());
        std::printf("griff\t%d\t%d\t%s\t%d\t%s\t%s\t%s\n", i, stored.Grundton,
                    text(document->TonName(stored.Grundton, true)).c_str(), stored.AkkordTyp,
                    typeKnown ? text(document->TypName(stored.AkkordTyp)).c_str() : "?",
                    frets(*document, stored).c_str(), recognisedName.c_str());
    }
    return 0;
}
