#include "chordpro/ChordProImport.h"

#include <algorithm>
#include <memory>
#include <set>

#include "chordpro/ChordNames.h"
#include "chordpro/ChordProGrip.h"
#include "griffsuche/Griffsuche.h"
#include "table/AkkordDepot.h"

namespace {

// Sounding frets and chord: two grips with the same are the same grip to a songbook.
std::string signature(const AkkordDatenClass& griff, int saiten)
{
    int frets[MaxSaiten] = {};
    int fingers[MaxSaiten] = {};
    ChordProGrip::soundingFrets(griff, saiten, frets, fingers);
    std::string key;
    for (int s = 0; s < saiten; ++s)
        key += static_cast<char>(frets[s] + 2);
    key += static_cast<char>(griff.Grundton);
    key += std::to_string(griff.AkkordTyp);
    return key;
}

std::string lineText(int line)
{
    return "Zeile " + std::to_string(line) + ": ";
}

// Without the finder's help: pressed strings by fret, fingers 1 to 4; when more strings are pressed,
// the index finger lies across the lowest fret.
void plainFingers(AkkordDatenClass& griff, int saiten)
{
    int frets[MaxSaiten] = {};
    int fingers[MaxSaiten] = {};
    ChordProGrip::soundingFrets(griff, saiten, frets, fingers);
    int lowest = 0;
    int pressed = 0;
    for (int s = 0; s < saiten; ++s) {
        if (frets[s] > 0) {
            ++pressed;
            lowest = lowest == 0 ? frets[s] : std::min(lowest, frets[s]);
        }
    }
    const bool barre = pressed > 4;
    int next = barre ? 2 : 1;
    for (int fret = lowest; fret > 0 && fret <= MaxBund; ++fret) {
        for (int i = 0; i < griff.PunktAnzahl; ++i) {
            FingerPunktClass& punkt = griff.Punkte[i];
            if (punkt.Bund != fret)
                continue;
            if (barre && fret == lowest)
                punkt.Finger = 1;
            else
                punkt.Finger = next <= 4 ? next++ : 0;
        }
    }
}

// Whether the current grip sounds the named chord: every note the type needs, nothing it does not have
// but the bass after a slash.
bool soundsAs(const AkkordDepotClass& tabelle, const GelesenerAkkord& akkord)
{
    unsigned sounding = 0;
    for (int s = 1; s <= tabelle.SaitenAnzahl(); ++s) {
        const int ton = tabelle.KlingenderTon(s);
        if (ton >= 0 && ton < 12)
            sounding |= 1u << ton;
    }
    const AkkordTypClass& typ = tabelle.Typ(akkord.typ);
    unsigned needed = 0;
    unsigned allowed = akkord.bass < 12 ? 1u << akkord.bass : 0u;
    for (int i = 0; i < std::clamp(typ.IntervallAnzahl, 0, MaxIntervalle); ++i) {
        const unsigned bit = 1u << ((akkord.grundton + typ.Intervalle[i].Halbtoene) % 12);
        allowed |= bit;
        if (!typ.Intervalle[i].Optional)
            needed |= bit;
    }
    return (sounding & needed) == needed && (sounding & ~allowed) == 0;
}

} // namespace

ChordProImport::ChordProImport() = default;
ChordProImport::~ChordProImport() = default;

void ChordProImport::assignFingers(AkkordDepotClass& tabelle, int grundton, int typ)
{
    const int saiten = tabelle.SaitenAnzahl();
    int frets[MaxSaiten] = {};
    int fingers[MaxSaiten] = {};
    ChordProGrip::soundingFrets(tabelle.Daten(), saiten, frets, fingers);
    int lowest = 0;
    int highest = 0;
    for (int s = 0; s < saiten; ++s) {
        if (frets[s] > 0)
            lowest = lowest == 0 ? frets[s] : std::min(lowest, frets[s]);
        highest = std::max(highest, frets[s]);
    }
    // The finder up to the grip's highest fret and over its span only: the grip is among what it
    // finds, and the search costs a fraction of the whole neck's.
    GriffsucheEinstellungClass einstellung;
    einstellung.HoechsterBund = std::max(highest, GriffsucheEinstellungClass::MinBund);
    einstellung.Spannweite = std::clamp(lowest == 0 ? 0 : highest - lowest + 1, GriffsucheEinstellungClass::MinSpannweite,
                                        GriffsucheEinstellungClass::MaxSpannweite);
    if (highest <= GriffsucheEinstellungClass::MaxBund) {
        const int key = ((grundton * 64 + typ) * 32 + einstellung.HoechsterBund) * 8 + einstellung.Spannweite;
        std::unique_ptr<GriffsucheClass>& suche = m_suchen[key];
        if (!suche) {
            suche = std::make_unique<GriffsucheClass>();
            suche->Suchen(tabelle, grundton, typ, einstellung);
        }
        for (int i = 0; i < suche->Anzahl(); ++i) {
            const GefundenerGriffClass& gefunden = suche->Griff(i);
            if (!std::equal(frets, frets + saiten, gefunden.Bunde, [](int a, std::int8_t b) { return a == b; }))
                continue;
            const AkkordDatenClass& vorbild = gefunden.Griff;
            AkkordDatenClass& griff = tabelle.Daten();
            griff.PunktAnzahl = vorbild.PunktAnzahl;
            std::copy(std::begin(vorbild.Punkte), std::end(vorbild.Punkte), std::begin(griff.Punkte));
            return;
        }
    }
    plainFingers(tabelle.Daten(), saiten);
}

