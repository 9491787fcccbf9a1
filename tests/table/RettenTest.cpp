#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

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

    // A broken type count right after the magic is outvoted by the grip records behind it.
    std::string damaged = bytes;
    damaged[5] = 99;
    writeFile(path, damaged);
    EXPECT_EQ(doc->Retten(path), MaxGriffe);
    EXPECT_EQ(doc->TypAnzahl(), MaxTypen);
}

namespace {

// Names and tuning a user could have typed: terminated, without control characters.
template <std::size_t N> bool printable(const char (&field)[N])
{
    const void* end = std::memchr(field, '\0', N);
    if (!end)
        return false;
    for (const char* c = field; c != end; ++c) {
        if (static_cast<unsigned char>(*c) < 0x20)
            return false;
    }
    return true;
}

} // namespace

// Every single damaged byte of the header, of every count and of three grip records, and random
// damaged bytes and cuts anywhere: at least all grips but one stay, and what is taken over beside them
// is either what the file held or the default of a new table, never bytes from the wrong place.
TEST_F(Rescue, AnySingleDamagedByteKeepsAllButAtMostOneGrip)
{
    auto fresh = std::make_unique<AkkordDepotClass>();
    fresh->StandardNamen();
    fresh->Standardstimmung();
    const std::size_t tailAt = gripAt(MaxGriffe);
    const std::size_t stringsAt = tailAt + 221;
    const std::size_t instrumentAt = stringsAt + 4 + 8 * 6;
    const std::size_t infoAt = instrumentAt + 4 + 6;
    ASSERT_EQ(bytes.size(), infoAt + 4 + 5 + 4);

    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < typesAt; ++i)
        positions.push_back(i); // magic and type count
    for (std::size_t i = gripAt(0) - 8; i < gripAt(0); ++i)
        positions.push_back(i); // grip counter and grip count
    for (std::size_t i = 0; i < 4; ++i) {
        positions.push_back(stringsAt + i);
        positions.push_back(instrumentAt + i);
        positions.push_back(infoAt + i);
    }
    for (const int grip : {0, MaxGriffe / 2, MaxGriffe - 1}) {
        for (std::size_t i = 0; i < gripRecord; ++i)
            positions.push_back(gripAt(grip) + i);
    }
    struct Damage
    {
        std::size_t at;
        unsigned char mask;
    };
    std::vector<Damage> damages;
    for (const std::size_t at : positions) {
        for (const unsigned char mask : {0x01, 0x80, 0xFF})
            damages.push_back({at, mask});
    }
    std::mt19937 random(20261209);
    std::uniform_int_distribution<std::size_t> anywhere(0, bytes.size() - 1);
    std::uniform_int_distribution<int> anyMask(1, 255);
    for (int i = 0; i < 2000; ++i)
        damages.push_back({anywhere(random), static_cast<unsigned char>(anyMask(random))});

    auto doc = rescued();
    std::string damaged = bytes;
    for (const Damage& damage : damages) {
        damaged[damage.at] = static_cast<char>(damaged[damage.at] ^ damage.mask);
        const bool inNames = damage.at >= tailAt && damage.at < stringsAt;
        const bool inTuning = damage.at >= stringsAt && damage.at < instrumentAt;
        ASSERT_GE(doc->RettenAus(damaged), MaxGriffe - 1) << damage.at << " ^ " << int(damage.mask);
        ASSERT_EQ(doc->Pruefen(), PruefOk) << damage.at;
        ASSERT_EQ(doc->TypAnzahl(), MaxTypen) << damage.at;
        for (int n = 0; n < AnzahlNotenNamen; ++n) {
            const NotenNameClass& name = doc->NamenTabelle()[n];
            ASSERT_TRUE(printable(name.Kurzname) && printable(name.Langname)) << damage.at;
            if (!inNames) {
                ASSERT_EQ(std::memcmp(&name, &original->NamenTabelle()[n], sizeof name), 0) << damage.at;
            }
        }
        ASSERT_EQ(doc->SaitenAnzahl(), 6) << damage.at;
        if (!inTuning && !inNames) {
            for (int k = 0; k < 6; ++k) {
                ASSERT_EQ(doc->SaiteLesen(k + 1), original->SaiteLesen(k + 1)) << damage.at;
            }
        }
        const RettungsBericht& bericht = doc->Rettungsbericht();
        ASSERT_TRUE(doc->Text(0) == "Laute" || (doc->Text(0).empty() && !bericht.instrument)) << damage.at;
        ASSERT_TRUE(doc->Text(1) == "Info" || (doc->Text(1).empty() && !bericht.info)) << damage.at;
        ASSERT_EQ(bericht.griffe, doc->Anzahl());
        damaged[damage.at] = bytes[damage.at];
    }

    // Cut anywhere: every grip before the cut stays, and the rest keeps the defaults.
    std::uniform_int_distribution<std::size_t> cutAt(5, bytes.size() - 1);
    for (int i = 0; i < 200; ++i) {
        const std::size_t cut = cutAt(random);
        const int complete = cut < gripAt(0) ? 0 : std::min<int>(MaxGriffe, (cut - gripAt(0)) / gripRecord);
        ASSERT_GE(doc->RettenAus(std::string_view(bytes).substr(0, cut)), complete) << cut;
        ASSERT_EQ(doc->Pruefen(), PruefOk) << cut;
        for (int n = 0; n < AnzahlNotenNamen; ++n) {
            const NotenNameClass& name = doc->NamenTabelle()[n];
            const bool taken = std::memcmp(&name, &original->NamenTabelle()[n], sizeof name) == 0;
            const bool standard = std::memcmp(&name, &fresh->NamenTabelle()[n], sizeof name) == 0;
            ASSERT_TRUE(taken || standard) << cut;
        }
        ASSERT_TRUE(doc->SaitenAnzahl() == 6) << cut;
        ASSERT_TRUE(doc->Text(0) == "Laute" || doc->Text(0).empty()) << cut;
    }
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
