#include "app/MainForm.h"

#include <QListWidget>
#include <QStringList>

#include <algorithm>

#include "app/RueckgaengigSchritt.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/GriffeFindenForm.h"
#include "forms/GrifftabForm.h"
#include "table/AkkordDepot.h"
#include "theory/Grenzen.h"

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
        [this](const std::vector<AkkordDatenClass>& griffe) { return gefundeneGriffeSpeichern(griffe); },
        this);
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

QString TF_Main::gefundeneGriffeSpeichern(const std::vector<AkkordDatenClass>& griffe)
{
    if (griffe.empty())
        return QString();
    auto schritt = m_verlauf->speichernBeginnen(QStringLiteral("Griffe speichern"));
    int stored = 0;
    int known = 0;
    bool full = false;
    for (const AkkordDatenClass& griff : griffe) {
        const int counter = Dokument->Nummer;
        Dokument->Daten() = griff;
        Dokument->Nummer = counter;
        Dokument->LeerBereinigen();
        if (Dokument->Anzahl() >= MaxGriffe)
            full = true;
        else if (Dokument->GriffSuchen() >= 0)
            ++known;
        else if (Dokument->GriffAufnehmen() > 0)
            ++stored;
    }
    Ergebnis.Grundton = griffe.back().Grundton;
    Ergebnis.AkkordTyp = griffe.back().AkkordTyp;
    NachHolenAktualisieren();
    const int total = static_cast<int>(griffe.size());
    QString report;
    if (stored == 0)
        report = total == 1 ? QStringLiteral("Griff wurde nicht gespeichert")
                            : QStringLiteral("Kein Griff wurde gespeichert");
    else if (total == 1)
        report = QStringLiteral("Griff wurde gespeichert");
    else if (stored == total)
        report = QStringLiteral("%1 Griffe wurden gespeichert").arg(stored);
    else
        report = QStringLiteral("%1 von %2 Griffen wurden gespeichert").arg(stored).arg(total);
    QStringList reasons;
    if (known > 0)
        reasons << (total == 1 ? QStringLiteral("er ist schon gespeichert")
                               : QStringLiteral("%1 schon gespeichert").arg(known));
    if (full)
        reasons << QStringLiteral("Die Grifftabelle ist voll: %1 Griffe").arg(MaxGriffe);
    if (!reasons.isEmpty())
        report += QStringLiteral(": ") + reasons.join(QStringLiteral(", "));
    Statusmeldung(report);
    if (stored == 0)
        return report;
    m_verlauf->aufnehmen(std::move(schritt));
    if (Ergebnis.AkkordTyp != -1) {
        GrifftabFenster->GriffeFuellen(false);
        grifftabAuswahlSetzen();
    }
    return report;
}
