#include "app/MainForm.h"

#include <QAction>

#include <cstdlib>

#include "app/Bildschirmlage.h"
#include "app/SpeicherGrund.h"
#include "app/RueckgaengigSchritt.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/GriffSpeichernForm.h"
#include "forms/GrifftabForm.h"
#include "forms/PrivateProfile.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"

namespace {

const QString grifftab = QStringLiteral("Grifftab");

} // namespace

void TF_Main::grifftabErzeugen()
{
    // A window of its own, not a child: it stays on top and lives until the program ends.
    GrifftabFenster = std::make_unique<TF_GrifftabForm>(
        *Dokument, [this](int code) { Benachrichtigen(code); },
        [this](const QString& hinweis) { HinweisZeigen(hinweis); });
    GrifftabFenster->HinweiseAnzeigen(MI_KurzhinweisOnOff->isChecked());
    GrifftabFenster->SetzeBearbeiten([this](TF_GrifftabForm::Bearbeitung art, const QString& was, int von,
                                            int nach, const std::function<bool()>& edit) {
        return m_verlauf->bearbeiten(art, was, von, nach, edit);
    });
    modifierShortcutsEverywhere();
}

void TF_Main::modifierShortcutsEverywhere()
{
    // Keys with Ctrl or Alt, and the function keys, work while the chord-table window is active; the
    // window's own keys (Ctrl+R moves a chord type there) stay its own, or neither would work.
    QList<QKeySequence> taken;
    const QList<QAction*> windowActions = GrifftabFenster->findChildren<QAction*>();
    for (const QAction* action : windowActions)
        taken += action->shortcuts();
    const QList<QAction*> actions = findChildren<QAction*>();
    for (QAction* action : actions) {
        const QList<QKeySequence> keys = action->shortcuts();
        bool everywhere = !keys.isEmpty();
        for (const QKeySequence& key : keys) {
            const QKeyCombination combination = key[0];
            const bool modified = combination.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier);
            const bool functionKey = combination.key() >= Qt::Key_F1 && combination.key() <= Qt::Key_F35;
            everywhere = everywhere && (modified || functionKey) && !taken.contains(key);
        }
        if (everywhere)
            action->setShortcutContext(Qt::ApplicationShortcut);
    }
}

void TF_Main::GrifftabLageLaden(bool nurListen)
{
    TF_GrifftabForm& window = *GrifftabFenster;
    if (!nurListen) {
        const int top = Einstellungen->readInteger(grifftab, QStringLiteral("WindowTop"), window.y());
        const int left = Einstellungen->readInteger(grifftab, QStringLiteral("WindowLeft"), window.x());
        const int height = Einstellungen->readInteger(grifftab, QStringLiteral("WindowHeight"), 440);
        // On the first start the window is as wide as its header titles need.
        const int width =
            Einstellungen->readInteger(grifftab, QStringLiteral("WindowWidth"), window.Standardbreite());
        window.resize(passendeGroesse(QSize(width, height),
                                      window.minimumSizeHint().expandedTo(window.minimumSize()),
                                      QPoint(left, top)));
        window.move(sichtbareLage(QRect(QPoint(left, top), window.frameGeometry().size())));
        m_grifftabDaneben = Einstellungen->readString(grifftab, QStringLiteral("WindowLeft"), QString()).isEmpty();
        if (Einstellungen->readBool(grifftab, QStringLiteral("Anzeigen"), true)) {
            MI_GrifftabOnOff->setChecked(true);
            window.show();
        }
        window.SetzeKopfbreite(
            0, Einstellungen->readInteger(grifftab, QStringLiteral("Width0"), window.Kopfbreite(0)));
        window.SetzeKopfbreite(
            1, Einstellungen->readInteger(grifftab, QStringLiteral("Width1"), window.Kopfbreite(1)));
    }
    window.GrundtoeneFuellen();
    window.GrundtonWaehlen(0);
    window.TypenFuellen();
    window.TypWaehlen(0);
    window.GriffeFuellen(true);
    window.GriffWaehlen(0);
    window.PanelAktualisieren();
}

void TF_Main::GrifftabLageSpeichern()
{
    const TF_GrifftabForm& window = *GrifftabFenster;
    Einstellungen->writeInteger(grifftab, QStringLiteral("WindowTop"), window.y()) &&
        Einstellungen->writeInteger(grifftab, QStringLiteral("WindowLeft"), window.x()) &&
        Einstellungen->writeInteger(grifftab, QStringLiteral("WindowHeight"), window.height()) &&
        Einstellungen->writeInteger(grifftab, QStringLiteral("WindowWidth"), window.width()) &&
        Einstellungen->writeInteger(grifftab, QStringLiteral("Width0"), window.Kopfbreite(0)) &&
        Einstellungen->writeInteger(grifftab, QStringLiteral("Width1"), window.Kopfbreite(1));
}

int TF_Main::selectedRoot() const
{
    return GrifftabFenster ? GrifftabFenster->GewaehlterGrundton() : 0;
}

void TF_Main::selectedGripFetch()
{
    TrefferClass chosen;
    if (GrifftabFenster->Auswahl(chosen))
        Dokument->GriffHolen(chosen.Grundton, chosen.AkkordTyp, false, chosen.GriffIndex);
}

void TF_Main::grifftabAuswahlSetzen()
{
    GrifftabFenster->AuswahlSetzen(Ergebnis);
}

void TF_Main::grifftabSichtbar(bool sichtbar)
{
    if (sichtbar) {
        GrifftabFenster->show();
        GrifftabFenster->raise();
    } else {
        GrifftabFenster->hide();
    }
}

