#pragma once

#include <QMainWindow>
#include <QString>

#include <memory>
#include <vector>

#include "app/TabellenWache.h"
#include "app/TableLookup.h"
#include "erkennung/Treffer.h"
#include "render/ChordSheet.h"
#include "table/FingersatzSuche.h"

class AkkordDepotClass;
struct AkkordDatenClass;
class AudioAusgabe;
struct DiagramOptions;
class GriffbrettClass;
class PrivateProfile;
class Statusleiste;
class TF_GrifftabForm;
class PaintBox;
class RueckgaengigVerlauf;
enum class Auffrischen : int;
class QAction;
class QActionGroup;
class QImage;
class QSize;
class QMenu;
class QKeyEvent;
class QMouseEvent;
class QPainter;

// The main window: owner of the chord table, the fretboard renderer and the settings file.
class TF_Main : public QMainWindow
{
    Q_OBJECT

public:
    // settingsPath: the settings file, normally "Zupfwerk.ini" beside the executable.
    explicit TF_Main(const QString& settingsPath, QWidget* parent = nullptr);
    // lookup: where a relative "LetzteDatei" is looked for; startDatei, when not empty, is the chord
    // table opened at start instead of "LetzteDatei".
    TF_Main(const QString& settingsPath, const TableLookup& lookup, const QString& startDatei,
            QWidget* parent = nullptr);
    ~TF_Main() override;

    // Read access for tests and the windows that work on the same objects.
    AkkordDepotClass& dokument() { return *Dokument; }
    GriffbrettClass& zeichner() { return *Zeichner; }
    PrivateProfile& einstellungen() { return *Einstellungen; }
    const TrefferClass& ergebnis() const { return Ergebnis; }
    int trefferAnzahl() const { return TrefferAnzahl; }
    int ansicht() const { return Ansicht; }
    const QString& dateiName() const { return m_dateiName; }
    PaintBox* griffbrettFeld() const { return PB_Griffbrett; }
    Statusleiste* statusleiste() const { return SB_Statusbar; }
    TF_GrifftabForm* grifftabFenster() const { return GrifftabFenster.get(); }
    RueckgaengigVerlauf& verlauf() { return *m_verlauf; }

    // The compose-and-paint routine: grip and recognition into the renderer, then the warning.
    void Zusammenstellen();
    void Statusmeldung(const QString& text);
    // Opens a chord table by its path, converting old files; reports every failure itself.
    // True when the document now holds that file, or what could be rescued from it.
    bool OeffnenMitPfad(const QString& pfad);
    // The refresh after an edit, and after a grip was fetched from the chord table.
    void NachAenderungAktualisieren();
    void NachHolenAktualisieren();
    void BundanzahlAnwenden(int anzahl);
    void Tastenkuerzel(bool an);
    // Refills the chord-table window's lists after the catalogue or the grips changed.
    void GrifftabFensterNeuFuellen() { GrifftabLageLaden(true); }
    // The chord-table window's notifications: 0 closed, 1 selection, 2 remove, 3 active, 4 inactive,
    // 5 catalogue changed, 6 note names changed.
    void Benachrichtigen(int code);

    // The fingering editor, acting on the spot chosen in the renderer.
    struct Fangrechteck
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    Fangrechteck Fangbereich(int spalte, int saite) const;
    // Maps a point of the fretboard to fret and string; false (both -1) between the spots.
    bool FeldSuchen(int x, int y, int& bund, int& saite) const;
    void StelleWaehlen(int bund, int saite, bool meldung);
    // Opens the pop-up that fits the chosen spot at its cursor, as the Menu key and Shift+F10 do.
    void KontextmenueOeffnen();
    void FingerKlick(bool links, bool shift);
    void FingerWaehlen(int finger, bool umschalten);
    void NaechsterFingerSetzen(int finger);
    void BarreEintragen();
    void SaiteUmschalten();
    void AlleSaitenSetzen(bool leer);
    void AlleFingerEntfernen();
    int naechsterFinger() const { return NaechsterFinger; }
    int letzterFinger() const { return LetzterFinger; }
    // The pop-up menu chosen by the last right or middle press on a spot.
    QMenu* kontextmenue() const { return m_kontextmenue; }

    // View options.
    void ZuBundGehen(int bund);
    void AnsichtWechseln();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createWidgets();
    void createActions();
    void createMenus();
    void createPopupMenus();
    void connectActions();
    void minimumSizeSet();
    void EinstellungenLaden();
    void FormCreate();
    bool FormCloseQuery();
    void FormClose();
    void FensterLage(bool speichern);
    void GrifftabLageLaden(bool nurListen);
    void GrifftabLageSpeichern();
    void HinweisZeigen(const QString& hinweis);
    void hintsShown(bool shown);
    void titleUpdate();
    QString shortName() const;

