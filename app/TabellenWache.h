#pragma once

#include <QString>

#include <memory>

#include "table/DateiStand.h"

class QLockFile;

// Watches over the one chord table a main window holds: a lock beside the file tells other
// instances that this one writes it (Qt's lock files name their process, so a crashed instance leaves
// no lock that stays), and the file's state on disk at the last open or save tells when anyone else
// wrote it since.
class TabellenWache
{
public:
    TabellenWache();
    ~TabellenWache();
    TabellenWache(const TabellenWache&) = delete;
    TabellenWache& operator=(const TabellenWache&) = delete;

    enum Belegung {
        Frei,       // this instance now holds the lock
        Belegt,     // another running instance holds it: inhaber() says which
        OhneSperre, // no lock can be made there (a folder that cannot be written): open anyway
    };

    // Takes the lock for pfad in reserve; the table this watch holds stays until uebernehmen.
    Belegung vormerken(const QString& pfad);
    // Who holds the lock vormerken found taken: "Zupfwerk (Prozess 1234 auf rechner)".
    const QString& inhaber() const { return m_inhaber; }
    // The table is now pfad: the reserved lock (if any) replaces the former one, and the state on
    // disk is remembered. nurLesen: opened without the right to save it under its own name.
    void uebernehmen(const QString& pfad, bool nurLesen);
    // No table on disk any more (a new, unnamed one).
    void loslassen();
    // Drops a reservation that was not taken over.
    void verwerfen();

    const QString& pfad() const { return m_pfad; }
    bool nurLesen() const { return m_nurLesen; }
    // The file on disk is not the one this instance opened or last saved.
    bool vonAussenGeaendert() const;
    // True once for each change from outside that was not reported yet.
    bool neueAenderungMelden();
    // After this instance wrote the file itself.
    void gesichert();
    // The lock file that belongs to a table.
    static QString sperrDateiVon(const QString& pfad);

private:
    std::unique_ptr<QLockFile> m_sperre;
    std::unique_ptr<QLockFile> m_vorgemerkt;
    QString m_vorgemerktFuer;
    QString m_pfad;
    QString m_inhaber;
    bool m_nurLesen = false;
    DateiStand m_stand;
    DateiStand m_gemeldet;
};
