#include "app/MainForm.h"

#include <QListWidget>

#include <algorithm>

#include "app/RueckgaengigSchritt.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/GriffeFindenForm.h"
#include "forms/GrifftabForm.h"
#include "table/AkkordDepot.h"

void TF_Main::MI_GriffeFindenClick()
{
    // The chord shown on the board, else the chord chosen in the chord-table window.
    int grundton = 0;
    int typ = 0;
    if (Ergebnis.AkkordTyp >= 0 && Ergebnis.Grundton < 12) {
        grundton = Ergebnis.Grundton;
        typ = Ergebnis.AkkordTyp;
    } else if (GrifftabFenster) {
        grundton = GrifftabFenster->GewaehlterGrundton();
        typ = std::max(0, GrifftabFenster->LB_Akkorde->currentRow());
    }
    auto* dialog = new TF_GriffeFinden(
        *Dokument, *Einstellungen, grundton, typ,
        [this](const AkkordDatenClass& griff) { gefundenenGriffZeigen(griff); },
        [this](const std::vector<AkkordDatenClass>& griffe) { gefundeneGriffeSpeichern(griffe); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Modal, so that the table cannot change under the list; shown without a nested loop.
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void TF_Main::gefundenenGriffZeigen(const AkkordDatenClass& griff)
{
    // Undo returns to the grip before the first of the grips shown in a row.
    const RueckgaengigVerlauf::GriffKlammer schritt(*m_verlauf, QStringLiteral("Griff zeigen"),
                                                    SchrittGriffZeigen);
    // The grip number of the current grip counts the stored grips on; a found grip has none of its own.
    const int counter = Dokument->Nummer;
    Dokument->Daten() = griff;
    Dokument->Nummer = counter;
    Ergebnis.Grundton = griff.Grundton;
    Ergebnis.AkkordTyp = griff.AkkordTyp;
    NachHolenAktualisieren();
}

void TF_Main::gefundeneGriffeSpeichern(const std::vector<AkkordDatenClass>& griffe)
{
    if (griffe.empty())
        return;
    auto schritt = m_verlauf->speichernBeginnen(QStringLiteral("Griffe speichern"));
    int stored = 0;
    for (const AkkordDatenClass& griff : griffe) {
        const int counter = Dokument->Nummer;
        Dokument->Daten() = griff;
        Dokument->Nummer = counter;
        Dokument->LeerBereinigen();
        // Refused when the table holds the grip already or is full.
        if (Dokument->GriffAufnehmen() > 0)
            ++stored;
    }
    Ergebnis.Grundton = griffe.back().Grundton;
    Ergebnis.AkkordTyp = griffe.back().AkkordTyp;
    if (stored == 0) {
        NachHolenAktualisieren();
        Statusmeldung(QStringLiteral("Griff wurde nicht gespeichert!"));
        return;
    }
    NachHolenAktualisieren();
    m_verlauf->aufnehmen(std::move(schritt));
    const int total = static_cast<int>(griffe.size());
    if (total == 1)
        Statusmeldung(QStringLiteral("Griff wurde gespeichert"));
    else if (stored == total)
        Statusmeldung(QStringLiteral("%1 Griffe wurden gespeichert").arg(stored));
    else
        Statusmeldung(QStringLiteral("%1 von %2 Griffen wurden gespeichert").arg(stored).arg(total));
    if (Ergebnis.AkkordTyp != -1) {
        GrifftabFenster->GriffeFuellen(false);
        grifftabAuswahlSetzen();
    }
}