    // Recognition and its status display.
    void ErkennungAusfuehren();
    void statusPanelsUpdate();
    // Widens the chord panel for the longest chord name of the catalogue.
    void chordPanelFit();
    void menuStatesUpdate();
    int selectedRoot() const;
    // Lets the chord-table window show the recognised chord.
    void grifftabAuswahlSetzen();
    void grifftabSichtbar(bool sichtbar);
    void grifftabErzeugen();
    void katalogGeaendert();
    // The shown result becomes the grip's own chord, and the matches of an earlier run are gone.
    void ergebnisAusGriff();
    void modifierShortcutsEverywhere();
    void zuGriffGehen();

    // The save-changes question: 6 "&Ja", 7 "&Nein", 2 "&Abbruch".
    int AenderungenUebernehmen();

    // The board's content options from the view items and the settings file.
    DiagramOptions diagrammOptionen() const;
    void compose();
    void paintAndWarn();
    // With a bass other than the root the name ends in "/" and the bass: "D/F#".
    QString chordName(int grundton, int akkordTyp, int bass = KeinTon) const;
    void PB_GriffbrettPaint(QPainter& painter);
    void FormResize();

    // Fingering editor.
    void PB_GriffbrettMouseDown(QMouseEvent* event);
    void PB_GriffbrettMouseUp(QMouseEvent* event);
    // The string whose "0" or "X" mark lies under the point; -1 for none.
    int leerMarkeBei(QPoint punkt) const;
    void KontextmenueWaehlen();
    // An arrow key's move of the chosen spot, kept on the frets shown.
    void StelleMitTasteWaehlen(int bund, int saite);
    void MI_FingerNext1Click(QAction* item);

    // Recognition.
    void MI_ErkennungSaite0Click(QAction* item);
    void startStringSet(int saite);
    void MI_AkkordErkOnOffClick();
    void MI_ErkVorClick();

    // View options.
    void MI_FingersatzOnOffClick();
    void MI_AkkordnameOnOffClick();
    void MI_LagenpunkteOnOffClick();
    void MI_LinkshaenderOnOffClick();
    // The view's drawing options for the renderer: markers, mirror, the screen's pixel ratio and the
    // room the right-margin annotation needs.
    void boardViewApply();
    void annotationChoose(int wert, const QString& meldung);
    void MI_StatuszeileOnOffClick();
    void MI_Bund01Click(QAction* item);
    void MI_BundAddClick();
    void MI_BundSubClick();

