#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>

#include "tests/support/MeldungRecorder.h"
#include "tests/support/TestDateien.h"
#include "tests/support/TestTabelle.h"

namespace {

using GripList = TemplateArray<AkkordDatenClass, GriffSlots>;

enum Type { Major, Minor, Seven, MinorSeven };

} // namespace

TEST(Grifftabelle, FreshDocumentIsEmptyAndModified)
{
    auto doc = std::make_unique<AkkordDepotClass>();
    EXPECT_EQ(doc->Anzahl(), 0);
    EXPECT_EQ(doc->TypAnzahl(), 0);
    EXPECT_EQ(doc->Text(0), "");
    EXPECT_EQ(doc->Text(1), "");
    EXPECT_TRUE(doc->IstGeaendert());
    EXPECT_TRUE(doc->InstrumentNurLesen());
    EXPECT_EQ(doc->AlsText(), "E-A-D-G-H-E");
    EXPECT_FALSE(doc->EigeneReihenfolge());
}

TEST(Grifftabelle, StoringRefusesDuplicatesAlsoWithAnotherNumber)
{
    auto doc = tableWithCatalogue();
    setGrip(*doc, "x32010", 0, Major);
    EXPECT_EQ(doc->GriffAufnehmen(), 1);
    EXPECT_EQ(doc->Element(0).Nummer, 0);
    EXPECT_EQ(doc->Nummer, 1) << "the live grip counts on";
    EXPECT_EQ(doc->GriffAufnehmen(), -1);
    doc->Nummer = 42;
    EXPECT_EQ(doc->GriffAufnehmen(), -1);
    EXPECT_EQ(doc->Anzahl(), 1);
}

TEST(Grifftabelle, StoringNormalisesOpenFlagsUnderFingers)
{
    auto doc = tableWithCatalogue();
    setGrip(*doc, "x32010", 0, Major);
    ASSERT_EQ(doc->GriffAufnehmen(), 1);
    doc->LeerSetzen(2, true); // fretted: the flag means nothing
    EXPECT_EQ(doc->GriffAufnehmen(), -1);
    EXPECT_EQ(doc->Element(0).Leer[1], 0);
}

TEST(Grifftabelle, CountingAndFindingByChord)
{
    auto doc = tableWithCatalogue();
    const char* shapes[] = {"x32010", "x35553", "8a", "x3555x"};
    for (const char* shape : shapes) {
        setGrip(*doc, shape, 0, Major);
        ASSERT_GT(doc->GriffAufnehmen(), 0);
    }
    setGrip(*doc, "x02210", 9, Minor);
    ASSERT_GT(doc->GriffAufnehmen(), 0);

    setGrip(*doc, "x35553", 0, Major);
    int position = -2;
    EXPECT_EQ(doc->GriffeZaehlen(&position), 4);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(doc->GriffSuchen(), 1);

    setGrip(*doc, "x3x010", 0, Major);
    EXPECT_EQ(doc->GriffeZaehlen(&position), 4);
    EXPECT_EQ(position, -1) << "not stored";
    EXPECT_EQ(doc->GriffSuchen(), -1);

    int indexes[8];
    EXPECT_EQ(doc->GriffeAuflisten(0, Major, indexes, 8), 4);
    EXPECT_EQ(indexes[3], 3);
    EXPECT_EQ(doc->GriffeAuflisten(9, Minor, indexes, 8), 1);
    EXPECT_EQ(indexes[0], 4);
}

TEST(Grifftabelle, FetchingTheNthGripOfAChord)
{
    auto doc = tableWithCatalogue();
    setGrip(*doc, "x32010", 0, Major);
    doc->GriffAufnehmen();
    setGrip(*doc, "x02210", 9, Minor);
    doc->GriffAufnehmen();
    setGrip(*doc, "x35553", 0, Major);
    doc->GriffAufnehmen();

    doc->Loeschen();
    EXPECT_EQ(doc->GriffHolen(0, Major, true, 1), 2);
    EXPECT_EQ(doc->PunktAnzahl(), 0) << "only found";
    EXPECT_EQ(doc->GriffHolen(0, Major, false, -2), 0);
    EXPECT_EQ(doc->TiefsterBund(), 1);
    EXPECT_EQ(doc->Nummer, 0) << "the stored number comes back";
    EXPECT_EQ(doc->GriffHolen(0, Major, false, 2), -1);
    EXPECT_EQ(doc->GriffHolen(0, Minor, false, 0), -1);
    EXPECT_EQ(doc->GriffHolen(0, Major, false, 1), 2);
    EXPECT_EQ(doc->TiefsterBund(), 3);
}

