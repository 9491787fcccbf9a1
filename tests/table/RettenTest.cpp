#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/TestDateien.h"
#include "tests/support/TestTabelle.h"

namespace {

constexpr std::size_t typesAt = 9;      // behind the magic and the type count
constexpr std::size_t gripRecord = 232; // bytes of one stored grip

class Rescue : public testing::Test
{
protected:
    void SetUp() override
    {
        original = tableWithCatalogue();
        fillCatalogue(*original, MaxTypen);
        fillTable(*original, MaxGriffe);
        original->SetzeText(0, "Laute");
        original->SetzeText(1, "Info");
        path = folder.file("Tabelle.cho");
        ASSERT_TRUE(original->Speichern(path));
        bytes = readFile(path);
    }

    std::size_t gripAt(int index) const
    {
        return typesAt + 72 * static_cast<std::size_t>(original->TypAnzahl()) + 8 + gripRecord * index;
    }

    // The current grip that a rescue must not touch.
    std::unique_ptr<AkkordDepotClass> rescued()
    {
        auto doc = std::make_unique<AkkordDepotClass>();
        doc->Loeschen();
        doc->FingerSetzen(5, 3, 2);
        return doc;
    }

    TempFolder folder;
    std::unique_ptr<AkkordDepotClass> original;
    std::string path;
    std::string bytes;
};

} // namespace

TEST_F(Rescue, OneChangedByteInAGripCostsAtMostThatGrip)
{
    std::string damaged = bytes;
    damaged[gripAt(4711) + 8] = 99; // the chord type of one grip, far outside the catalogue
    writeFile(path, damaged);
    auto doc = rescued();
    EXPECT_EQ(doc->Laden(path), LadenZerstoert);

    doc = rescued();
    EXPECT_EQ(doc->Retten(path), MaxGriffe - 1);
    EXPECT_EQ(doc->TypAnzahl(), MaxTypen);
    EXPECT_EQ(doc->Text(0), "Laute");
    EXPECT_EQ(doc->Text(1), "Info");
    EXPECT_TRUE(doc->IstGeaendert());
    EXPECT_EQ(doc->PunktAnzahl(), 1) << "the current grip stays";
    EXPECT_EQ(doc->Pruefen(), PruefOk);

    // A changed byte that breaks no range only fails the checksum: every grip is kept.
    damaged = bytes;
    damaged[gripAt(100) + 225] ^= 1; // an open-string flag
    writeFile(path, damaged);
    doc = rescued();
    EXPECT_EQ(doc->Retten(path), MaxGriffe);
}

TEST_F(Rescue, ACutFileKeepsEveryGripBeforeTheCut)
{
    writeFile(path, bytes.substr(0, gripAt(1234) + 100));
    auto doc = rescued();
    EXPECT_EQ(doc->Retten(path), 1234);
    for (int i = 0; i < 1234; ++i)
        ASSERT_TRUE(GleicherGriff(doc->Element(i), original->Element(i))) << i;
    EXPECT_EQ(doc->SaitenAnzahl(), 6) << "the standard tuning for the missing part";
    EXPECT_EQ(doc->Text(0), "");
}

TEST_F(Rescue, ADamagedChordTypeIsRepairedSoItsGripsStayFiled)
{
    std::string damaged = bytes;
    damaged[typesAt + 72 * 3 + 24 + 4] = 77; // an unknown interval code in type 3
    damaged[typesAt + 72 * 5 + 19] = 'x';    // a name without its terminating zero
    writeFile(path, damaged);
    auto doc = rescued();
    EXPECT_EQ(doc->Laden(path), LadenZerstoert);
    doc = rescued();
    EXPECT_EQ(doc->Retten(path), MaxGriffe);
    EXPECT_EQ(doc->TypAnzahl(), MaxTypen);
    EXPECT_EQ(doc->IntervallAnzahl(3), original->IntervallAnzahl(3) - 1);
    EXPECT_EQ(doc->Pruefen(), PruefOk);
}

TEST_F(Rescue, NoChordTableLeavesTheDocumentAlone)
{
    writeFile(path, "ZW01 something else");
    auto doc = rescued();
    doc->SetzeText(0, "bleibt");
    EXPECT_EQ(doc->Retten(path), -1);
    EXPECT_EQ(doc->Text(0), "bleibt");
    EXPECT_EQ(doc->Retten(folder.file("fehlt.cho")), -1);

    // A broken count right after the magic leaves nothing to take over but the defaults.
    std::string damaged = bytes;
    damaged[5] = 99;
    writeFile(path, damaged);
    EXPECT_EQ(doc->Retten(path), 0);
    EXPECT_EQ(doc->TypAnzahl(), 0);
    EXPECT_EQ(doc->SaitenAnzahl(), 6);
}

TEST_F(Rescue, EveryRescuedDocumentSavesAndLoadsAgain)
{
    for (std::size_t cut : {std::size_t{7}, typesAt + 50, gripAt(0) - 2, gripAt(9999) + 231, bytes.size() - 3}) {
        writeFile(path, bytes.substr(0, cut));
        auto doc = rescued();
        ASSERT_GE(doc->Retten(path), 0) << cut;
        const std::string copy = folder.file("Kopie.cho");
        ASSERT_TRUE(doc->Speichern(copy)) << cut;
        auto loaded = std::make_unique<AkkordDepotClass>();
        EXPECT_EQ(loaded->Laden(copy), LadenOk) << cut;
        EXPECT_EQ(loaded->Anzahl(), doc->Anzahl()) << cut;
    }
}
