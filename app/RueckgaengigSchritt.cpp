#include "app/RueckgaengigSchritt.h"

#include <cstring>

#include "app/RueckgaengigVerlauf.h"
#include "table/AkkordDepot.h"

RueckgaengigSchritt::RueckgaengigSchritt(RueckgaengigVerlauf& verlauf, const QString& was)
    : QUndoCommand(was), m_verlauf(verlauf), m_griffVorher(verlauf.dokument().Daten()),
      m_standVorher(verlauf.stand()), m_startbundVorher(verlauf.startbund())
{
}

bool RueckgaengigSchritt::abschliessen()
{
    m_griffNachher = dokument().Daten();
    m_startbundNachher = m_verlauf.startbund();
    const bool stored = nachher();
    m_standNachher = stored ? m_verlauf.neuerStand() : m_standVorher;
    return stored || std::memcmp(&m_griffVorher, &m_griffNachher, sizeof m_griffNachher) != 0;
}

void RueckgaengigSchritt::undo()
{
    m_verlauf.vorSchritt();
    zurueck();
    dokument().Daten() = m_griffVorher;
    m_verlauf.startbundSetzen(m_startbundVorher);
    m_verlauf.beruehrterTypSetzen(beruehrterTyp(true));
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
    m_verlauf.startbundSetzen(m_startbundNachher);
    m_verlauf.beruehrterTypSetzen(beruehrterTyp(false));
    m_verlauf.schrittGelaufen(m_standNachher, auffrischen(), true);
}

bool RueckgaengigSchritt::mergeWith(const QUndoCommand* other)
{
    const auto* next = dynamic_cast<const RueckgaengigSchritt*>(other);
    // Only changes of the grip alone, one right after the other.
    if (!next || next->id() != id() || next->m_standVorher != m_standNachher ||
        next->m_standNachher != next->m_standVorher || m_standNachher != m_standVorher)
        return false;
    m_griffNachher = next->m_griffNachher;
    m_startbundNachher = next->m_startbundNachher;
    setObsolete(std::memcmp(&m_griffVorher, &m_griffNachher, sizeof m_griffNachher) == 0);
    return true;
}

AkkordDepotClass& RueckgaengigSchritt::dokument()
{
    return m_verlauf.dokument();
}

std::size_t RueckgaengigSchritt::textBytes() const
{
    return static_cast<std::size_t>(text().capacity()) * sizeof(QChar);
}