void TF_Main::Benachrichtigen(int code)
{
    switch (code) {
    case 0:
        // Quitting closes every window; only a close by the user hides the chord-table window for good.
        if (!m_beendet)
            MI_GrifftabOnOff->trigger();
        break;
    case 1:
        zuGriffGehen();
        break;
    case 2:
        MI_AkkEntfernenClick();
        break;
    case 3:
        Tastenkuerzel(false);
        break;
    case 4:
        Tastenkuerzel(true);
        break;
    case 5:
        katalogGeaendert();
        break;
    case 6:
        statusPanelsUpdate();
        Zusammenstellen();
        break;
    default:
        break;
    }
}

void TF_Main::zuGriffGehen()
{
    TrefferClass chosen;
    if (GrifftabFenster->Auswahl(chosen)) {
        Ergebnis = chosen;
        Dokument->GriffHolen(chosen.Grundton, chosen.AkkordTyp, false, chosen.GriffIndex);
        NachHolenAktualisieren();
        return;
    }
    Dokument->Loeschen();
    NaechsterFingerSetzen(1);
    NachAenderungAktualisieren();
    Statusmeldung(QStringLiteral("Kein passendender Griff vorhanden!"));
}

void TF_Main::katalogGeaendert()
{
    ergebnisAusGriff();
    NachAenderungAktualisieren();
}

void TF_Main::ergebnisAusGriff()
{
    // The document renumbered the grip's chord with the stored grips; the result follows it, and the
    // matches of the old numbering are gone until recognition runs again.
    // An emptied grip keeps type 0 beside "no root": that is no chord either.
    const bool chord = Dokument->Daten().Grundton < KeinTon && Dokument->Daten().AkkordTyp >= 0;
    Ergebnis.Grundton = chord ? Dokument->Daten().Grundton : KeinTon;
    Ergebnis.AkkordTyp = chord ? Dokument->Daten().AkkordTyp : -1;
    TrefferAnzahl = 0;
}

void TF_Main::MI_SuchenClick()
{
    if (GrifftabFenster->isActiveWindow()) {
        if (GrifftabGeoeffnet) {
            MI_GrifftabOnOff->trigger();
            GrifftabGeoeffnet = false;
        } else {
            activateWindow();
        }
        return;
    }
    if (MI_GrifftabOnOff->isChecked()) {
        GrifftabFenster->raise();
        GrifftabFenster->activateWindow();
    } else {
        MI_GrifftabOnOff->trigger();
        GrifftabGeoeffnet = true;
    }
}

void TF_Main::MI_AkkSpeichernClick()
{
    AkkordDepotClass& griff = *Dokument;
    // The grip is filed under the chord the window shows, and only under one the catalogue has.
    if (Ergebnis.Grundton >= KeinTon || Ergebnis.AkkordTyp < 0 || Ergebnis.AkkordTyp >= griff.TypAnzahl()) {
        Statusmeldung(
            QStringLiteral("Griff wurde nicht gespeichert: der Griff ist kein Akkord des Katalogs"));
        return;
    }
    griff.AkkordSetzen(Ergebnis.Grundton, Ergebnis.AkkordTyp);
    griff.LeerBereinigen();
    bool openString = false;
    for (int s = 1; s <= griff.SaitenAnzahl(); ++s)
        openString = openString || griff.SaitenStatus(s) == SaiteLeer;

    bool range = false;
    int from = 0;
    int to = 0;
    if (!openString && griff.PunktAnzahl() > 0) {
        // An open string cannot move along the neck, so only a fretted grip may be transposed.
        TF_GriffSpeichern dialog(griff.TiefsterBund(), this, griff.HoechsterBund() - griff.TiefsterBund());
        if (dialog.ausfuehren() != QDialog::Accepted) {
            Statusmeldung(QStringLiteral("Griff wurde nicht gespeichert!"));
            return;
        }
        range = dialog.bereich();
        from = dialog.vonBund();
        to = dialog.bisBund();
    }

    auto schritt = m_verlauf->speichernBeginnen(QStringLiteral("Griff speichern"));
    bool stored = false;
    QString refusal;
    if (!range) {
        refusal = speicherVerweigerung(griff);
        stored = refusal.isEmpty() && griff.GriffAufnehmen() > 0;
    } else {
        const int base = griff.TiefsterBund();
        for (int fret = from; fret <= to; ++fret) {
            if (!griff.GriffVerschieben(fret))
                continue; // the dialog offers only frets where the shape fits
            const int root = NotenClass::Transponieren(Ergebnis.Grundton, std::abs(base - fret), fret > base);
            griff.AkkordSetzen(root, Ergebnis.AkkordTyp);
            const QString why = speicherVerweigerung(griff);
            if (!why.isEmpty() && refusal.isEmpty())
                refusal = why;
            stored = (why.isEmpty() && griff.GriffAufnehmen() > 0) || stored;
        }
        griff.GriffVerschieben(base);
        griff.AkkordSetzen(Ergebnis.Grundton, Ergebnis.AkkordTyp);
    }
    if (!stored) {
        Statusmeldung(refusal.isEmpty() ? QStringLiteral("Griff wurde nicht gespeichert!") : refusal);
        return;
    }
    NachHolenAktualisieren();
    m_verlauf->aufnehmen(std::move(schritt));
    Statusmeldung(QStringLiteral("Griff wurde gespeichert"));
    if (Ergebnis.AkkordTyp != -1)
        grifftabAuswahlSetzen();
}