TEST(Grifftabelle, RemovingGrips)
{
    auto doc = tableWithCatalogue();
    setGrip(*doc, "x32010", 0, Major);
    doc->GriffAufnehmen();
    setGrip(*doc, "x02210", 9, Minor);
    doc->GriffAufnehmen();
    EXPECT_FALSE(doc->GriffEntfernenAn(2));
    EXPECT_FALSE(doc->GriffEntfernenAn(-1));

    MeldungRecorder messages;
    setGrip(*doc, "x3x010", 0, Major);
    EXPECT_FALSE(doc->GriffEntfernen());
    ASSERT_EQ(messages.calls().size(), 1u);
    EXPECT_EQ(messages.calls()[0].first, "Der angezeigt Akkord war nicht gespeichert!");
    EXPECT_EQ(messages.calls()[0].second, "Abbruch");
    EXPECT_EQ(doc->Anzahl(), 2);

    setGrip(*doc, "x32010", 0, Major);
    doc->SetzeGeaendert(false);
    EXPECT_TRUE(doc->GriffEntfernen());
    EXPECT_EQ(doc->Anzahl(), 1);
    EXPECT_EQ(doc->Element(0).Grundton, 9);
    EXPECT_TRUE(doc->IstGeaendert());
}

TEST(Grifftabelle, TheTenThousandAndFirstGripIsRefused)
{
    auto doc = tableWithCatalogue();
    fillTable(*doc, MaxGriffe);
    ASSERT_EQ(doc->Anzahl(), MaxGriffe);
    setGrip(*doc, "x32010", 0, Major);
    EXPECT_EQ(doc->GriffAufnehmen(), -1);
    EXPECT_EQ(doc->Anzahl(), MaxGriffe);
}

TEST(Grifftabelle, ShiftingAGripAlongTheNeck)
{
    auto doc = tableWithCatalogue();
    doc->FingerSetzen(3, 2, 1);
    doc->FingerSetzen(4, 3, 2);
    doc->AkkordSetzen(4, Minor);
    doc->GriffVerschieben(5);
    EXPECT_EQ(doc->Punkt(0).Bund, 5);
    EXPECT_EQ(doc->Punkt(1).Bund, 6);
    EXPECT_EQ(doc->Grundton, 4);
    doc->Loeschen();
    doc->GriffVerschieben(9);
    EXPECT_EQ(doc->PunktAnzahl(), 0);
}

TEST(Grifftabelle, DeletingATypeRenumbersTheGripsThroughAnyBase)
{
    auto doc = tableWithCatalogue();
    doc->TypZufuegen(); // type 4
    for (int type = 0; type < 5; ++type) {
        setGrip(*doc, "x32010", 0, type);
        ASSERT_GT(doc->GriffAufnehmen(), 0);
    }
    ErkennungClass& catalogue = *doc;
    EXPECT_TRUE(catalogue.AkkordtypLoeschen(Seven));
    EXPECT_EQ(doc->TypAnzahl(), 4);
    EXPECT_STREQ(doc->TypName(Seven), "m7");
    ASSERT_EQ(doc->Anzahl(), 4);
    EXPECT_EQ(doc->Element(2).AkkordTyp, 2);
    EXPECT_EQ(doc->Element(3).AkkordTyp, 3);

    GripList& list = *doc;
    EXPECT_TRUE(list.AkkordtypLoeschen(Major));
    EXPECT_EQ(doc->Anzahl(), 3);
    EXPECT_EQ(doc->Element(0).AkkordTyp, 0);
    EXPECT_FALSE(list.AkkordtypLoeschen(7));
}

TEST(Grifftabelle, SwappingTypesSwapsTheirGripsThroughAnyBase)
{
    auto doc = tableWithCatalogue();
    setGrip(*doc, "x32010", 0, Major);
    doc->GriffAufnehmen();
    setGrip(*doc, "x02210", 9, Minor);
    doc->GriffAufnehmen();
    doc->SetzeGeaendert(false);
    GripList& list = *doc;
    EXPECT_TRUE(list.AkkordtypenTauschen(Major, Minor));
    EXPECT_STREQ(doc->TypName(0), "m");
    EXPECT_EQ(doc->Element(0).AkkordTyp, Minor);
    EXPECT_EQ(doc->Element(1).AkkordTyp, Major);
    EXPECT_TRUE(doc->IstGeaendert());
    ErkennungClass& catalogue = *doc;
    EXPECT_TRUE(catalogue.AkkordtypenTauschen(Major, Minor));
    EXPECT_EQ(doc->Element(0).AkkordTyp, Major);
}

