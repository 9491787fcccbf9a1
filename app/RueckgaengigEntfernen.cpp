#include "app/RueckgaengigEntfernen.h"

#include "app/RueckgaengigVerlauf.h"
#include "table/AkkordDepot.h"

RueckgaengigEntfernen::RueckgaengigEntfernen(RueckgaengigVerlauf& verlauf, const QString& was, int index)
    : RueckgaengigSchritt(verlauf, was), m_anzahlVorher(verlauf.dokument().Anzahl())
{
    if (index >= 0 && index < m_anzahlVorher) {
        m_index = index;
        m_griff = verlauf.dokument().Element(index);
    }
}

std::size_t RueckgaengigEntfernen::Speicherbedarf() const
{
    return sizeof(*this) + textBytes();
}

void RueckgaengigEntfernen::zurueck()
{
    dokument().GriffeEinfuegen(&m_index, &m_griff, 1);
}

void RueckgaengigEntfernen::vor()
{
    dokument().GriffEntfernenAn(m_index);
}

bool RueckgaengigEntfernen::nachher()
{
    return m_index >= 0 && dokument().Anzahl() == m_anzahlVorher - 1;
}

Auffrischen RueckgaengigEntfernen::auffrischen() const
{
    return Auffrischen::Griffe;
}
