#include "app/TabellenWache.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>

#include "table/Beiname.h"

namespace {

// Links to one file share one lock.
QString resolved(const QString& pfad)
{
    const QString canonical = QFileInfo(pfad).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(pfad).absoluteFilePath() : canonical;
}

} // namespace

TabellenWache::TabellenWache() = default;
TabellenWache::~TabellenWache() = default;

QString TabellenWache::sperrDateiVon(const QString& pfad)
{
    const QFileInfo file(resolved(pfad));
    // Short even for the longest table names, as the save's temporary files are.
    return file.absolutePath() + QLatin1Char('/') +
           QString::fromStdString(beiname(file.fileName().toStdString(), ".lock"));
}

TabellenWache::Belegung TabellenWache::vormerken(const QString& pfad)
{
    verwerfen();
    m_inhaber.clear();
    const QString datei = resolved(pfad);
    if (m_sperre && resolved(m_pfad) == datei)
        return Frei; // the table this instance already holds
    auto sperre = std::make_unique<QLockFile>(sperrDateiVon(datei));
    // A lock stays valid as long as its process runs, however long the table is open.
    sperre->setStaleLockTime(0);
    // Qt takes a lock for stale when the name it holds is not the name of the holder's executable:
    // the lock is written and checked under that name, not under the program's display name.
    const QString displayName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    const bool locked = sperre->tryLock(0);
    QCoreApplication::setApplicationName(displayName);
    if (locked) {
        m_vorgemerkt = std::move(sperre);
        m_vorgemerktFuer = datei;
        return Frei;
    }
    if (sperre->error() != QLockFile::LockFailedError)
        return OhneSperre;
    qint64 prozess = 0;
    QString rechner;
    QString programm;
    if (sperre->getLockInfo(&prozess, &rechner, &programm))
        m_inhaber = QStringLiteral("%1 (Prozess %2 auf %3)")
                        .arg(programm.isEmpty() ? QStringLiteral("ein Programm") : programm)
                        .arg(prozess)
                        .arg(rechner.isEmpty() ? QStringLiteral("einem anderen Rechner") : rechner);
    else
        m_inhaber = QStringLiteral("ein anderes Programm");
    return Belegt;
}

void TabellenWache::uebernehmen(const QString& pfad, bool nurLesen)
{
    const QString datei = resolved(pfad);
    if (m_vorgemerkt && m_vorgemerktFuer == datei) {
        m_sperre = std::move(m_vorgemerkt);
    } else if (!m_sperre || resolved(m_pfad) != datei) {
        m_sperre.reset();
    }
    verwerfen();
    m_pfad = pfad;
    m_nurLesen = nurLesen;
    m_stand = dateiStandLesen(datei.toStdString());
    m_gemeldet = m_stand;
}

void TabellenWache::loslassen()
{
    verwerfen();
    m_sperre.reset();
    m_pfad.clear();
    m_nurLesen = false;
    m_stand = DateiStand{};
    m_gemeldet = m_stand;
}

void TabellenWache::verwerfen()
{
    m_vorgemerkt.reset();
    m_vorgemerktFuer.clear();
}

bool TabellenWache::vonAussenGeaendert() const
{
    if (m_pfad.isEmpty())
        return false;
    return dateiStandLesen(resolved(m_pfad).toStdString()) != m_stand;
}

bool TabellenWache::neueAenderungMelden()
{
    if (m_pfad.isEmpty())
        return false;
    const DateiStand jetzt = dateiStandLesen(resolved(m_pfad).toStdString());
    if (jetzt == m_stand || jetzt == m_gemeldet)
        return false;
    m_gemeldet = jetzt;
    return true;
}

void TabellenWache::gesichert()
{
    m_stand = dateiStandLesen(resolved(m_pfad).toStdString());
    m_gemeldet = m_stand;
}
