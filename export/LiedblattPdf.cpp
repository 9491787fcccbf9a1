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
    // The sheet draws with a copy of the table whose note names are spelled like the song's chords.
    const auto eigene = std::make_unique<AkkordDepotClass>();
    eigene->Uebernehmen(tabelle);
    eigene->Zuruecksetzen(false);
    if (blatt.tonnamen() == Tonnamen::International) {
        for (int ton = 0; ton < 12; ++ton) {
            std::string name;
            utf8ToCp1252(ChordNames::noteName(ton, Tonnamen::International), name);
            eigene->TonUmbenennen(ton, name, true);
        }
    }
    const DiagramExport exporter(*eigene);
    // The tuning as fingered: a capo moves the sounding notes, not the strings the grips are read on.
    QString rechts = QStringLiteral("Stimmung: ") + exporter.tuningText();
    if (blatt.kapo() > 0)
        rechts += QStringLiteral(", Kapo %1").arg(blatt.kapo());
    const QString titel =
        blatt.titel().empty() ? QStringLiteral("Liedblatt") : QString::fromStdString(blatt.titel());
    const ChordSheet sheet(*eigene, {titel, rechts, QString()}, ChordSheet::Layout());

    // Each box named as the song writes the chord (its bass too), sounding, after transposing.
    std::vector<ChordSheetBox> boxes;
    boxes.reserve(blatt.akkorde().size());
    for (const LiedAkkord& akkord : blatt.akkorde()) {
        ChordSheetBox box;
        box.griff = akkord.griff;
        box.griff.Grundton = static_cast<std::uint8_t>(akkord.grundton);
        box.griff.AkkordTyp = akkord.typ;
        box.akkord.Grundton = box.griff.Grundton;
        box.akkord.AkkordTyp = akkord.typ;
        box.titel = QString::fromStdString(akkord.name);
        boxes.push_back(box);
    }
    return DiagramExport::writePdf(pfad, sheet, boxes, nullptr, fehler);
}
