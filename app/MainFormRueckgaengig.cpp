#include "app/MainForm.h"

#include <QAction>
#include <QUndoStack>

#include "app/RueckgaengigVerlauf.h"
#include "forms/GrifftabForm.h"
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
    switch (art) {
    case Auffrischen::Griff:
        NachHolenAktualisieren();
        break;
    case Auffrischen::Griffe:
        GrifftabFensterNeuFuellen();
        NachHolenAktualisieren();
        if (Ergebnis.AkkordTyp != -1)
            grifftabAuswahlSetzen();
        break;
    case Auffrischen::Katalog:
        GrifftabFensterNeuFuellen();
        katalogGeaendert();
        break;
    case Auffrischen::Grundtoene:
        GrifftabFensterNeuFuellen();
        statusPanelsUpdate();
        Zusammenstellen();
        break;
    }
}
