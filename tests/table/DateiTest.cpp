#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "tests/support/TestDateien.h"
#include "tests/support/TestTabelle.h"
#include "theory/Zeichensatz.h"

namespace {

enum Type { Major, Minor };

// Offsets in a file with `types` chord types and `grips` grips.
struct Layout
{
    int types;
    int grips;
    std::size_t typeCount() const { return 5; }
    std::size_t type(int t) const { return 9 + 72 * static_cast<std::size_t>(t); }
    std::size_t gripCount() const { return type(types) + 4; }
    std::size_t grip(int g) const { return gripCount() + 4 + 232 * static_cast<std::size_t>(g); }
    std::size_t names() const { return grip(grips); }
    std::size_t stringCount() const { return names() + 221; }
    std::size_t string(int s) const { return stringCount() + 4 + 8 * static_cast<std::size_t>(s); }
    std::size_t instrumentLength() const { return string(6); }
};

void putInt(std::string& bytes, std::size_t offset, std::int32_t value)
{
    std::memcpy(&bytes[offset], &value, 4);
}

// Every count within capacity, every index in range: what any later caller relies on.
void expectSafe(const AkkordDepotClass& doc, const char* what)
{
    EXPECT_GE(doc.TypAnzahl(), 0) << what;
    EXPECT_LE(doc.TypAnzahl(), MaxTypen) << what;
    for (int t = 0; t < doc.TypAnzahl(); ++t)
        EXPECT_LE(doc.IntervallAnzahl(t), MaxIntervalle) << what;
    EXPECT_GE(doc.SaitenAnzahl(), 1) << what;
    EXPECT_LE(doc.SaitenAnzahl(), MaxSaiten) << what;
    for (int s = 1; s <= doc.SaitenAnzahl(); ++s)
        EXPECT_LT(doc.SaiteLesen(s), 12) << what;
    EXPECT_LE(doc.Anzahl(), MaxGriffe) << what;
    for (int g = 0; g < doc.Anzahl(); ++g) {
        const AkkordDatenClass& griff = doc.Element(g);
        EXPECT_LT(griff.AkkordTyp, doc.TypAnzahl()) << what;
        EXPECT_LE(griff.PunktAnzahl, MaxPunkte) << what;
    }
}

class TableFile : public testing::Test
{
protected:
    void SetUp() override
    {
        doc = tableWithCatalogue();
        setGrip(*doc, "x32010", 0, Major);
        doc->GriffAufnehmen();
        setGrip(*doc, "x02210", 9, Minor);
        doc->GriffAufnehmen();
        doc->SetzeText(0, "Gitarre");
        doc->SetzeText(1, "Info");
        path = folder.file("t.cho");
        ASSERT_TRUE(doc->Speichern(path));
        bytes = readFile(path);
    }

    // Writes a damaged copy and loads it into a fresh document.
    int loadDamaged(const std::string& damaged)
    {
        writeFile(path, damaged);
        loaded = std::make_unique<AkkordDepotClass>();
        return loaded->Laden(path);
    }

    TempFolder folder;
    std::unique_ptr<AkkordDepotClass> doc;
    std::unique_ptr<AkkordDepotClass> loaded;
    std::string path;
    std::string bytes;
    const Layout layout{4, 2};
};

} // namespace

TEST(TabellenDatei, EmptyTableSizeDependsOnTheStringCount)
{
    TempFolder folder;
    auto doc = std::make_unique<AkkordDepotClass>();
    ASSERT_TRUE(doc->Speichern(folder.file("six.cho")));
    EXPECT_EQ(readFile(folder.file("six.cho")).size(), 302u);
    EXPECT_FALSE(doc->IstGeaendert());
    doc->SaiteEntfernen(0);
    doc->SaiteEntfernen(0);
    ASSERT_TRUE(doc->Speichern(folder.file("four.cho")));
    EXPECT_EQ(readFile(folder.file("four.cho")).size(), 254u + 8u * 4u);

    auto read = std::make_unique<AkkordDepotClass>();
    EXPECT_EQ(read->Laden(folder.file("four.cho")), LadenOk);
    EXPECT_EQ(read->SaitenAnzahl(), 4);
    EXPECT_EQ(read->AlsText(), "D-G-H-E");
    EXPECT_FALSE(read->IstGeaendert());
}

