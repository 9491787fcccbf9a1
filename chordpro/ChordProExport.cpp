#include "chordpro/ChordProExport.h"

#include <map>

#include "chordpro/ChordProGrip.h"
#include "chordpro/ChordProWriter.h"
#include "table/AkkordDepot.h"
#include "theory/Zeichensatz.h"

std::vector<ChordProDefinition> ChordProExport::definitions(const AkkordDepotClass& tabelle,
                                                            const std::vector<int>& griffe, Tonnamen tonnamen)
{
    const ChordNames names(tabelle);
    std::vector<ChordProDefinition> result;
    result.reserve(griffe.size());
    std::map<std::string, int> seen;
    for (const int index : griffe) {
        if (index < 0 || index >= tabelle.Anzahl())
            continue;
        const AkkordDatenClass& griff = tabelle.Element(index);
        ChordProDefinition definition = ChordProGrip::definition(griff, tabelle.SaitenAnzahl());
        std::string name = names.name(griff.Grundton, griff.AkkordTyp,
                                      tabelle.SchraegstrichBass(griff.Grundton, griff), tonnamen);
        if (name.empty())
            name = "?";
        // Blanks and braces would end the name in a {define}.
        for (char& c : name) {
            if (c == ' ' || c == '\t' || c == '{' || c == '}' || c == ':')
                c = '_';
        }
        const int n = ++seen[name];
        definition.name = n == 1 ? name : name + "_" + std::to_string(n);
        result.push_back(definition);
    }
    return result;
}

std::string ChordProExport::defineBlock(const AkkordDepotClass& tabelle, const std::vector<ChordProDefinition>& d,
                                        bool fingers)
{
    std::string text = "# " + cp1252ToUtf8(tabelle.Text(0)) + ", " + cp1252ToUtf8(tabelle.AlsText()) +
                       ": " + std::to_string(d.size()) + " Griffe aus Zupfwerk\n"
                       "# Mehrere Griffe eines Akkords heißen \"Am\", \"Am_2\", \"Am_3\" ...\n";
    for (const ChordProDefinition& definition : d)
        text += ChordProWriter::defineLine(definition, fingers) + "\n";
    return text;
}

std::vector<std::string> ChordProExport::tuning(const AkkordDepotClass& tabelle)
{
    std::vector<std::string> result;
    for (int s = 1; s <= tabelle.SaitenAnzahl(); ++s) {
        StimmSaiteClass saite;
        const int ton = tabelle.SaiteLesen(s, &saite);
        result.push_back(ChordNames::noteName(ton, Tonnamen::International) + std::to_string(3 + saite.Oktave));
    }
    return result;
}

std::string ChordProExport::json(const AkkordDepotClass& tabelle, const std::vector<ChordProDefinition>& d,
                                 bool fingers)
{
    return ChordProWriter::json(cp1252ToUtf8(tabelle.Text(0)), tuning(tabelle), d, fingers);
}
