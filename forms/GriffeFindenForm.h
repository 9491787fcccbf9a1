#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class AkkordClass;
class AkkordDepotClass;
class DiagramExport;
class GriffsucheClass;
class PrivateProfile;
class QCheckBox;
class QComboBox;
class QIcon;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
struct AkkordDatenClass;
struct GefundenerGriffClass;

// Lists every playable grip of one chord on the table's instrument, each with a small diagram, and
// hands the chosen grips to its owner to show or to store. The list fills in slices of the event loop,
// with a progress bar when that takes longer than a frame.
class TF_GriffeFinden : public QDialog
{
    Q_OBJECT

public:
    // A grip picked in the list, to be shown on the board.
    using Zeigen = std::function<void(const AkkordDatenClass&)>;
    // The grips to store, best first.
    using Speichern = std::function<void(const std::vector<AkkordDatenClass>&)>;

    // grundton, typ: the chord preset in the chord field. Span, frets and filters come from the settings
    // file's section "Griffsuche" and are written back when changed.
    TF_GriffeFinden(const AkkordDepotClass& dokument, PrivateProfile& einstellungen, int grundton, int typ,
                    Zeigen zeigen, Speichern speichern, QWidget* owner = nullptr);
    ~TF_GriffeFinden() override;

    // Whether the search and the list are complete.
    bool Gefuellt() const;
    const GriffsucheClass& Suche() const { return *m_suche; }
    // The finder's grip in row i of the list.
    const GefundenerGriffClass& GriffInZeile(int zeile) const;
    int Zeilen() const { return static_cast<int>(m_zeilen.size()); }

    // The chord, typed as --find reads it ("Am7", "F#m7b5", "Hm", "B") or picked; completed from the
    // catalogue.
    QComboBox* TCB_Akkord = nullptr;
    QSpinBox* UD_Spannweite = nullptr;
    QSpinBox* UD_Bund = nullptr;
    QCheckBox* CB_GrundtonImBass = nullptr;
    QCheckBox* CB_OhneLeersaiten = nullptr;
    QListWidget* LB_Griffe = nullptr;
    QLabel* L_Anzahl = nullptr;
    QProgressBar* PG_Fortschritt = nullptr;
    QPushButton* B_Speichern = nullptr;
    QPushButton* B_Schliessen = nullptr;

    // The chord of the field, as the search last started with it.
    int Grundton() const { return m_grundton; }
    int Typ() const { return m_typ; }

    void SucheStarten();
    void TCB_AkkordChange(const QString& text);
    void FilterClick();
    void LB_GriffeClick(int zeile);
    void B_SpeichernClick();

    // Size of the diagrams in the list, in logical pixels.
    static constexpr int DiagrammBreite = 144;
    static constexpr int DiagrammHoehe = 104;

private:
    void createControls();
    void arrangeControls();
    void connectControls();
    void settingsRestore();
    void rowsRestart();
    void fillSlice();
    void countUpdate();
    QString chordName(int grundton, int typ) const;
    QIcon diagram(const GefundenerGriffClass& griff);

    const AkkordDepotClass& m_dokument;
    PrivateProfile& m_einstellungen;
    Zeigen m_zeigen;
    Speichern m_speichern;
    std::unique_ptr<GriffsucheClass> m_suche;
    std::unique_ptr<DiagramExport> m_export;
    std::unique_ptr<AkkordClass> m_bild; // the grip being drawn, on the table's tuning
    std::vector<int> m_zeilen;           // finder positions of the rows, after the filters
    int m_grundton = 0;
    int m_typ = 0;
    bool m_akkordBekannt = true; // the field names a chord of the catalogue
    bool m_zeilenBereit = false; // the search is done and the rows are chosen
    int m_fertigeZeilen = 0;     // rows made so far
    QTimer m_zeitgeber;
    QElapsedTimer m_dauer;
};