    // Commands and keys.
    void FormKeyDown(int key, Qt::KeyboardModifiers shift);
    void runItem(QAction* item);
    void MI_GrifftabOnOffClick();
    void MI_KurzhinweisOnOffClick();
    void MI_WinMaximizeClick();
    void MI_AkkVorClick();
    void MI_AkkZurueckClick();
    void gripStep(bool vorwaerts);
    void MI_AkkEntfernenClick();
    void MI_AkkSpeichernClick();
    void MI_SuchenClick();
    void MI_BeendenClick();
    void MI_NeuClick();
    void MI_LadenClick();
    // True when the table was written.
    bool MI_SpeichernClick();
    bool MI_SpeichernAlsClick();
    bool dateiSchreiben(const QString& pfad);
    // Offers to take over what a damaged file still holds, as a new unnamed table.
    bool rettungAnbieten(const QString& pfad);
    void oeffnenMeldungZeigen();
    QString dateiOrdner() const;
    // The folder the save dialog starts in: the table's own, or the user's data folder where the
    // table's folder cannot be written.
    QString speicherOrdner() const;
    // Whether the file this window saves to was written by someone else since; asks how to go on:
    // 6 overwrite, 7 save under another name, 2 cancel.
    int fremdeAenderungFragen();
    // Whether path may be written: false (after telling) when another instance holds it.
    bool sperreFuerSpeichern(const QString& pfad);
    // Writes the table to pfad and makes it the open, remembered file only once the write succeeded.
    bool speichernUnter(const QString& pfad);
    // An installed table nobody may write is saved to the user's data folder instead.
    bool vorlageSpeichern();
    // The refresh after a table was opened or reloaded.
    void nachOeffnenAnzeigen();
    // Offers to reload the table when another program changed it, once per change.
    void aussenAenderungPruefen();
    // Gives the renderer the tuning's string count and keeps the grip and the chosen spot on it.
    void saitenzahlAnwenden();
    void MI_InfoClick();
    // Copies the grip chosen in the chord-table window into the current grip, when there is one.
    void selectedGripFetch();
    // The chord finder: its window preset to the chord shown; the grips it shows and stores.
    void MI_GriffeFindenClick();
    void gefundenenGriffZeigen(const AkkordDatenClass& griff);
    // Stores the finder's grips; what was stored or refused, as the status line shows it.
    QString gefundeneGriffeSpeichern(const std::vector<AkkordDatenClass>& griffe);
    void MI_SpeedClick();
    void Geschwindigkeitstest();
    // Hearing the grip: strummed, picked one string after another, and written as a WAV file either way.
    void MI_AnhoerenClick();
    void MI_ZerlegtAnhoerenClick();
    void MI_KlangWavClick();
    void MI_ZerlegtWavClick();
    void klangAbspielen(bool zerlegt);
    void klangSpeichern(bool zerlegt);
    // Print and export: the diagram shown as an image or on the clipboard, chord sheets as PDF or on
    // paper for the whole table, the root or the chord chosen in the chord-table window.
    void MI_DiagrammExportClick();
    void MI_GrifftabellePdfClick();
    void MI_DruckenClick();
    void MI_KopierenClick();
    // The grip shown as the exports draw it: in the export style chosen last, from the frets it needs.
    QImage diagrammBild(QSize groesse) const;
    // The image size the export dialog offers, as last chosen.
    QSize bildGroesse() const;
    // Columns and style of a sheet as last chosen, with the board's options.
    ChordSheet::Layout blattLayout() const;
    // The stored grips the user chooses. For a sheet (inhalt given) also the header line saying which,
    // and the columns and style, which go into the settings file. False when cancelled or there are none.
    bool blattGriffeWaehlen(const QString& titel, std::vector<int>& griffe, QString* inhalt = nullptr);

    // ChordPro: definitions out and in, a song's chord sheet, and ChordPro files opened as tables.
    void MI_ChordProExportClick();
    void MI_ChordProImportClick();
    void MI_LiedblattClick();
    void chordProImportieren(const QString& pfad);
    void liedblattErstellen(const QString& pfad);
    // Offers import or song sheet when the file is ChordPro text; false when it is not.
    bool chordProAnbieten(const QString& pfad);
    static bool istChordPro(const QString& pfad);

    QAction* createAction(const char* name, const QString& caption, const QString& hint);

    // Undo and redo: every change of the grip, the stored grips, the catalogue and the root names.
    void createUndoActions();
    void verlaufErzeugen();
    void verlaufAuffrischen(Auffrischen art);
    // Refills the chord-table window's lists and selects again what was selected, or type typ.
    void grifftabNachSchritt(int typ);
    void undoActionsUpdate();
    void MI_RueckgaengigClick();
    void MI_WiederholenClick();

    std::unique_ptr<AkkordDepotClass> Dokument;
    std::unique_ptr<GriffbrettClass> Zeichner;
    std::unique_ptr<PrivateProfile> Einstellungen;
    std::unique_ptr<TF_GrifftabForm> GrifftabFenster;
    std::unique_ptr<RueckgaengigVerlauf> m_verlauf;

    int NaechsterFinger = 1;
    int LetzterFinger = 0;
    int Ansicht = 1;
    bool GrifftabGeoeffnet = false;
    TrefferClass Ergebnis;
    FingersatzSucheClass m_fingersatzSuche;
    TrefferClass Treffer[MaxTreffer];
    int TrefferAnzahl = 0;
    int m_griffAnzahl = 0;
    QString m_dateiName;
    std::unique_ptr<TabellenWache> m_wache = std::make_unique<TabellenWache>();
    bool m_vorlage = false; // the table is an installed one that nobody may write
    QString m_oeffnenMeldung; // shown once the open has finished, so that no later text hides it
    TableLookup m_tabellenSuche;
    QString m_startDatei;
    bool m_zentrieren = false;
    bool m_beendet = false; // set once the close is accepted
    bool m_grifftabDaneben = false; // no saved place yet: the chord-table window goes beside this one
    bool m_befehlsMeldung = false;        // the status message is a command's, not a hint
    QWidget* m_meldungsSchutz = nullptr;  // the control whose hint must not replace it
    bool m_pufferAktuell = false;

    // Controls.
    Statusleiste* SB_Statusbar = nullptr;
    QWidget* SBC_Griffbrett = nullptr;
    PaintBox* PB_Griffbrett = nullptr;

