#include "app/RueckgaengigVerlauf.h"

#include <QUndoStack>

#include "app/RueckgaengigEntfernen.h"
#include "app/RueckgaengigGriff.h"
#include "app/RueckgaengigGrundtoene.h"
#include "app/RueckgaengigKatalog.h"
#include "app/RueckgaengigSortieren.h"
#include "app/RueckgaengigSpeichern.h"
#include "table/AkkordDepot.h"

RueckgaengigVerlauf::RueckgaengigVerlauf(AkkordDepotClass& dokument,
                                         std::function<void(Auffrischen)> auffrischen, QObject* parent)
    : QObject(parent), m_dokument(dokument), m_auffrischen(std::move(auffrischen)),
      m_stapel(new QUndoStack(this))
{
    m_stapel->setUndoLimit(Schrittgrenze);
    m_fremd = m_dokument.IstGeaendert();
}

RueckgaengigVerlauf::~RueckgaengigVerlauf()
{
    // The stack empties itself when it goes and would report that to windows that are going too.
    m_stapel->disconnect();
}

RueckgaengigVerlauf::GriffKlammer::GriffKlammer(RueckgaengigVerlauf& verlauf, const QString& was,
                                                int zusammenfassen)
    : m_verlauf(verlauf)
{
    if (m_verlauf.m_tiefe++ == 0 && !m_verlauf.m_laeuft) {
        m_verlauf.outsideChangeNotice();
        m_schritt = std::make_unique<RueckgaengigGriff>(verlauf, was);
        m_schritt->zusammenfassenAls(zusammenfassen);
    }
}

RueckgaengigVerlauf::GriffKlammer::~GriffKlammer()
{
    --m_verlauf.m_tiefe;
    if (m_schritt)
        m_verlauf.aufnehmen(std::move(m_schritt));
}

std::unique_ptr<RueckgaengigSchritt> RueckgaengigVerlauf::speichernBeginnen(const QString& was)
{
    outsideChangeNotice();
    return std::make_unique<RueckgaengigSpeichern>(*this, was);
}

std::unique_ptr<RueckgaengigSchritt> RueckgaengigVerlauf::entfernenBeginnen(const QString& was, int index)
{
    outsideChangeNotice();
    return std::make_unique<RueckgaengigEntfernen>(*this, was, index);
}

void RueckgaengigVerlauf::aufnehmen(std::unique_ptr<RueckgaengigSchritt> schritt)
{
    if (!schritt || m_laeuft)
        return;
    if (schritt->abschliessen())
        m_stapel->push(schritt.release()); // the stack owns its steps
    modifiedApply();
}

bool RueckgaengigVerlauf::bearbeiten(TF_GrifftabForm::Bearbeitung art, const QString& was, int von, int nach,
                                     const std::function<bool()>& edit)
{
    if (m_laeuft)
        return edit();
    outsideChangeNotice();
    std::unique_ptr<RueckgaengigSchritt> schritt;
    switch (art) {
    case TF_GrifftabForm::Bearbeitung::Grundtoene:
        schritt = std::make_unique<RueckgaengigGrundtoene>(*this, was);
        break;
    case TF_GrifftabForm::Bearbeitung::Reihenfolge:
        schritt = std::make_unique<RueckgaengigSortieren>(*this, was);
        break;
    case TF_GrifftabForm::Bearbeitung::TypEntfernen:
        schritt = std::make_unique<RueckgaengigKatalog>(*this, was, von, -1);
        break;
    case TF_GrifftabForm::Bearbeitung::TypVerschieben:
        schritt = std::make_unique<RueckgaengigKatalog>(*this, was, von, nach);
        break;
    case TF_GrifftabForm::Bearbeitung::Katalog:
        schritt = std::make_unique<RueckgaengigKatalog>(*this, was, -1, -1);
        break;
    }
    const bool done = edit();
    if (done)
        aufnehmen(std::move(schritt));
    else
        modifiedApply();
    return done;
}

void RueckgaengigVerlauf::ansichtVerbinden(std::function<int()> startbundLesen,
                                           std::function<void(int)> startbundSetzen)
{
    m_startbundLesen = std::move(startbundLesen);
    m_startbundSetzen = std::move(startbundSetzen);
}

void RueckgaengigVerlauf::startbundSetzen(int bund)
{
    if (m_startbundSetzen && bund > 0)
        m_startbundSetzen(bund);
}

void RueckgaengigVerlauf::leeren()
{
    m_stapel->clear();
    m_gespeichert = m_stand;
    m_fremd = m_dokument.IstGeaendert();
}

void RueckgaengigVerlauf::gesichert()
{
    m_stapel->setClean();
    m_gespeichert = m_stand;
    m_fremd = false;
}

void RueckgaengigVerlauf::fremdGeaendert()
{
    m_fremd = true;
    modifiedApply();
}

std::size_t RueckgaengigVerlauf::Speicherbedarf() const
{
    std::size_t bytes = 0;
    for (int i = 0; i < m_stapel->count(); ++i)
        bytes += static_cast<const RueckgaengigSchritt*>(m_stapel->command(i))->Speicherbedarf();
    return bytes;
}

void RueckgaengigVerlauf::vorSchritt()
{
    outsideChangeNotice();
    m_laeuft = true;
}

void RueckgaengigVerlauf::schrittGelaufen(int stand, Auffrischen art, bool auffrischen)
{
    m_stand = stand;
    if (auffrischen && m_auffrischen)
        m_auffrischen(art);
    m_laeuft = false;
    modifiedApply();
}

void RueckgaengigVerlauf::outsideChangeNotice()
{
    // The document marks itself modified on every change; one the history does not explain came
    // from outside it.
    if (!m_laeuft && m_dokument.IstGeaendert() && !geaendert())
        m_fremd = true;
}

void RueckgaengigVerlauf::modifiedApply()
{
    m_dokument.SetzeGeaendert(geaendert());
}
