#include "app/RueckgaengigSchritt.h"

#include <cstring>

#include "app/RueckgaengigVerlauf.h"
#include "table/AkkordDepot.h"

RueckgaengigSchritt::RueckgaengigSchritt(RueckgaengigVerlauf& verlauf, const QString& was)
    : QUndoCommand(was), m_verlauf(verlauf), m_griffVorher(verlauf.dokument().Daten()),
      m_standVorher(verlauf.stand())
{
}

bool RueckgaengigSchritt::abschliessen()
{
    m_griffNachher = dokument().Daten();
    const bool stored = nachher();
    m_standNachher = stored ? m_verlauf.neuerStand() : m_standVorher;
    return stored || std::memcmp(&m_griffVorher, &m_griffNachher, sizeof m_griffNachher) != 0;
}

void RueckgaengigSchritt::undo()
{
    m_verlauf.vorSchritt();
    zurueck();
    dokument().Daten() = m_griffVorher;
    m_verlauf.schrittGelaufen(m_standVorher, auffrischen(), true);
}

void RueckgaengigSchritt::redo()
{
    if (m_getan) {
        // The push: the edit has just run, and its change is this step's, not one from outside.
        m_getan = false;
        m_verlauf.schrittGelaufen(m_standNachher, auffrischen(), false);
        return;
    }
    m_verlauf.vorSchritt();
    vor();
    dokument().Daten() = m_griffNachher;
    m_verlauf.schrittGelaufen(m_standNachher, auffrischen(), true);
}

AkkordDepotClass& RueckgaengigSchritt::dokument()
{
    return m_verlauf.dokument();
}

std::size_t RueckgaengigSchritt::textBytes() const
{
    return static_cast<std::size_t>(text().capacity()) * sizeof(QChar);
}
