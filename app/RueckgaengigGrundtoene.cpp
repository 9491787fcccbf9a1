#include "app/RueckgaengigGrundtoene.h"

#include <cstring>

#include "app/RueckgaengigVerlauf.h"
#include "table/AkkordDepot.h"

RueckgaengigGrundtoene::RueckgaengigGrundtoene(RueckgaengigVerlauf& verlauf, const QString& was)
    : RueckgaengigSchritt(verlauf, was)
{
    std::memcpy(m_vorher, verlauf.dokument().NamenTabelle(), sizeof m_vorher);
    std::memcpy(m_nachher, m_vorher, sizeof m_nachher);
}

std::size_t RueckgaengigGrundtoene::Speicherbedarf() const
{
    return sizeof(*this) + textBytes();
}

void RueckgaengigGrundtoene::zurueck()
{
    std::memcpy(dokument().NamenTabelle(), m_vorher, sizeof m_vorher);
}

void RueckgaengigGrundtoene::vor()
{
    std::memcpy(dokument().NamenTabelle(), m_nachher, sizeof m_nachher);
}

bool RueckgaengigGrundtoene::nachher()
{
    std::memcpy(m_nachher, dokument().NamenTabelle(), sizeof m_nachher);
    return std::memcmp(m_vorher, m_nachher, sizeof m_nachher) != 0;
}

Auffrischen RueckgaengigGrundtoene::auffrischen() const
{
    return Auffrischen::Grundtoene;
}
