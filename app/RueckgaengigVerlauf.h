#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

#include "forms/GrifftabForm.h"

class AkkordDepotClass;
class QUndoStack;
class RueckgaengigSchritt;

// Numbers of grip steps that follow each other and become one.
inline constexpr int SchrittGriffZeigen = 1;
inline constexpr int SchrittGriffHolen = 2;

// What the windows refresh after a step was undone or done again.
enum class Auffrischen : int { Griff, Griffe, Katalog, Grundtoene };

// The undo history of the open chord table. Steps hold only what they change; the table counts as
// modified while its stored part (catalogue, grips, root names) differs from the state last saved or
// opened, or when a change outside the history touched it.
class RueckgaengigVerlauf : public QObject
{
    Q_OBJECT

public:
    static constexpr int Schrittgrenze = 250;

    RueckgaengigVerlauf(AkkordDepotClass& dokument, std::function<void(Auffrischen)> auffrischen,
                        QObject* parent = nullptr);
    ~RueckgaengigVerlauf() override;

    QUndoStack& stapel() { return *m_stapel; }
    AkkordDepotClass& dokument() { return m_dokument; }

    // Records the grip edit made while it lives; edits nested in it belong to the outermost one.
    class GriffKlammer
    {
    public:
        // zusammenfassen >= 0: a step of the same number right before it takes this one in, so that
        // browsing grips is one step.
        GriffKlammer(RueckgaengigVerlauf& verlauf, const QString& was, int zusammenfassen = -1);
        ~GriffKlammer();
        GriffKlammer(const GriffKlammer&) = delete;
        GriffKlammer& operator=(const GriffKlammer&) = delete;

    private:
        RueckgaengigVerlauf& m_verlauf;
        std::unique_ptr<RueckgaengigSchritt> m_schritt;
    };

    // Steps of the main window: made before the edit, handed to aufnehmen after it.
    std::unique_ptr<RueckgaengigSchritt> speichernBeginnen(const QString& was);
    // index: the list index of the grip about to be removed, -1 when it is not stored.
    std::unique_ptr<RueckgaengigSchritt> entfernenBeginnen(const QString& was, int index);
    // Takes the state after the edit and keeps the step when it changed something.
    void aufnehmen(std::unique_ptr<RueckgaengigSchritt> schritt);
    // Runs an edit of the chord-table window as one step.
    bool bearbeiten(TF_GrifftabForm::Bearbeitung art, const QString& was, int von, int nach,
                    const std::function<bool()>& edit);

    // After opening or creating a table: no history, and the table as it is counts as the saved one
    // unless the document says it is modified.
    void leeren();
    // After saving.
    void gesichert();
    // A change outside the history (the info texts): the table stays modified until saved.
    void fremdGeaendert();
    bool geaendert() const { return m_fremd || m_stand != m_gespeichert; }
    // The board's first fret, kept with each step so that undo and redo show the grip as the edit did.
    void ansichtVerbinden(std::function<int()> startbundLesen, std::function<void(int)> startbundSetzen);
    int startbund() const { return m_startbundLesen ? m_startbundLesen() : 0; }
    void startbundSetzen(int bund);
    // The type the step that just ran touched and the chord-table window selects, -1 to keep its selection.
    int beruehrterTyp() const { return m_beruehrterTyp; }
    void beruehrterTypSetzen(int typ) { m_beruehrterTyp = typ; }
    // Bytes the steps of the history hold.
    std::size_t Speicherbedarf() const;

    // For the steps.
    int stand() const { return m_stand; }
    int neuerStand() { return ++m_letzterStand; }
    void vorSchritt();
    void schrittGelaufen(int stand, Auffrischen art, bool auffrischen);

private:
    void outsideChangeNotice();
    void modifiedApply();

    AkkordDepotClass& m_dokument;
    std::function<void(Auffrischen)> m_auffrischen;
    QUndoStack* m_stapel = nullptr;
    int m_stand = 0; // the stored part's state: a new number for each step that changes it
    int m_letzterStand = 0;
    int m_gespeichert = 0; // the state last saved or opened
    bool m_fremd = false;
    int m_tiefe = 0;       // open grip edits
    bool m_laeuft = false; // an undo or redo is running
    int m_beruehrterTyp = -1;
    std::function<int()> m_startbundLesen;
    std::function<void(int)> m_startbundSetzen;
};
