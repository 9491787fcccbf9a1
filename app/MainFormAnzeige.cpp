#include "app/MainForm.h"

#include <QAction>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <chrono>

#include "app/PaintBox.h"
#include "forms/MeldungZeigen.h"
#include "forms/ModelText.h"
#include "forms/PrivateProfile.h"
#include "forms/Statusleiste.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "theory/Intervalle.h"

namespace {

// The barré symbol kind from the strings it spans: 1..4, and 5 for every wider span.
int barreKind(const BarreClass& barre)
{
    const int span = barre.HoechsteSaite - barre.TiefsteSaite;
    return span >= 1 && span <= 4 ? span : 5;
}

} // namespace

QString TF_Main::chordName(int grundton, int akkordTyp) const
{
    if (akkordTyp < 0)
        return QString();
    return modelToQt(std::string(Dokument->TonName(grundton, true)) + Dokument->TypName(akkordTyp));
}

void TF_Main::compose()
{
    AkkordDepotClass& griff = *Dokument;
    GriffbrettClass& board = *Zeichner;

    board.SetTitel(Ergebnis.AkkordTyp != -1 && MI_AkkordnameOnOff->isChecked()
                       ? chordName(Ergebnis.Grundton, Ergebnis.AkkordTyp)
                       : QString());
    board.SymboleLoeschen();
    const bool fingerNumbers = MI_FingersatzOnOff->isChecked();
    for (int i = 0; i < griff.PunktAnzahl(); ++i) {
        const FingerPunktClass p = griff.Punkt(i);
        board.AddSymbol(0, fingerNumbers ? p.Finger : 0, p.Saite, p.Bund);
    }
    // Barré bars carry their finger digit even without finger numbers.
    const int barres = griff.Barre(0);
    for (int n = 1; n <= barres; ++n) {
        BarreClass barre;
        griff.Barre(n, &barre);
        board.AddSymbol(barreKind(barre), barre.Finger, barre.HoechsteSaite, barre.Bund);
    }

    const int annotation =
        Einstellungen->readInteger(QStringLiteral("Diagramm"), QStringLiteral("RechteAnzeige"), 0);
    const int strings = griff.SaitenAnzahl();
    for (int row = 0; row < strings; ++row) {
        const int saite = strings - row;
        const int status = griff.SaitenStatus(saite);
        board.SetTextLinks(row, status == SaiteLeer    ? QStringLiteral("0")
                                : status == SaiteStumm ? QStringLiteral("X")
                                                       : QString());
        const int ton = griff.KlingenderTon(saite);
        QString right;
        if (annotation == 1)
            right = modelToQt(griff.TonName(ton, true));
        else if (annotation == 2 && Ergebnis.AkkordTyp != -1)
            right =
                QString::fromStdString(griff.IntervallImAkkord(Ergebnis.Grundton, Ergebnis.AkkordTyp, ton));
        else if (annotation == 2)
            right = QString::fromStdString(IntervallName(selectedRoot(), ton));
        board.SetTextRechts(row, right);
    }
}

void TF_Main::paintAndWarn()
{
    Zeichner->Zeichnen();
    m_pufferAktuell = true;
    if (Zeichner->ZuKlein()) {
        SB_Statusbar->setWarningShown(true);
        Statusmeldung(QStringLiteral("Griffbrett zu klein!"));
    } else {
        SB_Statusbar->setWarningShown(false);
    }
}

void TF_Main::Zusammenstellen()
{
    if (!Dokument || !Zeichner || !Einstellungen)
        return;
    compose();
    paintAndWarn();
    PB_Griffbrett->update();
}

void TF_Main::PB_GriffbrettPaint(QPainter& painter)
{
    if (!Dokument || !Zeichner || !Einstellungen)
        return;
    // A paint right after a command shows what that command composed; any other paint composes anew.
    if (!m_pufferAktuell) {
        compose();
        paintAndWarn();
    }
    m_pufferAktuell = false;
    Zeichner->Kopieren(painter);
}

void TF_Main::FormResize()
{
    if (!Zeichner)
        return;
    Zeichner->SetGroesseUndAnordnen(PB_Griffbrett->width(), PB_Griffbrett->height());
    Zusammenstellen();
}

