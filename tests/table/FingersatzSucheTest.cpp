#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "table/FingersatzSuche.h"
#include "tests/support/TestTabelle.h"

namespace {

constexpr int major = 0;
constexpr int minorSeventh = 3;

// A table holding x02222 filed as A m7 (so the recognition would never pick it alone) and x32010 as C.
class StoredFingering : public testing::Test
{
protected:
    void SetUp() override
    {
        doc = tableWithCatalogue();
        store("x02222", 6, minorSeventh);
        store("x32010", 0, major);
    }

    void store(const char* frets, int root, int type)
    {
        setGrip(*doc, frets, root, type);
        ASSERT_GT(doc->GriffAufnehmen(), 0) << frets;
    }

    // The grip as the fingering editor leaves it: fingers placed one by one, strings switched open.
    void build(const char* frets)
    {
        setGrip(*doc, frets, KeinTon, 0);
        const AkkordDatenClass wanted = doc->Daten();
        doc->Loeschen();
        for (int s = 1; s <= 6; ++s) {
            if (frets[s - 1] == '0')
                doc->LeerSetzen(s, true);
        }
        for (int i = wanted.PunktAnzahl - 1; i >= 0; --i)
            doc->FingerSetzen(wanted.Punkte[i].Bund, wanted.Punkte[i].Saite, wanted.Punkte[i].Finger);
        doc->LeerBereinigen();
    }

    std::unique_ptr<AkkordDepotClass> doc;
    FingersatzSucheClass suche;
};

} // namespace

TEST_F(StoredFingering, AGripBuiltByHandTakesTheStoredChord)
{
    build("x02222");
    EXPECT_EQ(doc->Grundton, KeinTon);
    EXPECT_EQ(suche.Uebernehmen(*doc), 0);
    EXPECT_EQ(doc->Grundton, 6);
    EXPECT_EQ(doc->AkkordTyp, minorSeventh);
    int position = -1;
    EXPECT_EQ(doc->GriffeZaehlen(&position), 1);
    EXPECT_EQ(position, 0) << "the stored grip's position shows";
}

TEST_F(StoredFingering, OtherFingersSoundTheSamePositions)
{
    // Clicked string by string the fingers are 1, 2, 3, 4 or any other order; the frets decide.
    const int orders[][4] = {{1, 2, 3, 4}, {4, 3, 2, 1}, {1, 1, 1, 1}, {2, 3, 1, 4}};
    for (const auto& fingers : orders) {
        doc->Loeschen();
        doc->LeerSetzen(2, true);
        for (int s = 3; s <= 6; ++s)
            doc->FingerSetzen(2, s, fingers[s - 3]);
        FingersatzSucheClass fresh;
        EXPECT_EQ(fresh.Uebernehmen(*doc), 0)
            << "fingers " << fingers[0] << fingers[1] << fingers[2] << fingers[3];
        EXPECT_EQ(doc->Grundton, 6);
        EXPECT_EQ(doc->AkkordTyp, minorSeventh);
        int position = -1;
        doc->GriffeZaehlen(&position);
        EXPECT_EQ(position, 0) << "the stored grip's position shows";
    }
    // A barré under a higher fret sounds nothing of its own.
    build("x32010");
    doc->FingerSetzen(1, 2, 1);
    EXPECT_EQ(FingersatzSucheClass::Suchen(*doc), 1);
}

TEST_F(StoredFingering, OtherFretsOrOtherOpenStringsAreAnotherGrip)
{
    setGrip(*doc, "002222", KeinTon, 0);
    EXPECT_EQ(FingersatzSucheClass::Suchen(*doc), -1) << "the low E rings too";
    setGrip(*doc, "x02223", KeinTon, 0);
    EXPECT_EQ(FingersatzSucheClass::Suchen(*doc), -1);
    setGrip(*doc, "x3201x", KeinTon, 0);
    EXPECT_EQ(FingersatzSucheClass::Suchen(*doc), -1) << "the high E muted";
    EXPECT_EQ(suche.Uebernehmen(*doc), -1);
    EXPECT_EQ(doc->Grundton, KeinTon) << "an unknown fingering keeps its chord";
}

TEST_F(StoredFingering, AnOpenFlagLeftOnAFrettedStringDoesNotCount)
{
    build("x32010");
    doc->LeerSetzen(2, true); // "Alle Saiten spielen" marks the fretted strings too
    EXPECT_TRUE(FingersatzSucheClass::GleicherFingersatz(doc->Daten(), doc->Element(1), 6));
    EXPECT_EQ(suche.Uebernehmen(*doc), 1);
    EXPECT_EQ(doc->Leer[1], 0) << "cleared, as storing does";
    int position = -1;
    doc->GriffeZaehlen(&position);
    EXPECT_EQ(position, 0);
}

TEST_F(StoredFingering, TheGripsOwnChordWinsAmongEqualFingerings)
{
    store("x02222", 9, major); // the same fingering filed a second time, under another chord
    setGrip(*doc, "x02222", 9, major);
    EXPECT_EQ(FingersatzSucheClass::Suchen(*doc), 2);
    doc->AkkordSetzen(KeinTon, 0);
    EXPECT_EQ(FingersatzSucheClass::Suchen(*doc), 0) << "else the first";
}

TEST_F(StoredFingering, TheSameFingersWinAmongGripsOfOneChord)
{
    setGrip(*doc, "x02222", 6, minorSeventh);
    doc->FingerAendern(2, 3, 1);
    const AkkordDatenClass wanted = doc->Daten();
    ASSERT_GT(doc->GriffAufnehmen(), 0) << "other fingers, stored as a grip of their own";
    for (int pass = 0; pass < 2; ++pass) {
        doc->Daten() = wanted;
        if (pass == 1)
            doc->AkkordSetzen(KeinTon, 0);
        const int found = FingersatzSucheClass::Suchen(*doc);
        ASSERT_GE(found, 0);
        EXPECT_EQ(std::memcmp(doc->Element(found).Punkte, wanted.Punkte, sizeof wanted.Punkte), 0)
            << (pass == 0 ? "with its chord" : "without a chord");
    }
}
