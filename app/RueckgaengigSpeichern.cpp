#include "app/RueckgaengigSpeichern.h"

#include "app/RueckgaengigVerlauf.h"
#include "table/AkkordDepot.h"

RueckgaengigSpeichern::RueckgaengigSpeichern(RueckgaengigVerlauf& verlauf, const QString& was)
    : RueckgaengigSchritt(verlauf, was), m_anzahlVorher(verlauf.dokument().Anzahl())
{
}

std::size_t RueckgaengigSpeichern::Speicherbedarf() const
{
    return sizeof(*this) + textBytes() + m_griffe.capacity() * sizeof(AkkordDatenClass);
}

void RueckgaengigSpeichern::zurueck()
{
    AkkordDepotClass& doc = dokument();
    while (doc.Anzahl() > m_anzahlVorher)
        doc.GriffEntfernenAn(doc.Anzahl() - 1);
}

void RueckgaengigSpeichern::vor()
{
    for (const AkkordDatenClass& griff : m_griffe)
        dokument().Anhaengen(griff);
}

bool RueckgaengigSpeichern::nachher()
{
    const AkkordDepotClass& doc = dokument();
    for (int i = m_anzahlVorher; i < doc.Anzahl(); ++i)
        m_griffe.push_back(doc.Element(i));
    m_griffe.shrink_to_fit();
    return !m_griffe.empty();
}

Auffrischen RueckgaengigSpeichern::auffrischen() const
{
    return Auffrischen::Griffe;
}
