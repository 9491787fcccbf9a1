#include "app/MainForm.h"

#include <QAction>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <chrono>

#include "app/PaintBox.h"
#include "forms/MeldungZeigen.h"
#include "forms/ModelText.h"
#include "forms/PrivateProfile.h"
#include "forms/Statusleiste.h"
#include "render/DiagramComposer.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "theory/Intervalle.h"

QString TF_Main::chordName(int grundton, int akkordTyp, int bass) const
{
    return DiagramComposer(*Dokument).chordName(grundton, akkordTyp, bass);
}

DiagramOptions TF_Main::diagrammOptionen() const
{
    DiagramOptions options;
    options.akkordname = MI_AkkordnameOnOff->isChecked();
    options.fingerzahlen = MI_FingersatzOnOff->isChecked();
    options.rechteAnzeige =
        Einstellungen->readInteger(QStringLiteral("Diagramm"), QStringLiteral("RechteAnzeige"), 0);
    options.intervallGrundton = selectedRoot();
    return options;
}

void TF_Main::boardViewApply()
{
    GriffbrettClass& board = *Zeichner;
    // Markers help to find a fret on the whole neck; the view that follows the grip stays plain.
    board.SetLagenpunkte(Ansicht == 0 && MI_LagenpunkteOnOff->isChecked());
    board.SetLinkshaender(MI_LinkshaenderOnOff->isChecked());
    board.SetPixelverhaeltnis(PB_Griffbrett->devicePixelRatioF());
    // The right margin makes room for the longest text the chosen annotation can show, so the board
    // keeps its layout from grip to grip.
    QString longest;
    switch (Einstellungen->readInteger(QStringLiteral("Diagramm"), QStringLiteral("RechteAnzeige"), 0)) {
    case 1:
        for (int ton = 0; ton < 12; ++ton) {
            const QString name = modelToQt(Dokument->TonName(ton, true));
            if (name.size() > longest.size())
                longest = name;
        }
        break;
    case 2:
        for (int code = 0; code < AnzahlIntervallcodes; ++code) {
            const QString name = QString::fromLatin1(IntervallBezeichnung(code));
            if (name.size() > longest.size())
                longest = name;
        }
        break;
    default:
        break;
    }
    board.SetTextRechtsMuster(longest);
}

void TF_Main::compose()
{
    boardViewApply();
    DiagramComposer(*Dokument).compose(*Zeichner, *Dokument, Ergebnis, diagrammOptionen());
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
    // A paint right after a command shows what that command composed; any other paint composes anew,
    // and so does one on a screen of another pixel ratio.
    if (Zeichner->Pixelverhaeltnis() != PB_Griffbrett->devicePixelRatioF())
        m_pufferAktuell = false;
    if (!m_pufferAktuell) {
        compose();
        paintAndWarn();
    }
    m_pufferAktuell = false;
    Zeichner->Kopieren(painter);
    Zeichner->CursorZeichnen(painter);
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
        // A stored fingering brings its chord, which recognition then keeps while it fits.
        m_fingersatzSuche.Uebernehmen(*Dokument);
        // A stored grip keeps the chord it is filed under even where an edited catalogue no longer
        // lets that chord fit, so it can still be found, removed and undone.
        const int storedRoot = Dokument->Grundton;
        const int storedType = Dokument->AkkordTyp;
        const bool stored = storedType >= 0 && Dokument->GriffSuchen() >= 0;
        // Alternatives and "Nächster" work on the matches the list holds.
        TrefferAnzahl = std::min(Dokument->Erkennen(&Ergebnis, Treffer), MaxTreffer);
        if (stored && (Ergebnis.Grundton != storedRoot || Ergebnis.AkkordTyp != storedType)) {
            Dokument->AkkordSetzen(storedRoot, storedType);
            Ergebnis.Grundton = static_cast<std::uint8_t>(storedRoot);
            Ergebnis.AkkordTyp = storedType;
            Ergebnis.Basston = static_cast<std::uint8_t>(Dokument->SchraegstrichBass(storedRoot, Dokument->Daten()));
        }
    } else {
        TrefferAnzahl = 0;
    }
    int position = -1;
    m_griffAnzahl = Dokument->GriffeZaehlen(&position);
    Ergebnis.GriffIndex = position;
}

void TF_Main::chordPanelFit()
{
    // The widest root with every chord type: the longest name the catalogue can give.
    const QFontMetrics metrics(SB_Statusbar->font());
    int widestRoot = 0;
    for (int ton = 1; ton < 12; ++ton) {
        if (metrics.horizontalAdvance(modelToQt(Dokument->TonName(ton, true))) >
            metrics.horizontalAdvance(modelToQt(Dokument->TonName(widestRoot, true))))
            widestRoot = ton;
    }
    // In the bass mode a name can end in a slash and another root.
    int widestBass = KeinTon;
    if (Dokument->SetzeStartSaite(-1) == StartSaiteBasston) {
        const auto width = [&](int ton) {
            return metrics.horizontalAdvance(modelToQt(Dokument->TonName(ton, true)));
        };
        widestBass = widestRoot == 0 ? 1 : 0;
        for (int ton = 0; ton < 12; ++ton) {
            if (ton != widestRoot && width(ton) > width(widestBass))
                widestBass = ton;
        }
    }
    QStringList names;
    for (int typ = 0; typ < Dokument->TypAnzahl(); ++typ)
        names << chordName(widestRoot, typ, widestBass);
    SB_Statusbar->chordPanelFit(names);
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
    chordPanelFit();
    SB_Statusbar->setPanelText(0, chordName(Ergebnis.Grundton, Ergebnis.AkkordTyp, Ergebnis.Basston));
    if (TrefferAnzahl < 2)
        return;
    QStringList others;
    for (int i = 0; i < TrefferAnzahl; ++i) {
        if (Treffer[i].Grundton != Ergebnis.Grundton || Treffer[i].AkkordTyp != Ergebnis.AkkordTyp)
            others << chordName(Treffer[i].Grundton, Treffer[i].AkkordTyp, Treffer[i].Basston);
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
    // A stored grip may use strings this instrument does not have.
    Dokument->FremdeSaitenEntfernen();
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
