// Writes the fuzzer's seed corpus into the folder given as the only argument.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "table/AkkordDepot.h"
#include "tests/support/TestTabelle.h"

namespace {

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<AkkordDepotClass> smallTable()
{
    auto doc = std::make_unique<AkkordDepotClass>();
    const int intervals[][3] = {{3, 6, -1}, {2, 6, -1}, {3, 6, 9}};
    const char* names[] = {"", "m", "7"};
    for (int t = 0; t < 3; ++t) {
        doc->TypZufuegen();
        doc->TypUmbenennen(t, names[t]);
        for (int code : intervals[t]) {
            if (code >= 0)
                doc->IntervallZufuegen(t, code, code == 6);
        }
    }
    const int grips[][6] = {{-1, 3, 2, 0, 1, 0}, {-1, 0, 2, 2, 1, 0}, {1, 3, 3, 2, 1, 1}};
    const int chords[][2] = {{0, 0}, {9, 1}, {5, 0}};
    for (int g = 0; g < 3; ++g) {
        doc->Loeschen();
        for (int s = 0; s < 6; ++s) {
            if (grips[g][s] == 0)
                doc->LeerSetzen(s + 1, true);
            else if (grips[g][s] > 0)
                doc->FingerSetzen(grips[g][s], s + 1, 1 + s % 4);
        }
        doc->AkkordSetzen(chords[g][0], chords[g][1]);
        doc->GriffAufnehmen();
    }
    doc->SetzeText(0, "Gitarre");
    doc->SetzeText(1, "Probe f\xFCr den Fuzzer");
    return doc;
}

// The same table as a version-01 file: no texts, no checksum, 236-byte grip records.
std::string versionOne(const std::string& current, const AkkordDepotClass& doc)
{
    const std::size_t gripsAt = 5 + 4 + 72 * static_cast<std::size_t>(doc.TypAnzahl()) + 8;
    std::string old("ZW01\0", 5);
    old += current.substr(5, gripsAt - 5);
    for (int g = 0; g < doc.Anzahl(); ++g) {
        const std::string record = current.substr(gripsAt + 232 * static_cast<std::size_t>(g), 232);
        old += record.substr(0, 9) + std::string(4, '\0') + record.substr(9);
    }
    const std::size_t tuningAt = gripsAt + 232 * static_cast<std::size_t>(doc.Anzahl());
    old += current.substr(tuningAt, 221 + 4 + 8 * static_cast<std::size_t>(doc.SaitenAnzahl()));
    return old;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    const std::string scratch = (folder / "scratch.cho").string();

    auto empty = std::make_unique<AkkordDepotClass>();
    if (!empty->Speichern(scratch))
        return 1;
    writeBytes(folder / "empty.cho", fileBytes(scratch));

    auto doc = smallTable();
    if (!doc->Speichern(scratch))
        return 1;
    const std::string current = fileBytes(scratch);
    writeBytes(folder / "small.cho", current);
    writeBytes(folder / "version01.cho", versionOne(current, *doc));

    std::string badChecksum = current;
    badChecksum.back() ^= 1;
    writeBytes(folder / "bad-checksum.cho", badChecksum);
    writeBytes(folder / "truncated.cho", current.substr(0, current.size() / 2));

    doc->SaiteEntfernen(5);
    doc->SaiteEntfernen(4);
    if (!doc->Speichern(scratch))
        return 1;
    writeBytes(folder / "four-strings.cho", fileBytes(scratch));

    // A table at full capacity, so that the fuzzer works on large inputs too.
    auto full = tableWithCatalogue();
    fillCatalogue(*full, MaxTypen);
    fillTable(*full, MaxGriffe);
    if (!full->Speichern(scratch))
        return 1;
    std::string fullBytes = fileBytes(scratch);
    writeBytes(folder / "full.cho", fullBytes);
    fullBytes[fullBytes.size() / 2] ^= 0x40;
    writeBytes(folder / "full-damaged.cho", fullBytes);
    std::filesystem::remove(scratch);
    return 0;
}
