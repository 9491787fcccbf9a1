#include "export/LiedblattPdf.h"

#include <memory>

#include "chordpro/ChordNames.h"
#include "chordpro/Liedblatt.h"
#include "render/DiagramExport.h"
#include "table/AkkordDepot.h"
#include "theory/Zeichensatz.h"

bool liedblattPdfSchreiben(const AkkordDepotClass& tabelle, const Liedblatt& blatt, const QString& pfad,
                           QString* fehler)
{
    // A table of the sheet's grips alone, in the song's order: the sheet draws its diagrams from a table.
    const auto eigene = std::make_unique<AkkordDepotClass>();
    eigene->Uebernehmen(tabelle);
    eigene->Zuruecksetzen(false);
    eigene->SetzeEigeneReihenfolge(true);
    std::string titel;
    if (!utf8ToCp1252(blatt.titel().empty() ? std::string("Liedblatt") : blatt.titel(), titel))
        titel = "Liedblatt";
    eigene->SetzeText(0, titel);
    // Names as the song sounds them: under a capo the note names move up by its fret.
    int kapo = 0;
    if (!blatt.akkorde().empty()) {
        const LiedAkkord& erster = blatt.akkorde().front();
        GelesenerAkkord gelesen;
        if (ChordNames(tabelle).parse(erster.name, gelesen))
            kapo = ((gelesen.grundton - erster.grundton) % 12 + 12) % 12;
    }
    for (int ton = 0; ton < 12; ++ton) {
        std::string name;
        utf8ToCp1252(ChordNames::noteName((ton + kapo) % 12, Tonnamen::International), name);
        eigene->TonUmbenennen(ton, name, true);
    }
    std::vector<int> griffe;
    for (const LiedAkkord& akkord : blatt.akkorde()) {
        eigene->Daten() = akkord.griff;
        eigene->AkkordSetzen(akkord.grundton, akkord.typ);
        if (eigene->GriffAufnehmen() > 0)
            griffe.push_back(eigene->Anzahl() - 1);
    }
    const DiagramExport exporter(*eigene);
    return exporter.writeSheet(pfad, griffe, ChordSheet::Layout(), QString(), nullptr, fehler);
}
