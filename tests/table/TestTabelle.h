#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "table/AkkordDepot.h"

// Building blocks for chord-table tests: small catalogues, grips from fret strings, temporary files.

// A catalogue of major, minor, 7 and m7 (in that order).
std::unique_ptr<AkkordDepotClass> tableWithCatalogue();
// Sets the current grip from frets per string, low E first: 'x' muted, '0' open, digits fretted.
void setGrip(AkkordDepotClass& doc, const char* frets, int root, int type);
// Stores grips of every type on every root at several frets: `count` grips in all.
void fillTable(AkkordDepotClass& doc, int count);

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// A fresh folder below the test temporary directory, removed at the end of the test.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