void TF_Main::ErkennungAusfuehren()
{
    if (Einstellungen->readBool(QStringLiteral("Akkorderkennung"), QStringLiteral("Aktiv"), true)) {
        // Alternatives and "Nächster" work on the matches the list holds.
        TrefferAnzahl = std::min(Dokument->Erkennen(&Ergebnis, Treffer), MaxTreffer);
    } else {
        TrefferAnzahl = 0;
    }
    int position = -1;
    m_griffAnzahl = Dokument->GriffeZaehlen(&position);
    Ergebnis.GriffIndex = position;
}

void TF_Main::statusPanelsUpdate()
{
    QString occurrence;
    if (Ergebnis.AkkordTyp != -1) {
        occurrence = Ergebnis.GriffIndex >= 0
                         ? QStringLiteral("%1/%2").arg(Ergebnis.GriffIndex + 1).arg(m_griffAnzahl)
                         : QString::number(m_griffAnzahl);
    }
    SB_Statusbar->setPanelText(1, occurrence);
    SB_Statusbar->setPanelText(0, chordName(Ergebnis.Grundton, Ergebnis.AkkordTyp));
    if (TrefferAnzahl < 2)
        return;
    QStringList others;
    for (int i = 0; i < TrefferAnzahl; ++i) {
        if (Treffer[i].Grundton != Ergebnis.Grundton || Treffer[i].AkkordTyp != Ergebnis.AkkordTyp)
            others << chordName(Treffer[i].Grundton, Treffer[i].AkkordTyp);
    }
    Statusmeldung((TrefferAnzahl == 2 ? QStringLiteral("Weiterer: ") : QStringLiteral("Weitere: ")) +
                  others.join(QStringLiteral(", ")));
}

void TF_Main::menuStatesUpdate()
{
    const bool recognised = Ergebnis.AkkordTyp != -1;
    MI_AkkSpeichern->setEnabled(recognised && Ergebnis.GriffIndex == -1);
    MI_AkkEntfernen->setEnabled(recognised && Ergebnis.GriffIndex != -1);
    MI_AkkVor->setEnabled(m_griffAnzahl > 1);
    MI_AkkZurueck->setEnabled(m_griffAnzahl > 1);
    MI_ErkVor->setEnabled(TrefferAnzahl > 1);
    const bool fingers = Dokument->PunktAnzahl() > 0;
    PMI_Alleentfernen->setEnabled(fingers);
    PMI_Alleentfernen1->setEnabled(fingers);
}

void TF_Main::NachAenderungAktualisieren()
{
    if (NaechsterFinger >= 1 && NaechsterFinger <= 4)
        MI_FingerNext[NaechsterFinger - 1]->setChecked(true);
    Statusmeldung(QString());
    ErkennungAusfuehren();
    statusPanelsUpdate();
    menuStatesUpdate();
    Zusammenstellen();
}

void TF_Main::NachHolenAktualisieren()
{
    if (MI_ShowAkkord->isChecked())
        Zeichner->SetStartbund(std::clamp(Dokument->TiefsterBund(), 1, MaxBund));
    NachAenderungAktualisieren();
}

void TF_Main::BundanzahlAnwenden(int anzahl)
{
    Zeichner->SetBundanzahl(anzahl);
    Einstellungen->writeInteger(QStringLiteral("Diagramm"), QStringLiteral("Bundanz%1").arg(Ansicht), anzahl);
    MI_BundAdd->setVisible(anzahl < MaxBund);
    MI_BundAdd->setEnabled(anzahl < MaxBund);
    MI_BundSub->setVisible(anzahl > 4);
    MI_BundSub->setEnabled(anzahl > 4);
    Statusmeldung(QStringLiteral("Bünde im Griffbrett: %1").arg(anzahl));
}

void TF_Main::MI_SpeedClick()
{
    Geschwindigkeitstest();
}

void TF_Main::Geschwindigkeitstest()
{
    using Clock = std::chrono::system_clock;
    const auto second = [] {
        return std::chrono::duration_cast<std::chrono::seconds>(Clock::now().time_since_epoch()).count();
    };
    const auto start = second();
    while (second() == start) {
    }
    const auto measured = second();
    long count = 0;
    do {
        ++count;
        Zeichner->Zeichnen();
    } while (second() == measured);
    MeldungZeigen(this, 3, QStringLiteral("Testergebnis: %1/sec").arg(count),
                  QStringLiteral("Bildaufbautest"), 2);
}