    QMenu* MI_Datei = nullptr;
    QMenu* MI_Griff = nullptr;
    QMenu* MI_Erkennung = nullptr;
    QMenu* MI_Bund = nullptr;
    QMenu* MI_Bearbeiten = nullptr;
    QMenu* MI_Ansicht = nullptr;
    QMenu* MI_AnsichtDiagramm = nullptr;
    QMenu* MI_Hilfe = nullptr;
    QMenu* MI_Exportieren = nullptr;

    QAction* MI_Neu = nullptr;
    QAction* MI_Laden = nullptr;
    QAction* MI_Speichern = nullptr;
    QAction* MI_SpeichernAls = nullptr;
    QAction* MI_Beenden = nullptr;

    QAction* MI_Suchen = nullptr;
    QAction* MI_AkkVor = nullptr;
    QAction* MI_AkkZurueck = nullptr;
    QAction* MI_AkkSpeichern = nullptr;
    QAction* MI_AkkEntfernen = nullptr;
    QAction* MI_GriffeFinden = nullptr;
    QAction* MI_Rueckgaengig = nullptr;
    QAction* MI_Wiederholen = nullptr;
    QAction* MI_ErkVor = nullptr;
    QAction* MI_AkkordErkOnOff = nullptr;
    QAction* MI_ErkennungSaite[8] = {}; // 0 interval count, 1..6 a start string, 7 the bass

    QAction* MI_BundNr[12] = {};
    QAction* MI_BundAdd = nullptr;
    QAction* MI_BundSub = nullptr;

    QAction* MI_FingerNext[4] = {};
    QAction* MI_FingerIns = nullptr;
    QAction* MI_Finger[4] = {};
    QAction* MI_FingerEntfAlle = nullptr;
    QAction* MI_Barre = nullptr;

    QAction* MI_ShowGriffbrett = nullptr;
    QAction* MI_ShowAkkord = nullptr;
    QAction* m_ansichtWechseln = nullptr; // carries Ctrl+U for both view items
    QAction* m_kontextmenueTaste = nullptr; // the Menu key and Shift+F10
    QAction* MI_GrifftabOnOff = nullptr;
    QAction* MI_StatuszeileOnOff = nullptr;
    QAction* MI_KurzhinweisOnOff = nullptr;
    QAction* MI_WinMaximize = nullptr;
    QAction* MI_AkkordnameOnOff = nullptr;
    QAction* MI_FingersatzOnOff = nullptr;
    QAction* MI_LagenpunkteOnOff = nullptr;
    QAction* MI_LinkshaenderOnOff = nullptr;
    QAction* MI_Radio1Aus = nullptr;
    QAction* MI_Radio1Intervall = nullptr;
    QAction* MI_Radio1Noten = nullptr;

    QAction* MI_HilfeInhalt = nullptr;
    QAction* MI_Info = nullptr;
    QAction* MI_Speed = nullptr;

    QAction* MI_Anhoeren = nullptr;
    QAction* MI_ZerlegtAnhoeren = nullptr;
    QAction* MI_KlangWav = nullptr;
    QAction* MI_ZerlegtWav = nullptr;
    QAction* MI_DiagrammExport = nullptr;
    QAction* MI_GrifftabellePdf = nullptr;
    QAction* MI_Kopieren = nullptr;
    QAction* MI_Drucken = nullptr;
    QMenu* MI_Importieren = nullptr;
    QAction* MI_ChordProExport = nullptr;
    QAction* MI_ChordProImport = nullptr;
    QAction* MI_Liedblatt = nullptr;
    AudioAusgabe* m_audioAusgabe = nullptr; // made at the first play, a child of the window

    QMenu* PM_Finger1bis4 = nullptr;
    QMenu* PM_Leerseiten = nullptr;
    QMenu* PM_NormKlick = nullptr;
    QMenu* m_kontextmenue = nullptr;
    QAction* PMI_Finger[4] = {};
    QAction* PMI_Alleentfernen = nullptr;
    QAction* PMI_ErkennungSaite = nullptr;
    QAction* PMI_Barre1 = nullptr;
    QAction* PMI_SaiteSpielen = nullptr;
    QAction* PMI_SaiteAlleDaempfen = nullptr;
    QAction* PMI_SaiteAlleSpielen = nullptr;
    QAction* PMI_Barre = nullptr;
    QAction* PMI_ErkennungSaite1 = nullptr;
    QAction* PMI_Barre2 = nullptr;
    QAction* PMI_Alleentfernen1 = nullptr;
};