TEST_F(TableFile, LayoutAndChecksumOfTheBlocks)
{
    ASSERT_EQ(bytes.substr(0, 5), std::string("ZW02\0", 5));
    ASSERT_EQ(bytes.size(), layout.instrumentLength() + 4 + 8 + 4 + 5 + 4);
    std::int32_t value = 0;
    std::memcpy(&value, &bytes[layout.typeCount()], 4);
    EXPECT_EQ(value, 4);
    std::memcpy(&value, &bytes[layout.gripCount()], 4);
    EXPECT_EQ(value, 2);
    std::memcpy(&value, &bytes[layout.gripCount() - 4], 4);
    EXPECT_EQ(value, 1) << "the next grip number: clearing the grip reset it before the second store";
    EXPECT_EQ(bytes.substr(layout.instrumentLength() + 4, 8), std::string("Gitarre\0", 8));

    // Recompute the checksum block by block.
    const std::size_t blocks[] = {4, 72 * 4, 4, 4, 232 * 2, 221, 4, 48, 4, 8, 4, 5};
    std::int32_t expected = 0;
    std::size_t at = 5;
    for (std::size_t size : blocks) {
        expected =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(expected) +
                                      static_cast<std::uint32_t>(ChecksumClass::blockSum(&bytes[at], size)));
        at += size;
    }
    std::memcpy(&value, &bytes[at], 4);
    EXPECT_EQ(value, expected);
    EXPECT_EQ(at + 4, bytes.size());
}

TEST_F(TableFile, RoundTripKeepsEverything)
{
    doc->TonUmbenennen(11, "B", true);
    std::string cp1252;
    ASSERT_TRUE(utf8ToCp1252("Laute für Anfänger – 5 €", cp1252));
    doc->SetzeText(0, cp1252);
    doc->SaiteEntfernen(5);
    ASSERT_TRUE(doc->Speichern(path));

    auto read = std::make_unique<AkkordDepotClass>();
    ASSERT_EQ(read->Laden(path), LadenOk);
    EXPECT_EQ(cp1252ToUtf8(read->Text(0)), "Laute für Anfänger – 5 €");
    EXPECT_EQ(read->Text(1), "Info");
    EXPECT_EQ(read->AlsText(), "E-A-D-G-B");
    EXPECT_EQ(read->TypAnzahl(), 4);
    EXPECT_EQ(read->IntervallText(0), "1-3-(5)");
    ASSERT_EQ(read->Anzahl(), 2);
    EXPECT_EQ(std::memcmp(&read->Element(1), &doc->Element(1), sizeof(AkkordDatenClass)), 0);
    EXPECT_EQ(read->Nummer, doc->Nummer);
    EXPECT_FALSE(read->IstGeaendert());

    ASSERT_TRUE(read->Speichern(folder.file("again.cho")));
    EXPECT_EQ(readFile(folder.file("again.cho")), readFile(path));
}

TEST_F(TableFile, ReadingAndWritingThroughTheTuningCoverTheWholeBody)
{
    StimmClass& tuning = *doc;
    std::stringstream body;
    ASSERT_TRUE(tuning.Schreiben(body));
    EXPECT_EQ(std::string("ZW02\0", 5) + body.str(), bytes.substr(0, bytes.size() - 4));

    auto read = std::make_unique<AkkordDepotClass>();
    ErkennungClass& catalogue = *read;
    catalogue.checksumClear();
    ASSERT_TRUE(catalogue.Einlesen(body));
    EXPECT_EQ(read->Anzahl(), 2);
    EXPECT_EQ(read->Text(1), "Info");
}

TEST_F(TableFile, UnreadableOrForeignFilesLeaveTheDocumentAlone)
{
    auto target = tableWithCatalogue();
    setGrip(*target, "x32010", 0, Major);
    target->GriffAufnehmen();
    EXPECT_EQ(target->Laden(folder.file("missing.cho")), LadenNichtLesbar);
    writeFile(folder.file("foreign.cho"), "hello world, this is no chord table");
    EXPECT_EQ(target->Laden(folder.file("foreign.cho")), LadenFalscheKennung);
    writeFile(folder.file("empty.cho"), "");
    EXPECT_EQ(target->Laden(folder.file("empty.cho")), LadenFalscheKennung);
    std::string old = bytes;
    old[3] = '1';
    writeFile(folder.file("old.cho"), old);
    EXPECT_EQ(target->Laden(folder.file("old.cho")), LadenFalscheKennung);
    EXPECT_EQ(target->Anzahl(), 1);
    EXPECT_TRUE(target->IstGeaendert());
}

TEST_F(TableFile, AlteredChecksumReadsAsDamagedAndUnmodified)
{
    std::string damaged = bytes;
    damaged[damaged.size() - 1] ^= 0x40;
    EXPECT_EQ(loadDamaged(damaged), LadenZerstoert);
    EXPECT_EQ(loaded->Anzahl(), 2) << "what was read stays for the caller to clear";
    EXPECT_FALSE(loaded->IstGeaendert());
    EXPECT_EQ(loadDamaged(bytes.substr(0, bytes.size() - 2)), LadenZerstoert);
}

