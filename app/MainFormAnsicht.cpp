#include "app/MainForm.h"

#include <QAction>
#include <QLayout>

#include <algorithm>

#include "app/PaintBox.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/GrifftabForm.h"
#include "forms/PrivateProfile.h"
#include "forms/Statusleiste.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"

namespace {

const QString diagramm = QStringLiteral("Diagramm");

} // namespace

void TF_Main::MI_FingersatzOnOffClick()
{
    Einstellungen->writeBool(diagramm, QStringLiteral("Fingersatz"), MI_FingersatzOnOff->isChecked());
    Zusammenstellen();
}

void TF_Main::MI_AkkordnameOnOffClick()
{
    Einstellungen->writeBool(diagramm, QStringLiteral("Akkordname"), MI_AkkordnameOnOff->isChecked());
    Zusammenstellen();
}

void TF_Main::MI_LagenpunkteOnOffClick()
{
    Einstellungen->writeBool(diagramm, QStringLiteral("Lagenpunkte"), MI_LagenpunkteOnOff->isChecked());
    Zusammenstellen();
}

void TF_Main::MI_LinkshaenderOnOffClick()
{
    Einstellungen->writeBool(diagramm, QStringLiteral("Linkshaender"), MI_LinkshaenderOnOff->isChecked());
    Zusammenstellen();
}

void TF_Main::annotationChoose(int wert, const QString& meldung)
{
    if (!Einstellungen->writeInteger(diagramm, QStringLiteral("RechteAnzeige"), wert))
        return;
    Zusammenstellen();
    Statusmeldung(meldung);
}

void TF_Main::MI_StatuszeileOnOffClick()
{
    const bool shown = !SB_Statusbar->isVisibleTo(this);
    SB_Statusbar->setVisible(shown);
    MI_StatuszeileOnOff->setChecked(shown);
    if (!Einstellungen->writeBool(QStringLiteral("Computer"), QStringLiteral("Statuszeile"), shown))
        return;
    // The paint box changes its height now, not at the next layout pass.
    centralWidget()->layout()->activate();
    Zeichner->SetGroesseUndAnordnen(PB_Griffbrett->width(), PB_Griffbrett->height());
    Zusammenstellen();
}

void TF_Main::MI_Bund01Click(QAction* item)
{
    const int fret = item->objectName().right(2).toInt();
    if (fret >= 1 && fret <= 12)
        ZuBundGehen(fret);
}

void TF_Main::MI_BundAddClick()
{
    BundanzahlAnwenden(Zeichner->Bundzahl() + 1);
    Zusammenstellen();
}

void TF_Main::MI_BundSubClick()
{
    BundanzahlAnwenden(Zeichner->Bundzahl() - 1);
    Zusammenstellen();
}

void TF_Main::ZuBundGehen(int bund)
{
    bund = std::clamp(bund, 1, MaxBund);
    const RueckgaengigVerlauf::GriffKlammer schritt(*m_verlauf, QStringLiteral("Griff verschieben"));
    if (!Dokument->GriffVerschieben(bund)) {
        Statusmeldung(QStringLiteral("Der Griff passt ab dem %1. Bund nicht mehr auf das Griffbrett").arg(bund));
        return;
    }
    if (MI_ShowAkkord->isChecked())
        Zeichner->SetStartbund(bund);
    NachAenderungAktualisieren();
}

void TF_Main::AnsichtWechseln()
{
    const bool followed = Einstellungen->readBool(diagramm, QStringLiteral("AkkordBestimmt"), true);
    (followed ? MI_ShowGriffbrett : MI_ShowAkkord)->setChecked(true);
    if (!Einstellungen->writeBool(diagramm, QStringLiteral("AkkordBestimmt"), !followed))
        return;
    if (MI_ShowAkkord->isChecked()) {
        Zeichner->SetStartbund(std::clamp(Dokument->TiefsterBund(), 1, MaxBund));
        Statusmeldung(QStringLiteral("Griffbrett wird an Griff angepasst"));
    } else {
        Zeichner->SetStartbund(1);
        Statusmeldung(QStringLiteral("Griffbrett wird nicht an Griff angepasst"));
    }
    FensterLage(true);
    Ansicht = 1 - Ansicht;
    BundanzahlAnwenden(Einstellungen->readInteger(diagramm, QStringLiteral("Bundanz%1").arg(Ansicht),
                                                  Ansicht == 0 ? 16 : 4));
    FensterLage(false);
    Zusammenstellen();
}

void TF_Main::MI_ErkennungSaite0Click(QAction* item)
{
    startStringSet(item->objectName().right(1).toInt());
}

void TF_Main::startStringSet(int saite)
{
    Dokument->AkkordSetzen(KeinTon, 0);
    Dokument->SetzeStartSaite(saite);
    // Only the bass mode is remembered; every other choice switches it off.
    Einstellungen->writeInteger(QStringLiteral("Akkorderkennung"), QStringLiteral("Basston"),
                                saite == StartSaiteBasston ? 1 : 0);
    NachAenderungAktualisieren();
    if (saite >= 0 && saite <= StartSaiteBasston)
        MI_ErkennungSaite[saite]->setChecked(true);
    if (GrifftabFenster)
        GrifftabFenster->GriffeFuellen(false);
    Zusammenstellen();
}

void TF_Main::MI_AkkordErkOnOffClick()
{
    // Takes effect at the next refresh.
    Einstellungen->writeBool(QStringLiteral("Akkorderkennung"), QStringLiteral("Aktiv"),
                             MI_AkkordErkOnOff->isChecked());
}

void TF_Main::MI_ErkVorClick()
{
    if (TrefferAnzahl < 1)
        return;
    int current = -1;
    for (int i = 0; i < TrefferAnzahl && current < 0; ++i) {
        if (Treffer[i].Grundton == Ergebnis.Grundton && Treffer[i].AkkordTyp == Ergebnis.AkkordTyp)
            current = i;
    }
    const TrefferClass& next = Treffer[current + 1 < TrefferAnzahl ? current + 1 : 0];
    Ergebnis.Grundton = next.Grundton;
    Ergebnis.AkkordTyp = next.AkkordTyp;
    Dokument->AkkordSetzen(next.Grundton, next.AkkordTyp);
    NachAenderungAktualisieren();
    if (Ergebnis.AkkordTyp != -1)
        grifftabAuswahlSetzen();
}
