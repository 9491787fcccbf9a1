#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "erkennung/Erkennung.h"
#include "grip/AkkordDaten.h"
#include "table/TemplateArray.h"

inline constexpr int GriffSlots = MaxGriffe + 1; // one spare slot, never used

// Results of Laden.
enum LadeErgebnis : int {
    LadenOk = 0,
    LadenNichtLesbar = 1,
    LadenFalscheKennung = 2,
    LadenZerstoert = 3,
    LadenKeineDatei = 4, // a folder, pipe, device or socket: never opened, since it may block
};

// Why a document may not be written: the reader would refuse the file.
enum PruefErgebnis : int {
    PruefOk = 0,
    PruefZuVieleGriffe,
    PruefGrundton,    // a stored grip's root outside 0..12
    PruefAkkordtyp,   // a stored grip filed under a type outside the catalogue
    PruefPunktanzahl, // more finger entries than a grip holds
    PruefSaite,
    PruefBund,
    PruefFinger,
};

// What Speichern reports besides an errno value of the failed step.
inline constexpr int SpeichernOk = 0;
inline constexpr int SpeichernUngueltig = -2; // the check refused the document; see Pruefen

// What the last rescue took over; every part not taken over has the default of a new table.
struct RettungsBericht
{
    int griffe = 0;    // grips taken over
    int verworfen = 0; // grip records found damaged and left out
    int typen = 0;     // chord types taken over
    bool namen = false;
    bool stimmung = false;
    bool instrument = false;
    bool info = false;
};

// The chord table: stored grips, catalogue, current grip, tuning and note names in one object.
// About 2.3 MB: create it on the heap.
class AkkordDepotClass : public TemplateArray<AkkordDatenClass, GriffSlots>, public ErkennungClass
{
public:
    AkkordDepotClass();

    // Whichever base these are called through, they act on the whole document.
    int Vergleichen(const AkkordDatenClass& a, const AkkordDatenClass& b) const override;
    bool Einlesen(std::istream& in) override;
    bool Schreiben(std::ostream& out) override;
    bool AkkordtypLoeschen(int typ) override;
    bool AkkordtypenTauschen(int a, int b) override;
    void SetzeGeaendert(bool wert) override;
    bool IstGeaendert() const override;

    using TemplateArray::Anzahl;

    // 0 the instrument name, 1 the info text; Windows-1252.
    const std::string& Text(int welcher) const;
    const std::string& SetzeText(int welcher, std::string_view text);
    bool InstrumentNurLesen() const { return m_instrumentNurLesen; }
    bool InfoNurLesen() const { return m_infoNurLesen; }

    // Empties the grip list, the counter and the texts, and the catalogue when asked.
    void Zuruecksetzen(bool katalogLeeren);
    // First stored grip that is the same grip as the current grip, or -1.
    int GriffSuchen() const;
    // Stored grips of the current grip's chord; position: rank of the current grip among them (else of the
    // first that sounds the same positions), or -1.
    int GriffeZaehlen(int* position = nullptr) const;
    // List index of the n-th grip of that chord (negative n: the first), copied into the current grip
    // unless nurFinden; -1 when there is none.
    int GriffHolen(int grundton, int akkordTyp, bool nurFinden, int n);
    // List indexes of every grip of that chord in list order, at most max of them; returns their count.
    int GriffeAuflisten(int grundton, int akkordTyp, int* indizes, int max) const;
    // Stores a copy of the current grip; -1 for a duplicate or a full table, else the new count.
    int GriffAufnehmen();
    bool GriffEntfernenAn(int index);
    // Puts grips back where they were: indizes ascending, in the list they are inserted into.
    bool GriffeEinfuegen(const int* indizes, const AkkordDatenClass* griffe, int n);
    // Slot i receives the grip that was at reihenfolge[i].
    bool GriffeUmordnen(const int* reihenfolge, int n);
    // The order SetzeEigeneReihenfolge(false) gives: slot i receives the grip now at reihenfolge[i];
    // reihenfolge holds Anzahl() entries.
    void SortierFolge(int* reihenfolge) const;
    // Removes the current grip; a plain message box when it is not stored.
    bool GriffEntfernen();
    // Shifts the current grip so that its lowest fret becomes bund; false (grip unchanged) when an
    // entry would leave frets 1..30.
    bool GriffVerschieben(int bund);
    void SetzeEigeneReihenfolge(bool an);
    bool EigeneReihenfolge() const { return m_eigeneReihenfolge; }

    // path: UTF-8. Reads the first 5 bytes (zeros where the file is shorter); false when unreadable or
    // no regular file.
    static bool KopfLesen(const std::string& pfad, char kopf[5]);
    // A damaged file (LadenZerstoert) leaves a safe document: every count and index in range.
    int Laden(const std::string& pfad);
    // Checks the document, writes a temporary file beside the target and renames it over the target
    // when complete; on failure the target is untouched and SpeicherFehler says why.
    bool Speichern(const std::string& pfad);
    // SpeichernOk, SpeichernUngueltig, or the errno value of the step that failed.
    int SpeicherFehler() const { return m_speicherFehler; }
    // Whether the file would load again; griffIndex receives the first grip at fault, or -1.
    PruefErgebnis Pruefen(int* griffIndex = nullptr) const;
    // Takes over every readable, valid part of a damaged chord-table file: catalogue, note names,
    // tuning, texts and each valid grip; the rest keeps its defaults and the current grip stays.
    // Returns the number of grips taken over, or -1 (document untouched) for no chord table at all.
    // Grips are found by their records: a damaged count, header field or record costs at most the
    // grips it touches. Note names, tuning and texts are taken over only where valid.
    int Retten(const std::string& pfad);
    // The same from the bytes of a file.
    int RettenAus(std::string_view daten);
    const RettungsBericht& Rettungsbericht() const { return m_rettung; }
    // Refills this document from another one; this object itself stays.
    void Uebernehmen(const AkkordDepotClass& quelle);
    // Converts a version-01 file in place; false (file untouched) when it is none or on any failure.
    static bool Konvertieren(const std::string& pfad);

private:
    bool gripsRead(std::istream& in);
    bool textRead(std::istream& in, int welcher);
    bool textWrite(std::ostream& out, int welcher);
    bool sameChord(const AkkordDatenClass& griff, int grundton, int akkordTyp) const;
    void chordOfGripCheck();
    static bool sortsAfter(const AkkordDatenClass& a, const AkkordDatenClass& b);
    void tailTake(std::string_view data, std::size_t at);

    bool m_listeGeaendert = false;
    int m_speicherFehler = SpeichernOk;
    bool m_eigeneReihenfolge = false;
    std::string m_texte[2];
    bool m_instrumentNurLesen = true;
    bool m_infoNurLesen = true;
    RettungsBericht m_rettung;
};
