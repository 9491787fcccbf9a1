#include "app/RueckgaengigKatalog.h"

#include <algorithm>
#include <cstring>

#include "app/RueckgaengigVerlauf.h"
#include "table/AkkordDepot.h"

namespace {

std::vector<AkkordTypClass> catalogueOf(const AkkordDepotClass& doc)
{
    std::vector<AkkordTypClass> types;
    types.reserve(static_cast<std::size_t>(doc.TypAnzahl()));
    for (int t = 0; t < doc.TypAnzahl(); ++t)
        types.push_back(doc.Typ(t));
    return types;
}

} // namespace

RueckgaengigKatalog::RueckgaengigKatalog(RueckgaengigVerlauf& verlauf, const QString& was, int von, int nach)
    : RueckgaengigSchritt(verlauf, was), m_von(von), m_nach(nach), m_vorher(catalogueOf(verlauf.dokument()))
{
    if (!removal())
        return;
    const AkkordDepotClass& doc = verlauf.dokument();
    for (int i = 0; i < doc.Anzahl(); ++i) {
        if (doc.Element(i).AkkordTyp != von)
            continue;
        m_indizes.push_back(i);
        m_griffe.push_back(doc.Element(i));
    }
}

std::size_t RueckgaengigKatalog::Speicherbedarf() const
{
    return sizeof(*this) + textBytes() +
           (m_vorher.capacity() + m_nachher.capacity()) * sizeof(AkkordTypClass) +
           m_indizes.capacity() * sizeof(int) + m_griffe.capacity() * sizeof(AkkordDatenClass);
}

void RueckgaengigKatalog::zurueck()
{
    AkkordDepotClass& doc = dokument();
    if (removal()) {
        for (int i = 0; i < doc.Anzahl(); ++i) {
            if (doc.Element(i).AkkordTyp >= m_von)
                ++doc.Element(i).AkkordTyp;
        }
        doc.GriffeEinfuegen(m_indizes.data(), m_griffe.data(), static_cast<int>(m_griffe.size()));
    } else if (move()) {
        // The neighbour swaps of the move, last first.
        const int step = m_nach > m_von ? 1 : -1;
        for (int typ = m_nach - step; typ != m_von - step; typ -= step)
            doc.AkkordtypenTauschen(typ, typ + step);
    }
    doc.KatalogSetzen(m_vorher.data(), static_cast<int>(m_vorher.size()));
}

void RueckgaengigKatalog::vor()
{
    AkkordDepotClass& doc = dokument();
    if (removal()) {
        doc.AkkordtypLoeschen(m_von);
    } else if (move()) {
        const int step = m_nach > m_von ? 1 : -1;
        for (int typ = m_von; typ != m_nach; typ += step)
            doc.AkkordtypenTauschen(typ, typ + step);
    }
    doc.KatalogSetzen(m_nachher.data(), static_cast<int>(m_nachher.size()));
}

bool RueckgaengigKatalog::nachher()
{
    m_nachher = catalogueOf(dokument());
    m_indizes.shrink_to_fit();
    m_griffe.shrink_to_fit();
    const bool same = m_nachher.size() == m_vorher.size() &&
                      (m_vorher.empty() || std::memcmp(m_vorher.data(), m_nachher.data(),
                                                       m_vorher.size() * sizeof(AkkordTypClass)) == 0);
    return !same || !m_griffe.empty();
}

int RueckgaengigKatalog::beruehrterTyp(bool zurueckGelaufen) const
{
    if (move())
        return zurueckGelaufen ? m_von : m_nach;
    if (removal())
        return zurueckGelaufen ? m_von : std::max(0, std::min(m_von, static_cast<int>(m_nachher.size()) - 1));
    return -1;
}

Auffrischen RueckgaengigKatalog::auffrischen() const
{
    return Auffrischen::Katalog;
}
