#pragma once

#include <functional>
#include <memory>

#include <QWidget>

class AkkordDepotClass;
class QAction;
class QCheckBox;
class QFrame;
class QHeaderView;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
struct TrefferClass;

// The stay-on-top chord-table window: browses the stored grips by root, chord type and fret, and
// edits the chord-type catalogue and the root names of the document it is given.
class TF_GrifftabForm : public QWidget
{
    Q_OBJECT

public:
    // 0 closed, 1 selection changed, 2 remove the shown grip, 3 activated, 4 deactivated.
    using Benachrichtigung = std::function<void(int code)>;
    // A text for the main window's status message.
    using Hinweis = std::function<void(const QString&)>;
    // What an edit changes besides the catalogue: the grips of a removed type, the type numbers of a
    // moved one, the root names, or the order of the grips.
    enum class Bearbeitung { Katalog, TypEntfernen, TypVerschieben, Grundtoene, Reihenfolge };
    // Runs an edit, named by was, so that the owner can record it; von, nach: the type removed or
    // moved and its new place. Returns what the edit returned.
    using Bearbeiten = std::function<bool(Bearbeitung art, const QString& was, int von, int nach,
                                          const std::function<bool()>& edit)>;

    TF_GrifftabForm(AkkordDepotClass& dokument, Benachrichtigung benachrichtigen, Hinweis hinweis,
                    QWidget* parent = nullptr);
    ~TF_GrifftabForm() override;

    void GrundtoeneFuellen();
    void TypenFuellen();
    void GriffeFuellen(bool vorauswahl);
    void PanelAktualisieren();
    // Select without notifying; an index outside the list selects nothing.
    void GrundtonWaehlen(int index);
    void TypWaehlen(int index);
    void GriffWaehlen(int index);

    // Root, type and grip position when all three lists have a selection.
    bool Auswahl(TrefferClass& treffer) const;
    // 0 (C) when no root is selected.
    int GewaehlterGrundton() const;
    // Shows a chord without notifying the owner.
    void AuswahlSetzen(const TrefferClass& treffer);

    int Kopfbreite(int section) const;
    // Clamped so that the fret list keeps room for two-digit frets beside a scroll bar.
    void SetzeKopfbreite(int section, int breite);
    // The width at which every header title shows whole: the window's width on the first start.
    int Standardbreite() const;
    // Width of the fret list at which two-digit frets stay readable while the list scrolls.
    int fretListMinimum() const;
    int VorzugsBundWert() const { return VorzugsBund; }
    void HinweiseAnzeigen(bool an);
    void SetzeBearbeiten(Bearbeiten bearbeiten) { m_bearbeiten = std::move(bearbeiten); }

    // Handlers, public so that tests can drive what offscreen windows cannot (a real drag).
    void LB_GrundClick();
    void LB_AkkordeClick();
    void LB_BuendeClick();
    void CB_BearbeitenClick();
    void CB_NameOrIntervallClick();
    void E_ANameExit();
    void UP_IntervallClick();
    void L_IntervallClick();
    void B_addMouseDown(Qt::KeyboardModifiers shift);
    void B_subMouseDown(Qt::KeyboardModifiers shift);
    void PMI_HochClick();
    void PMI_RunterClick();
    void PMI_TypZufuegenClick();
    void PMI_TypEntfernenClick();
    void PMI_AkkordeSortClick();
    void PMI_NrEntfernenClick();
    void PMI_UmbenennenClick();
    void PMI_UmbenennenKurzClick();
    void HC_KopfSectionClick(int section);
    void HC_KopfSectionResize(int section, int oldSize, int newSize);
    void LB_AkkordeStartDrag();
    bool LB_AkkordeDragOver() const;
    // ziel: the row under the drop point, -1 for none.
    void LB_AkkordeDragDrop(int ziel);
    void LB_AkkordeEndDrag();
    bool E_GrundBezKeyDown(QKeyEvent* event);
    void E_GrundBezExit();

    QHeaderView* HC_Kopf = nullptr;
    QListWidget* LB_Grund = nullptr;
    QListWidget* LB_Akkorde = nullptr;
    QListWidget* LB_Buende = nullptr;
    QFrame* P_Bearbeiten = nullptr;
    QCheckBox* CB_NameOrIntervall = nullptr;
    QLabel* L_Pfeil = nullptr;
    QLineEdit* E_AName = nullptr;
    QSpinBox* UP_Intervall = nullptr;
    QFrame* P_Intervall = nullptr;
    QLabel* L_Intervall = nullptr;
    QPushButton* B_add = nullptr;
    QPushButton* B_sub = nullptr;
    QFrame* P_OkAbbruch = nullptr;
    QCheckBox* CB_Bearbeiten = nullptr;
    QLineEdit* E_GrundBez = nullptr;
    QMenu* PM_ATypen = nullptr;
    QAction* PMI_Hoch = nullptr;
    QAction* PMI_Runter = nullptr;
    QAction* PMI_TypZufuegen = nullptr;
    QAction* PMI_TypEntfernen = nullptr;
    QMenu* PM_Buende = nullptr;
    QAction* PMI_AkkordeSort = nullptr;
    QAction* PMI_NrEntfernen = nullptr;
    QMenu* PM_AGrund = nullptr;
    QAction* PMI_Umbenennen = nullptr;
    QAction* PMI_UmbenennenKurz = nullptr;

    // The fret the grip preselection comes nearest to.
    int VorzugsBund = 1;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void createEditPanel();
    void createActions();
    void createMenus();
    void connectControls();
    void arrangeControls();
    // Width a header section needs to show its title whole.
    int titleWidth(int section) const;
    void minimumSizeUpdate();
    // The narrowest a root (0) or chord-type (1) column may be: its title and its longest entry whole.
    int spaltenMinimum(int section) const;
    // Widens the columns to that minimum after their names changed.
    void spaltenAnpassen();
    void updateControls();
    void Benachrichtigen(int code);
    bool bearbeiten(Bearbeitung art, const QString& was, int von, int nach, const std::function<bool()>& edit);
    void addChordType();
    void removeChordType();
    void moveType(int from, int to);
    void sortGrips();
    void openRootEditor(bool kurz);
    void closeRootEditor();
    QAction* createAction(QWidget* list, const char* name, const QString& caption, const QKeySequence& key,
                          const QString& hint);

    AkkordDepotClass& m_dokument;
    Benachrichtigung m_benachrichtigen;
    Hinweis m_hinweis;
    Bearbeiten m_bearbeiten;
    int m_letzteListe = 0; // 0 none, 1 roots, 2 types, 3 grips
    bool m_optional = false;
    int m_ziehen = 0; // 2 while a drag from the type list is under way
    bool m_benachrichtigungenAn = true;
    bool m_kurzname = false;
    bool m_grundBezOffen = false;
    int m_grundBezTon = -1;              // the root the name editor was opened on
    bool m_grundBezGespeichert = false;  // a name was stored since the editor opened
    int m_nameTyp = -1;                  // the type the name field was filled for
    bool m_anordnen = false; // while arrangeControls narrows the header sections
    // List indexes of the grips shown, filled in one pass; sized for a full table once.
    std::unique_ptr<int[]> m_griffe;
};