ImportBericht ChordProImport::importieren(AkkordDepotClass& tabelle, const ChordProInhalt& inhalt)
{
    ImportBericht bericht;
    const AkkordDatenClass vorher = tabelle.Daten();
    const int saiten = tabelle.SaitenAnzahl();
    const ChordNames names(tabelle);
    std::set<std::string> stored;
    for (int i = 0; i < tabelle.Anzahl(); ++i)
        stored.insert(signature(tabelle.Element(i), saiten));

    struct Line
    {
        int line;
        int order;
        std::string text;
    };
    std::vector<Line> lines;
    for (const ChordProFehler& fehler : inhalt.errors) {
        lines.push_back({fehler.line, 0, lineText(fehler.line) + fehler.text + ", übersprungen"});
        ++bericht.fehler;
    }
    for (const ChordProDefinition& definition : inhalt.definitions) {
        ++bericht.definitionen;
        const std::string prefix = lineText(definition.line) + definition.name;
        auto skip = [&](const std::string& why) {
            lines.push_back({definition.line, 1, prefix + " übersprungen: " + why});
            ++bericht.uebersprungen;
        };
        AkkordDatenClass griff;
        switch (ChordProGrip::grip(definition, tabelle, griff)) {
        case GriffUmwandlung::FalscheSaitenzahl:
            skip("für " + std::to_string(definition.saiten) + " Saiten, das Instrument hat " +
                 std::to_string(saiten));
            continue;
        case GriffUmwandlung::ZuVielePunkte:
            skip("mehr als " + std::to_string(MaxPunkte) + " Fingerpunkte");
            continue;
        case GriffUmwandlung::KeinTon:
            skip("alle Saiten gedämpft");
            continue;
        case GriffUmwandlung::Ok:
            break;
        }
        int frets[MaxSaiten] = {};
        int fingers[MaxSaiten] = {};
        ChordProGrip::soundingFrets(griff, saiten, frets, fingers);
        int lowest = 0;
        int highest = 0;
        for (int s = 0; s < saiten; ++s) {
            if (frets[s] > 0) {
                lowest = lowest == 0 ? frets[s] : std::min(lowest, frets[s]);
                highest = std::max(highest, frets[s]);
            }
        }
        if (lowest > 0 && highest - lowest + 1 > GriffsucheEinstellungClass::MaxSpannweite) {
            skip("nicht spielbar, spannt " + std::to_string(highest - lowest + 1) + " Bünde");
            continue;
        }
        griff.Nummer = tabelle.Daten().Nummer;
        tabelle.Daten() = griff;
        TrefferClass ergebnis;
        TrefferClass liste[MaxTreffer];
        const int treffer = tabelle.Erkennen(&ergebnis, liste);
        if (ergebnis.AkkordTyp < 0 || ergebnis.Grundton > 11) {
            skip("kein Akkord des Katalogs");
            continue;
        }
        const std::string klingt = names.name(ergebnis.Grundton, ergebnis.AkkordTyp, ergebnis.Basston,
                                              Tonnamen::International);
        GelesenerAkkord gelesen;
        const bool readable = names.parse(definition.name, gelesen);
        bool named = false;
        for (int i = 0; readable && i < std::min(treffer, MaxTreffer); ++i)
            named = named || (liste[i].Grundton == gelesen.grundton && liste[i].AkkordTyp == gelesen.typ);
        named = named || (readable && gelesen.grundton == ergebnis.Grundton && gelesen.typ == ergebnis.AkkordTyp);
        named = named || (readable && soundsAs(tabelle, gelesen));
        if (!named) {
            ++bericht.falschBenannt;
            lines.push_back({definition.line, 2,
                             lineText(definition.line) + definition.name + " in der Datei klingt als " + klingt +
                                 (readable ? "" : " (Name unbekannt)")});
        }
        // Fingers do not make another grip to a songbook: the duplicate check comes before them.
        const std::string key = signature(tabelle.Daten(), saiten);
        if (stored.count(key)) {
            skip("als " + klingt + " schon gespeichert");
            continue;
        }
        if (!definition.hasFingers)
            assignFingers(tabelle, ergebnis.Grundton, ergebnis.AkkordTyp);
        if (tabelle.GriffAufnehmen() < 0) {
            skip(tabelle.Anzahl() >= MaxGriffe ? "die Grifftabelle ist voll" : "als " + klingt + " schon gespeichert");
            continue;
        }
        stored.insert(key);
        bericht.neu.push_back(tabelle.Anzahl() - 1);
        ++bericht.uebernommen;
        lines.push_back({definition.line, 1, prefix + " übernommen als " + klingt});
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return a.line != b.line ? a.line < b.line : a.order < b.order; });
    for (Line& line : lines)
        bericht.zeilen.push_back(std::move(line.text));
    const int nummer = tabelle.Daten().Nummer;
    tabelle.Daten() = vorher;
    tabelle.Daten().Nummer = nummer;
    return bericht;
}

std::string ChordProImport::zusammenfassung(const ImportBericht& bericht)
{
    std::string text = std::to_string(bericht.definitionen) + " Definitionen: " +
                       std::to_string(bericht.uebernommen) + " übernommen, " +
                       std::to_string(bericht.uebersprungen) + " übersprungen, " +
                       std::to_string(bericht.falschBenannt) + " falsch benannt";
    if (bericht.fehler > 0)
        text += ", " + std::to_string(bericht.fehler) + " fehlerhafte Zeilen";
    return text;
}
