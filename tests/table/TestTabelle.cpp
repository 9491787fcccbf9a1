#include "tests/table/TestTabelle.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

enum Code { I1, I2, Ib3, I3, I4, Ib5, I5, Is5, I6, I7 };

void addType(AkkordDepotClass& doc, const char* name, std::initializer_list<int> codes)
{
    ASSERT_TRUE(doc.TypZufuegen());
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

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempFolder::TempFolder()
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    m_path = std::filesystem::path(testing::TempDir()) /
             (std::string("zw_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
