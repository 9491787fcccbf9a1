#pragma once

#include <QUndoCommand>

#include <cstddef>

#include "grip/AkkordDaten.h"

class AkkordDepotClass;
class RueckgaengigVerlauf;
enum class Auffrischen : int;

// One step of the history: the current grip before and after, and what a kind of change did to the
// stored part of the table. The edit itself has run when the step is pushed.
class RueckgaengigSchritt : public QUndoCommand
{
public:
    RueckgaengigSchritt(RueckgaengigVerlauf& verlauf, const QString& was);

    // Takes the state after the edit; false when the edit changed nothing.
    bool abschliessen();
    void undo() final;
    void redo() final;
    // Bytes this step holds, its own record included.
    virtual std::size_t Speicherbedarf() const = 0;
    // Grip steps of the same number that follow each other become one; -1 never.
    void zusammenfassenAls(int nummer) { m_zusammenfassen = nummer; }
    int id() const override { return m_zusammenfassen; }
    bool mergeWith(const QUndoCommand* other) override;

protected:
    AkkordDepotClass& dokument();
    std::size_t textBytes() const;
    // The stored part: written back, done again, and taken after the edit (true when it changed).
    virtual void zurueck() = 0;
    virtual void vor() = 0;
    virtual bool nachher() = 0;
    virtual Auffrischen auffrischen() const = 0;
    // The type the chord-table window selects after the step ran back or forth; -1 keeps its selection.
    virtual int beruehrterTyp(bool zurueckGelaufen) const
    {
        (void)zurueckGelaufen;
        return -1;
    }

private:
    RueckgaengigVerlauf& m_verlauf;
    AkkordDatenClass m_griffVorher;
    AkkordDatenClass m_griffNachher;
    int m_standVorher = 0;
    int m_standNachher = 0;
    int m_startbundVorher = 0;
    int m_startbundNachher = 0;
    int m_zusammenfassen = -1;
    bool m_getan = true; // the push's redo finds the edit done
};
