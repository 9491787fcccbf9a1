#include "tests/support/TestTabelle.h"

#include <initializer_list>
#include <string>

namespace {

enum Code { I1, I2, Ib3, I3, I4, Ib5, I5, Is5, I6, I7, Imaj7 };

void addType(AkkordDepotClass& doc, const char* name, std::initializer_list<int> codes)
{
    if (!doc.TypZufuegen())
        return;
    const int t = doc.TypAnzahl() - 1;
    doc.TypUmbenennen(t, name);
    for (int code : codes)
        doc.IntervallZufuegen(t, code, code == I5);
}

} // namespace

std::unique_ptr<AkkordDepotClass> tableWithCatalogue()
{
    auto doc = std::make_unique<AkkordDepotClass>();
    addType(*doc, "", {I3, I5});
    addType(*doc, "m", {Ib3, I5});
    addType(*doc, "7", {I3, I5, I7});
    addType(*doc, "m7", {Ib3, I5, I7});
    return doc;
}

void setGrip(AkkordDepotClass& doc, const char* frets, int root, int type)
{
    doc.Loeschen();
    for (int s = 1; s <= 6 && frets[s - 1]; ++s) {
        const char c = frets[s - 1];
        if (c == '0')
            doc.LeerSetzen(s, true);
        else if (c != 'x')
            doc.FingerSetzen(c - '0', s, 1 + (s % 4));
    }
    doc.AkkordSetzen(root, type);
}

void fillCatalogue(AkkordDepotClass& doc, int count)
{
    // Triads and sevenths with extensions: every type has 3 to 6 intervals, some of them optional.
    const int extensions[] = {1, 4, 8, 11, 12, 13, 14, 15, 16, 17};
    for (int i = 0; doc.TypAnzahl() < count && i < MaxTypen; ++i) {
        if (!doc.TypZufuegen())
            return;
        const int t = doc.TypAnzahl() - 1;
        doc.TypUmbenennen(t, "x" + std::to_string(t));
        doc.IntervallZufuegen(t, i % 2 == 0 ? I3 : Ib3, false);
        doc.IntervallZufuegen(t, I5, i % 3 == 0);
        if (i % 4 != 0)
            doc.IntervallZufuegen(t, i % 5 == 0 ? Imaj7 : I7, false);
        doc.IntervallZufuegen(t, extensions[i % 10], i % 7 == 0);
        if (i > 20)
            doc.IntervallZufuegen(t, extensions[(i + 3) % 10], true);
    }
}

void fillTable(AkkordDepotClass& doc, int count)
{
    // Distinct grips within frets 1..30: the chord comes from the loop, the shape from fret and variant.
    int stored = 0;
    for (int variant = 0; stored < count && variant < 12; ++variant) {
        for (int fret = 1; fret <= 28 && stored < count; ++fret) {
            for (int type = 0; type < doc.TypAnzahl() && stored < count; ++type) {
                for (int root = 0; root < 12 && stored < count; ++root) {
                    doc.Loeschen();
                    doc.FingerSetzen(fret, 1 + variant % 6, 1);
                    doc.FingerSetzen(fret + 1, 1 + (variant + 2) % 6, 2 + variant / 6);
                    doc.FingerSetzen(fret + 2, 1 + (variant + 4) % 6, 4);
                    doc.AkkordSetzen(root, type);
                    if (doc.GriffAufnehmen() > 0)
                        ++stored;
                }
            }
        }
    }
}
