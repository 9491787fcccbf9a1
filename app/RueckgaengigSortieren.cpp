#include "app/RueckgaengigSortieren.h"

#include "app/RueckgaengigVerlauf.h"
#include "table/AkkordDepot.h"

RueckgaengigSortieren::RueckgaengigSortieren(RueckgaengigVerlauf& verlauf, const QString& was)
    : RueckgaengigSchritt(verlauf, was), m_reihenfolge(static_cast<std::size_t>(verlauf.dokument().Anzahl()))
{
    verlauf.dokument().SortierFolge(m_reihenfolge.data());
}

std::size_t RueckgaengigSortieren::Speicherbedarf() const
{
    return sizeof(*this) + textBytes() + m_reihenfolge.capacity() * sizeof(int);
}

void RueckgaengigSortieren::zurueck()
{
    std::vector<int> inverse(m_reihenfolge.size());
    for (std::size_t i = 0; i < m_reihenfolge.size(); ++i)
        inverse[static_cast<std::size_t>(m_reihenfolge[i])] = static_cast<int>(i);
    dokument().GriffeUmordnen(inverse.data(), static_cast<int>(inverse.size()));
}

void RueckgaengigSortieren::vor()
{
    dokument().GriffeUmordnen(m_reihenfolge.data(), static_cast<int>(m_reihenfolge.size()));
}

bool RueckgaengigSortieren::nachher()
{
    for (std::size_t i = 0; i < m_reihenfolge.size(); ++i) {
        if (m_reihenfolge[i] != static_cast<int>(i))
            return true;
    }
    // Already in order: nothing to keep.
    m_reihenfolge.clear();
    m_reihenfolge.shrink_to_fit();
    return false;
}

Auffrischen RueckgaengigSortieren::auffrischen() const
{
    return Auffrischen::Griffe;
}
