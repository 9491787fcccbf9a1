#include "app/MainForm.h"

#include <QAction>
#include <QListWidget>
#include <QUndoStack>

#include <algorithm>

#include "app/RueckgaengigVerlauf.h"
#include "forms/GrifftabForm.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"

void TF_Main::createUndoActions()
{
    MI_Rueckgaengig = createAction("MI_Rueckgaengig", QStringLiteral("&Rückgängig"),
                                   QStringLiteral("Letzte Änderung zurücknehmen"));
    MI_Rueckgaengig->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    MI_Wiederholen = createAction("MI_Wiederholen", QStringLiteral("&Wiederholen"),
                                  QStringLiteral("Zurückgenommene Änderung wiederholen"));
    MI_Wiederholen->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    MI_Rueckgaengig->setEnabled(false);
    MI_Wiederholen->setEnabled(false);
    connect(MI_Rueckgaengig, &QAction::triggered, this, &TF_Main::MI_RueckgaengigClick);
    connect(MI_Wiederholen, &QAction::triggered, this, &TF_Main::MI_WiederholenClick);
}

void TF_Main::verlaufErzeugen()
{
    m_verlauf = std::make_unique<RueckgaengigVerlauf>(*Dokument,
                                                      [this](Auffrischen art) { verlaufAuffrischen(art); });
    m_verlauf->ansichtVerbinden([this] { return Zeichner->GetStartbund(); },
                                [this](int bund) { Zeichner->SetStartbund(bund); });
    QUndoStack& stack = m_verlauf->stapel();
    connect(&stack, &QUndoStack::indexChanged, this, &TF_Main::undoActionsUpdate);
    connect(&stack, &QUndoStack::cleanChanged, this, &TF_Main::undoActionsUpdate);
    undoActionsUpdate();
}

void TF_Main::undoActionsUpdate()
{
    const QUndoStack& stack = m_verlauf->stapel();
    MI_Rueckgaengig->setEnabled(stack.canUndo());
    MI_Rueckgaengig->setText(stack.canUndo() ? QStringLiteral("&Rückgängig: ") + stack.undoText()
                                             : QStringLiteral("&Rückgängig"));
    MI_Wiederholen->setEnabled(stack.canRedo());
    MI_Wiederholen->setText(stack.canRedo() ? QStringLiteral("&Wiederholen: ") + stack.redoText()
                                            : QStringLiteral("&Wiederholen"));
}

void TF_Main::MI_RueckgaengigClick()
{
    const QString was = m_verlauf->stapel().undoText();
    if (!m_verlauf->stapel().canUndo())
        return;
    m_verlauf->stapel().undo();
    // What was undone first: at the default width the end of the message is cut off.
    Statusmeldung(was + QStringLiteral(" zurückgenommen"));
}

void TF_Main::MI_WiederholenClick()
{
    const QString was = m_verlauf->stapel().redoText();
    if (!m_verlauf->stapel().canRedo())
        return;
    m_verlauf->stapel().redo();
    Statusmeldung(was + QStringLiteral(" wiederholt"));
}

void TF_Main::verlaufAuffrischen(Auffrischen art)
{
    // The step has put the board's first fret back where the edit left it.
    switch (art) {
    case Auffrischen::Griff:
        Dokument->FremdeSaitenEntfernen();
        NachAenderungAktualisieren();
        break;
    case Auffrischen::Griffe:
        GrifftabFensterNeuFuellen();
        Dokument->FremdeSaitenEntfernen();
        NachAenderungAktualisieren();
        if (Ergebnis.AkkordTyp != -1)
            grifftabAuswahlSetzen();
        break;
    case Auffrischen::Katalog:
        grifftabNachSchritt(m_verlauf->beruehrterTyp());
        katalogGeaendert();
        break;
    case Auffrischen::Grundtoene:
        grifftabNachSchritt(-1);
        statusPanelsUpdate();
        Zusammenstellen();
        break;
    }
}

void TF_Main::grifftabNachSchritt(int typ)
{
    TF_GrifftabForm& window = *GrifftabFenster;
    const int root = window.GewaehlterGrundton();
    const int shownType = window.LB_Akkorde->currentRow();
    const int grip = window.LB_Buende->currentRow();
    GrifftabFensterNeuFuellen();
    window.GrundtonWaehlen(root);
    window.TypenFuellen();
    window.TypWaehlen(std::clamp(typ >= 0 ? typ : shownType, 0, std::max(0, Dokument->TypAnzahl() - 1)));
    window.GriffeFuellen(false);
    window.GriffWaehlen(typ >= 0 ? 0 : std::max(0, grip));
    window.PanelAktualisieren();
}