TEST_F(TableFile, HostileFilesAreDamagedAndLeaveASafeDocument)
{
    struct Case
    {
        const char* what;
        std::size_t offset;
        std::int32_t value;
    };
    const Case cases[] = {
        {"41 types", layout.typeCount(), 41},
        {"negative type count", layout.typeCount(), -1},
        {"huge type count", layout.typeCount(), 0x7fffffff},
        {"7 intervals", layout.type(1) + 20, 7},
        {"interval code 18", layout.type(1) + 24 + 8 + 4, 18},
        {"10001 grips", layout.gripCount(), MaxGriffe + 1},
        {"negative grip count", layout.gripCount(), -5},
        {"13 finger entries", layout.grip(0) + 12, 13},
        {"negative finger entries", layout.grip(0) + 12, -1},
        {"string 7", layout.grip(1) + 16 + 4, 7},
        {"string 0", layout.grip(1) + 16 + 4, 0},
        {"finger 5", layout.grip(0) + 16 + 8, 5},
        {"fret 0", layout.grip(0) + 16, 0},
        {"root 13", layout.grip(0) + 4, 13},
        {"type outside the catalogue", layout.grip(1) + 8, 4},
        {"negative type", layout.grip(1) + 8, -1},
        {"7 strings", layout.stringCount(), 7},
        {"negative string count", layout.stringCount(), -2},
        {"note 12", layout.string(2), 12},
        {"instrument length beyond the file", layout.instrumentLength(), 100000},
        {"huge instrument length", layout.instrumentLength(), 0x7fffffff},
        {"negative instrument length", layout.instrumentLength(), -1},
    };
    for (const Case& c : cases) {
        std::string damaged = bytes;
        if (c.what == std::string("root 13") || c.what == std::string("note 12"))
            damaged[c.offset] = static_cast<char>(c.value);
        else
            putInt(damaged, c.offset, c.value);
        EXPECT_EQ(loadDamaged(damaged), LadenZerstoert) << c.what;
        expectSafe(*loaded, c.what);
    }
}

TEST_F(TableFile, TruncatedFilesAreDamagedAtEveryLength)
{
    for (std::size_t length = 5; length < bytes.size(); length += 7) {
        EXPECT_EQ(loadDamaged(bytes.substr(0, length)), LadenZerstoert) << length;
        expectSafe(*loaded, "truncated");
    }
}

TEST_F(TableFile, ZeroStringsInTheFileReadAsTheDefaultTuning)
{
    doc->SaiteEntfernen(0);
    ASSERT_TRUE(doc->Speichern(path));
    std::string file = readFile(path);
    const Layout five{4, 2};
    // Drop the five string records and store a count of 0; then fix the checksum by saving through a
    // document that reads it back.
    std::string zero =
        file.substr(0, five.stringCount()) + std::string(4, '\0') + file.substr(five.string(5));
    std::int32_t sum = 0;
    {
        std::stringstream body(zero.substr(5, zero.size() - 9));
        auto probe = std::make_unique<AkkordDepotClass>();
        probe->checksumClear();
        ASSERT_TRUE(probe->Einlesen(body));
        sum = probe->checksumValue();
        EXPECT_EQ(probe->SaitenAnzahl(), 6);
    }
    putInt(zero, zero.size() - 4, sum);
    EXPECT_EQ(loadDamaged(zero), LadenOk);
    EXPECT_EQ(loaded->AlsText(), "E-A-D-G-H-E");
}

TEST_F(TableFile, FailedSaveKeepsTheOldFileAndTheModifiedState)
{
    doc->SetzeText(1, "changed");
    EXPECT_FALSE(doc->Speichern(folder.file("no/such/folder/t.cho")));
    EXPECT_TRUE(doc->IstGeaendert());

    // Whatever lies under the name earlier versions used for their temporary file is left alone.
    std::filesystem::create_directory(path + ".tmp~");

    // A directory is no file to save over.
    std::filesystem::create_directory(folder.file("dir.cho"));
    EXPECT_FALSE(doc->Speichern(folder.file("dir.cho")));
    EXPECT_EQ(readFile(path), bytes);

    ASSERT_TRUE(doc->Speichern(path));
    EXPECT_FALSE(doc->IstGeaendert());
    EXPECT_TRUE(std::filesystem::is_directory(path + ".tmp~"));
    EXPECT_NE(readFile(path), bytes);
}

TEST_F(TableFile, HeaderIsReadEvenFromShortFiles)
{
    char header[5] = {'?', '?', '?', '?', '?'};
    ASSERT_TRUE(AkkordDepotClass::KopfLesen(path, header));
    EXPECT_EQ(std::string(header, 5), std::string("ZW02\0", 5));
    writeFile(folder.file("short"), "ZW");
    ASSERT_TRUE(AkkordDepotClass::KopfLesen(folder.file("short"), header));
    EXPECT_EQ(std::string(header, 5), std::string("ZW\0\0\0", 5));
    EXPECT_FALSE(AkkordDepotClass::KopfLesen(folder.file("missing"), header));
}
