#include <gtest/gtest.h>

#include <string>

#include "export/ChordNameParser.h"
#include "tests/support/TestTabelle.h"

namespace {

// Major "", "m", "7", "m7" from the shared table, then "maj7", "5" and "b5".
std::unique_ptr<AkkordDepotClass> catalogue()
{
    auto doc = tableWithCatalogue();
    for (const char* name : {"maj7", "5", "b5"}) {
        doc->TypZufuegen();
        doc->TypUmbenennen(doc->TypAnzahl() - 1, name);
    }
    return doc;
}

struct Case
{
    const char* name;
    int root;
    int type;
};

} // namespace

TEST(ChordNameParser, ReadsTheTablesOwnNames)
{
    const auto doc = catalogue();
    const ChordNameParser parser(*doc);
    const Case cases[] = {
        {"C", 0, 0},   {"Am7", 9, 3},  {"C#maj7", 1, 4}, {"H7", 11, 2}, {"Hm", 11, 1},    {"F#m", 6, 1},
        {"G#5", 8, 5}, {"Db", 1, 0},   {"Ebm7", 3, 3},   {"Gb7", 6, 2}, {"Abmaj7", 8, 4}, {"Bm", 10, 1},
        {"B", 10, 0},  {"A#m", 10, 1}, {"E", 4, 0},      {"Eb5", 3, 5}, {"Eb", 3, 0},     {"Cb5", 0, 6},
    };
    for (const Case& c : cases) {
        int root = -1;
        int type = -1;
        ASSERT_TRUE(parser.parse(c.name, root, type)) << c.name;
        EXPECT_EQ(root, c.root) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
    }
}

TEST(ChordNameParser, RefusesWhatTheTableDoesNotKnow)
{
    const auto doc = catalogue();
    const ChordNameParser parser(*doc);
    for (const char* name : {"", "X", "am7", "Am9", "Cmaj", "C#b", "Hb", "Bb", "C m", "Cm7 ", "Ä"}) {
        int root = -2;
        int type = -2;
        EXPECT_FALSE(parser.parse(name, root, type)) << name;
        EXPECT_EQ(root, -2) << "a refused name leaves root and type alone: " << name;
    }
}

TEST(ChordNameParser, FollowsRenamedNotes)
{
    const auto doc = catalogue();
    doc->TonUmbenennen(11, "Si", true);
    doc->TonUmbenennen(10, "Sib", true);
    const ChordNameParser parser(*doc);
    int root = -1;
    int type = -1;
    ASSERT_TRUE(parser.parse("Sibm7", root, type));
    EXPECT_EQ(root, 10);
    EXPECT_EQ(type, 3);
    ASSERT_TRUE(parser.parse("Si7", root, type));
    EXPECT_EQ(root, 11);
    EXPECT_FALSE(parser.parse("H7", root, type)) << "H is no longer a name of this table";
    EXPECT_EQ(parser.root("Sib"), 10);
}

TEST(ChordNameParser, RootsAloneAndTheTypeList)
{
    const auto doc = catalogue();
    const ChordNameParser parser(*doc);
    EXPECT_EQ(parser.root("C"), 0);
    EXPECT_EQ(parser.root("Ab"), 8);
    EXPECT_EQ(parser.root("B"), 10);
    EXPECT_EQ(parser.root("H"), 11);
    EXPECT_EQ(parser.root("Cm"), -1);
    EXPECT_EQ(parser.root(""), -1);
    EXPECT_EQ(parser.typeList(), "\"\", m, 7, m7, maj7, 5, b5");
}
