#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/TestDateien.h"
#include "tests/support/TestTabelle.h"

namespace {

// A version-01 file: the same blocks without texts and checksum, with 236-byte grip records.
std::string versionOneFile(const AkkordDepotClass& doc)
{
    std::string file("ZW01\0", 5);
    auto putInt = [&file](std::int32_t value) { file.append(reinterpret_cast<const char*>(&value), 4); };
    putInt(doc.TypAnzahl());
    for (int t = 0; t < doc.TypAnzahl(); ++t)
        file.append(reinterpret_cast<const char*>(&doc.Typ(t)), sizeof(AkkordTypClass));
    putInt(doc.Nummer);
    putInt(doc.Anzahl());
    for (int g = 0; g < doc.Anzahl(); ++g) {
        const char* record = reinterpret_cast<const char*>(&doc.Element(g));
        file.append(record, 9);
        file.append("\x11\x22\x33\x44", 4); // the four bytes the old record had in addition
        file.append(record + 9, 232 - 9);
    }
    file.append(reinterpret_cast<const char*>(doc.NamenTabelle()), 221);
    putInt(doc.SaitenAnzahl());
    for (int s = 1; s <= doc.SaitenAnzahl(); ++s) {
        StimmSaiteClass string;
        doc.SaiteLesen(s, &string);
        file.append(reinterpret_cast<const char*>(&string), sizeof string);
    }
    return file;
}

class Conversion : public testing::Test
{
protected:
    void SetUp() override
    {
        original = tableWithCatalogue();
        setGrip(*original, "x32010", 0, 0);
        original->GriffAufnehmen();
        setGrip(*original, "x02210", 9, 1);
        original->GriffAufnehmen();
        old = versionOneFile(*original);
        path = folder.file("old.cho");
        writeFile(path, old);
    }

    TempFolder folder;
    std::unique_ptr<AkkordDepotClass> original;
    std::string old;
    std::string path;
};

} // namespace

TEST_F(Conversion, OldFileIsNotReadWithoutConversion)
{
    auto doc = std::make_unique<AkkordDepotClass>();
    EXPECT_EQ(doc->Laden(path), LadenFalscheKennung);
}

TEST_F(Conversion, ConvertedFileGrowsByFourBytesAndLoads)
{
    ASSERT_TRUE(AkkordDepotClass::Konvertieren(path));
    const std::string converted = readFile(path);
    EXPECT_EQ(converted.size(), old.size() + 4);
    EXPECT_EQ(converted.substr(0, 5), std::string("ZW02\0", 5));

    auto doc = std::make_unique<AkkordDepotClass>();
    ASSERT_EQ(doc->Laden(path), LadenOk);
    EXPECT_EQ(doc->Text(0), "");
    EXPECT_EQ(doc->Text(1), "");
    EXPECT_EQ(doc->TypAnzahl(), 4);
    ASSERT_EQ(doc->Anzahl(), 2);
    for (int g = 0; g < 2; ++g)
        EXPECT_EQ(std::memcmp(&doc->Element(g), &original->Element(g), sizeof(AkkordDatenClass)), 0) << g;
    EXPECT_EQ(doc->Nummer, original->Nummer);
}

TEST_F(Conversion, NothingButACompleteVersionOneFileIsTouched)
{
    struct Case
    {
        const char* what;
        std::string bytes;
    };
    std::string hugeGrips = old;
    const std::int32_t tooMany = MaxGriffe + 1;
    std::memcpy(&hugeGrips[5 + 4 + 4 * 72 + 4], &tooMany, 4);
    std::string negativeTypes = old;
    const std::int32_t negative = -3;
    std::memcpy(&negativeTypes[5], &negative, 4);
    std::string otherVersion = old;
    otherVersion[3] = '3';
    const Case cases[] = {
        {"truncated", old.substr(0, old.size() - 3)}, {"too many grips", hugeGrips},
        {"negative type count", negativeTypes},       {"version 03", otherVersion},
        {"foreign", "no chord table at all"},
    };
    for (const Case& c : cases) {
        writeFile(path, c.bytes);
        EXPECT_FALSE(AkkordDepotClass::Konvertieren(path)) << c.what;
        EXPECT_EQ(readFile(path), c.bytes) << c.what;
    }
    EXPECT_FALSE(AkkordDepotClass::Konvertieren(folder.file("missing.cho")));
}

TEST_F(Conversion, CurrentFilesAreLeftAsTheyAre)
{
    ASSERT_TRUE(original->Speichern(path));
    const std::string current = readFile(path);
    EXPECT_FALSE(AkkordDepotClass::Konvertieren(path));
    EXPECT_EQ(readFile(path), current);
}
