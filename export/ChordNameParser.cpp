#include "export/ChordNameParser.h"

#include <string>
#include <vector>

#include "erkennung/Erkennung.h"
#include "theory/Zeichensatz.h"

namespace {

struct Spelling
{
    std::string name; // Windows-1252
    int ton;
};

// Every spelling of a note the parser accepts: the table's own short names first.
std::vector<Spelling> spellings(const ErkennungClass& katalog)
{
    std::vector<Spelling> list;
    for (int ton = 0; ton < 12; ++ton) {
        const std::string name = katalog.TonName(ton, true);
        if (!name.empty())
            list.push_back({name, ton});
    }
    const Spelling extra[] = {{"Db", 1}, {"Eb", 3}, {"Gb", 6}, {"Ab", 8}, {"B", 10}};
    for (const Spelling& spelling : extra)
        list.push_back(spelling);
    return list;
}

} // namespace

int ChordNameParser::root(std::string_view utf8) const
{
    std::string name;
    if (!utf8ToCp1252(utf8, name) || name.empty())
        return -1;
    for (const Spelling& spelling : spellings(m_katalog)) {
        if (spelling.name == name)
            return spelling.ton;
    }
    return -1;
}

bool ChordNameParser::parse(std::string_view utf8, int& grundton, int& akkordTyp) const
{
    std::string name;
    if (!utf8ToCp1252(utf8, name) || name.empty())
        return false;
    std::size_t longest = 0;
    bool found = false;
    for (const Spelling& spelling : spellings(m_katalog)) {
        if (spelling.name.size() <= longest && found)
            continue;
        if (name.compare(0, spelling.name.size(), spelling.name) != 0)
            continue;
        const std::string rest = name.substr(spelling.name.size());
        for (int typ = 0; typ < m_katalog.TypAnzahl(); ++typ) {
            if (rest == m_katalog.TypName(typ)) {
                grundton = spelling.ton;
                akkordTyp = typ;
                longest = spelling.name.size();
                found = true;
                break;
            }
        }
    }
    return found;
}

std::string ChordNameParser::typeList() const
{
    std::string list;
    for (int typ = 0; typ < m_katalog.TypAnzahl(); ++typ) {
        if (!list.empty())
            list += ", ";
        const std::string name = cp1252ToUtf8(m_katalog.TypName(typ));
        list += name.empty() ? "\"\"" : name;
    }
    return list;
}