TEST(Grifftabelle, ModifiedFlagsCountAsOneThroughAnyBase)
{
    auto doc = tableWithCatalogue();
    NotenClass& names = *doc;
    StimmClass& tuning = *doc;
    ErkennungClass& catalogue = *doc;
    GripList& list = *doc;

    tuning.SetzeGeaendert(false);
    EXPECT_FALSE(doc->IstGeaendert());
    EXPECT_FALSE(names.IstGeaendert());

    doc->TonUmbenennen(11, "B", true);
    EXPECT_TRUE(list.IstGeaendert()) << "a renamed note counts for the whole document";
    names.SetzeGeaendert(false);
    EXPECT_FALSE(catalogue.IstGeaendert());

    setGrip(*doc, "x32010", 0, Major);
    doc->GriffAufnehmen();
    EXPECT_TRUE(names.IstGeaendert()) << "a stored grip counts for the whole document";
    catalogue.SetzeGeaendert(false);
    EXPECT_FALSE(tuning.IstGeaendert());

    doc->SaitenTauschen(0, 1);
    EXPECT_TRUE(catalogue.IstGeaendert());
    list.SetzeGeaendert(false);
    doc->TypZufuegen();
    EXPECT_TRUE(tuning.IstGeaendert());
}

TEST(Grifftabelle, ResetKeepsTuningAndOptionallyTheCatalogue)
{
    auto doc = tableWithCatalogue();
    doc->SaiteEntfernen(5);
    setGrip(*doc, "x32010", 0, Major);
    doc->GriffAufnehmen();
    doc->SetzeText(0, "Laute");
    doc->Zuruecksetzen(false);
    EXPECT_EQ(doc->Anzahl(), 0);
    EXPECT_EQ(doc->Nummer, 0);
    EXPECT_EQ(doc->TypAnzahl(), 4);
    EXPECT_EQ(doc->Text(0), "");
    EXPECT_EQ(doc->SaitenAnzahl(), 5);
    EXPECT_EQ(doc->PunktAnzahl(), 3) << "the fingers stay";
    EXPECT_TRUE(doc->IstGeaendert());
    doc->Zuruecksetzen(true);
    EXPECT_EQ(doc->TypAnzahl(), 0);
}

TEST(Grifftabelle, SortingByRootTypeAndLowestFret)
{
    auto doc = tableWithCatalogue();
    setGrip(*doc, "x35553", 0, Minor);
    doc->GriffAufnehmen();
    setGrip(*doc, "x02210", 9, Minor);
    doc->GriffAufnehmen();
    setGrip(*doc, "x32010", 0, Minor);
    doc->GriffAufnehmen();
    setGrip(*doc, "x3x010", 0, Major);
    doc->GriffAufnehmen();

    doc->SetzeEigeneReihenfolge(true);
    EXPECT_EQ(doc->Element(0).Grundton, 0);
    EXPECT_EQ(doc->Element(1).Grundton, 9) << "manual order leaves the list alone";

    doc->SetzeEigeneReihenfolge(false);
    EXPECT_EQ(doc->Element(0).AkkordTyp, Major);
    EXPECT_EQ(doc->Element(1).AkkordTyp, Minor);
    EXPECT_EQ(TiefsterBundVon(doc->Element(1)), 1);
    EXPECT_EQ(TiefsterBundVon(doc->Element(2)), 3);
    EXPECT_EQ(doc->Element(3).Grundton, 9);
}

TEST(Grifftabelle, FastSortGivesExactlyTheBubbleSortOrder)
{
    std::mt19937 random(1234);
    auto fast = tableWithCatalogue();
    fillTable(*fast, 3000);
    // Shuffle, with many equal keys, so stability matters.
    for (int i = fast->Anzahl() - 1; i > 0; --i)
        std::swap(fast->Element(i), fast->Element(static_cast<int>(random() % (i + 1))));
    auto bubble = std::make_unique<AkkordDepotClass>();
    for (int i = 0; i < fast->Anzahl(); ++i)
        bubble->Anhaengen(fast->Element(i));

    fast->SetzeEigeneReihenfolge(false);
    bubble->BlasenSortieren();
    ASSERT_EQ(fast->Anzahl(), bubble->Anzahl());
    for (int i = 0; i < fast->Anzahl(); ++i)
        ASSERT_EQ(std::memcmp(&fast->Element(i), &bubble->Element(i), sizeof(AkkordDatenClass)), 0) << i;
}
