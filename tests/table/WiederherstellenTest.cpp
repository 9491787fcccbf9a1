#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "tests/support/TestTabelle.h"

namespace {

std::vector<int> numbers(const AkkordDepotClass& doc)
{
    std::vector<int> result;
    for (int i = 0; i < doc.Anzahl(); ++i)
        result.push_back(doc.Element(i).Nummer);
    return result;
}

void numbered(AkkordDepotClass& doc, int count)
{
    for (int i = 0; i < count; ++i) {
        AkkordDatenClass griff;
        griff.Nummer = i;
        griff.Grundton = static_cast<std::uint8_t>((count - i) % 12);
        griff.AkkordTyp = i % 3;
        doc.Anhaengen(griff);
    }
}

} // namespace

TEST(Wiederherstellen, InsertingPutsRemovedGripsBackInPlace)
{
    auto doc = tableWithCatalogue();
    numbered(*doc, 10);
    const std::vector<int> before = numbers(*doc);
    const int indexes[3] = {0, 4, 9};
    AkkordDatenClass removed[3] = {doc->Element(0), doc->Element(4), doc->Element(9)};
    for (int k = 2; k >= 0; --k)
        ASSERT_TRUE(doc->GriffEntfernenAn(indexes[k]));
    doc->SetzeGeaendert(false);
    ASSERT_TRUE(doc->GriffeEinfuegen(indexes, removed, 3));
    EXPECT_EQ(numbers(*doc), before);
    EXPECT_TRUE(doc->IstGeaendert());
}

TEST(Wiederherstellen, InsertingRefusesBadIndexesAndAFullList)
{
    auto doc = tableWithCatalogue();
    numbered(*doc, 4);
    const std::vector<int> before = numbers(*doc);
    AkkordDatenClass two[2];
    const int unordered[2] = {3, 1};
    const int outside[2] = {1, 6};
    const int negative[1] = {-1};
    EXPECT_FALSE(doc->GriffeEinfuegen(unordered, two, 2));
    EXPECT_FALSE(doc->GriffeEinfuegen(outside, two, 2));
    EXPECT_FALSE(doc->GriffeEinfuegen(negative, two, 1));
    EXPECT_EQ(numbers(*doc), before);

    auto full = tableWithCatalogue();
    numbered(*full, MaxGriffe);
    const int last[1] = {0};
    EXPECT_FALSE(full->GriffeEinfuegen(last, two, 1));
    EXPECT_EQ(full->Anzahl(), MaxGriffe);
}

TEST(Wiederherstellen, SortOrderIsTheOrderTheSortGives)
{
    auto doc = tableWithCatalogue();
    numbered(*doc, 200);
    auto sorted = std::make_unique<AkkordDepotClass>(*doc);
    std::vector<int> order(static_cast<std::size_t>(doc->Anzahl()));
    doc->SortierFolge(order.data());
    sorted->SetzeEigeneReihenfolge(false);
    for (int i = 0; i < doc->Anzahl(); ++i)
        EXPECT_EQ(sorted->Element(i).Nummer, doc->Element(order[static_cast<std::size_t>(i)]).Nummer);
}

TEST(Wiederherstellen, ReorderingAndItsInverseRestoreTheList)
{
    auto doc = tableWithCatalogue();
    numbered(*doc, 50);
    const std::vector<int> before = numbers(*doc);
    std::vector<int> order(50);
    doc->SortierFolge(order.data());
    ASSERT_TRUE(doc->GriffeUmordnen(order.data(), 50));
    EXPECT_NE(numbers(*doc), before);
    std::vector<int> inverse(50);
    for (int i = 0; i < 50; ++i)
        inverse[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] = i;
    ASSERT_TRUE(doc->GriffeUmordnen(inverse.data(), 50));
    EXPECT_EQ(numbers(*doc), before);
}

TEST(Wiederherstellen, ReorderingRefusesWhatIsNoPermutation)
{
    auto doc = tableWithCatalogue();
    numbered(*doc, 4);
    const std::vector<int> before = numbers(*doc);
    const int twice[4] = {0, 1, 1, 2};
    const int outside[4] = {0, 1, 2, 4};
    const int identity[4] = {0, 1, 2, 3};
    EXPECT_FALSE(doc->GriffeUmordnen(twice, 4));
    EXPECT_FALSE(doc->GriffeUmordnen(outside, 4));
    EXPECT_FALSE(doc->GriffeUmordnen(identity, 3));
    EXPECT_EQ(numbers(*doc), before);
}

TEST(Wiederherstellen, CatalogueIsSetAsAWholeAndRecognisesAgain)
{
    auto doc = tableWithCatalogue();
    auto other = tableWithCatalogue();
    ASSERT_TRUE(other->TypZufuegen());
    other->TypUmbenennen(4, "sus4");
    ASSERT_TRUE(other->IntervallZufuegen(4, 5, false));
    std::vector<AkkordTypClass> types;
    for (int t = 0; t < other->TypAnzahl(); ++t)
        types.push_back(other->Typ(t));
    doc->SetzeGeaendert(false);
    ASSERT_TRUE(doc->KatalogSetzen(types.data(), static_cast<int>(types.size())));
    EXPECT_TRUE(doc->IstGeaendert());
    ASSERT_EQ(doc->TypAnzahl(), 5);
    EXPECT_EQ(std::memcmp(&doc->Typ(4), &other->Typ(4), sizeof(AkkordTypClass)), 0);
    EXPECT_FALSE(doc->KatalogSetzen(types.data(), MaxTypen + 1));
    EXPECT_EQ(doc->TypAnzahl(), 5);
    ASSERT_TRUE(doc->KatalogSetzen(types.data(), 4));
    setGrip(*doc, "x32010", 0, 0);
    EXPECT_GT(doc->Erkennen(), 0) << "the recognition sees the catalogue that was set";
}
