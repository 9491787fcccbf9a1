#include "app/MainForm.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

#include "app/PaintBox.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/MeldungZeigen.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"

void TF_Main::createPopupMenus()
{
    static const char* const fingerNames[4] = {"PMI_Finger1", "PMI_Finger2", "PMI_Finger3", "PMI_Finger4"};
    static const char* const fingerCaptions[4] = {"&1. Zeigefinger", "&2. Mittelfinger", "&3. Ringfinger",
                                                  "&4. kleiner Finger"};
    const QString barreHint = QStringLiteral("Barrè wird eingezeichnet");
    const QString removeHint = QStringLiteral("Alle FInger werden aus dem Griffbrett entfernt");
    const QString startHint = QStringLiteral("Akkorderkennung soll bei dieser Saite beginnen");
    // Ctrl+R is shown in the pop-ups, named as the menus name keys; the main menu's hidden "Barrè"
    // item carries the key itself.
    const QString barreCaption = QStringLiteral("&Barrè einzeichnen\t") +
                                 QKeySequence(Qt::CTRL | Qt::Key_R).toString(QKeySequence::NativeText);

    PM_Finger1bis4 = new QMenu(this);
    PM_Finger1bis4->setObjectName(QStringLiteral("PM_Finger1bis4"));
    for (int i = 0; i < 4; ++i) {
        PMI_Finger[i] = createAction(fingerNames[i], QString::fromUtf8(fingerCaptions[i]), QString());
        PM_Finger1bis4->addAction(PMI_Finger[i]);
    }
    PM_Finger1bis4->addSeparator();
    PMI_Alleentfernen =
        createAction("PMI_Alleentfernen", QStringLiteral("&Alle Finger entfernen"), removeHint);
    PMI_ErkennungSaite =
        createAction("PMI_ErkennungSaite", QStringLiteral("Saite für Akkord&erkennung"), startHint);
    PMI_Barre1 = createAction("PMI_Barre1", barreCaption, barreHint);
    PM_Finger1bis4->addActions({PMI_Alleentfernen, PMI_ErkennungSaite, PMI_Barre1});

    PM_Leerseiten = new QMenu(this);
    PM_Leerseiten->setObjectName(QStringLiteral("PM_Leerseiten"));
    PMI_SaiteSpielen = createAction("PMI_SaiteSpielen", QStringLiteral("Saite spielen (&O) / dämpfen (X)"),
                                    QStringLiteral("Status der aktuellen Saite ändern"));
    PMI_SaiteAlleDaempfen = createAction("PMI_SaiteAlleDaempfen", QStringLiteral("Alle Saiten &dämpfen"),
                                         QStringLiteral("Alle leeren Saiten werden als gedämpft markiert"));
    PMI_SaiteAlleSpielen = createAction("PMI_SaiteAlleSpielen", QStringLiteral("Alle Saiten &spielen"),
                                        QStringLiteral("Alle leeren Saiten werden als markiert"));
    PM_Leerseiten->addActions({PMI_SaiteSpielen, PMI_SaiteAlleDaempfen, PMI_SaiteAlleSpielen});
    PM_Leerseiten->addSeparator();
    PMI_Barre = createAction("PMI_Barre", barreCaption, barreHint);
    PMI_ErkennungSaite1 =
        createAction("PMI_ErkennungSaite1", QStringLiteral("Saite für Akkord&erkennung"), startHint);
    PM_Leerseiten->addActions({PMI_Barre, PMI_ErkennungSaite1});

    PM_NormKlick = new QMenu(this);
    PM_NormKlick->setObjectName(QStringLiteral("PM_NormKlick"));
    PMI_Barre2 = createAction("PMI_Barre2", barreCaption, barreHint);
    PMI_Alleentfernen1 =
        createAction("PMI_Alleentfernen1", QStringLiteral("&Alle Finger entfernen"), removeHint);
    PM_NormKlick->addActions({PMI_Barre2, PMI_Alleentfernen1});

    for (int i = 0; i < 4; ++i)
        connect(PMI_Finger[i], &QAction::triggered, this, [this, i] { FingerWaehlen(i + 1, false); });
    for (QAction* item : {PMI_Alleentfernen, PMI_Alleentfernen1})
        connect(item, &QAction::triggered, this, &TF_Main::AlleFingerEntfernen);
    for (QAction* item : {PMI_Barre, PMI_Barre1, PMI_Barre2})
        connect(item, &QAction::triggered, this, &TF_Main::BarreEintragen);
    for (QAction* item : {PMI_ErkennungSaite, PMI_ErkennungSaite1})
        connect(item, &QAction::triggered, this, [this] { startStringSet(Zeichner->AktSaite()); });
    connect(PMI_SaiteSpielen, &QAction::triggered, this, &TF_Main::SaiteUmschalten);
    connect(PMI_SaiteAlleDaempfen, &QAction::triggered, this, [this] { AlleSaitenSetzen(false); });
    connect(PMI_SaiteAlleSpielen, &QAction::triggered, this, [this] { AlleSaitenSetzen(true); });

    PB_Griffbrett->onMouseDown = [this](QMouseEvent* event) { PB_GriffbrettMouseDown(event); };
    PB_Griffbrett->onMouseUp = [this](QMouseEvent* event) { PB_GriffbrettMouseUp(event); };
}

TF_Main::Fangrechteck TF_Main::Fangbereich(int spalte, int saite) const
{
    const GriffbrettClass& board = *Zeichner;
    const int row = board.Saitenanzahl() + 1 - saite;
    Fangrechteck area;
    const int d = board.Bundabstand() / 3;
    area.left = board.RandLinks() + (spalte - 1) * board.Bundabstand() + 1 + d / 2;
    area.right = area.left + 2 * d;
    const int e = board.Saitenabstand() / 3;
    const int y0 = board.RandOben() + (row - 1) * board.Saitenabstand() - board.Saitenabstand() / 2;
    area.top = y0 + e / 2;
    area.bottom = area.top + 2 * e + 1;
    if (board.Linkshaender()) {
        // The spot lies where the mirrored board shows it: pixel column x appears at Breite - 1 - x.
        const int left = board.Breite() - 1 - area.right;
        area.right = board.Breite() - 1 - area.left;
        area.left = left;
    }
    return area;
}

int TF_Main::leerMarkeBei(QPoint punkt) const
{
    const GriffbrettClass& board = *Zeichner;
    for (int row = 0; row < board.Saitenanzahl(); ++row) {
        const QRect mark = board.TextLinksFeld(row).box;
        // A few pixels of slack around a mark that is only a character wide.
        if (!mark.isEmpty() && mark.adjusted(-2, -2, 2, 2).contains(punkt))
            return board.Saitenanzahl() - row;
    }
    return -1;
}

bool TF_Main::FeldSuchen(int x, int y, int& bund, int& saite) const
{
    const GriffbrettClass& board = *Zeichner;
    for (int row = 1; row <= board.Saitenanzahl(); ++row) {
        const int s = board.Saitenanzahl() + 1 - row;
        for (int column = 1; column <= board.Bundzahl(); ++column) {
            const Fangrechteck area = Fangbereich(column, s);
            if (area.left < x && x < area.right && area.top < y && y < area.bottom) {
                bund = column + board.GetStartbund() - 1;
                saite = s;
                return true;
            }
        }
    }
    bund = -1;
    saite = -1;
    return false;
}

void TF_Main::PB_GriffbrettMouseDown(QMouseEvent* event)
{
    int bund = 0;
    int saite = 0;
    const QPoint at = event->position().toPoint();
    // A click on a string's "0" or "X" plays or mutes it, as the pop-up command does.
    const int marked = event->button() == Qt::LeftButton ? leerMarkeBei(at) : -1;
    if (marked > 0) {
        StelleWaehlen(Zeichner->AktBund(), marked, false);
        SaiteUmschalten();
        return;
    }
    if (!FeldSuchen(at.x(), at.y(), bund, saite))
        return;
    StelleWaehlen(bund, saite, false);
    FingerKlick(event->button() == Qt::LeftButton, event->modifiers().testFlag(Qt::ShiftModifier));
}

void TF_Main::PB_GriffbrettMouseUp(QMouseEvent* event)
{
    // The chosen pop-up opens on release, also after a press between the spots.
    if (event->button() == Qt::RightButton && m_kontextmenue)
        m_kontextmenue->popup(PB_Griffbrett->mapToGlobal(event->position().toPoint()));
}

void TF_Main::StelleWaehlen(int bund, int saite, bool meldung)
{
    bund = std::clamp(bund, 1, MaxBund);
    saite = std::clamp(saite, 1, std::max(1, Dokument->SaitenAnzahl()));
    Zeichner->SetAktBund(bund);
    Zeichner->SetAktSaite(saite);
    // Fret and string first: at the default width the end of a longer text is cut off.
    if (meldung)
        Statusmeldung(QStringLiteral("Bund %1, Saite %2 gewählt").arg(bund).arg(saite));
    // The cursor moves; the board composes anew at that paint.
    PB_Griffbrett->update();
}

void TF_Main::StelleMitTasteWaehlen(int bund, int saite)
{
    // The keys keep the spot on the frets shown, so that the cursor never leaves the board.
    const int first = Zeichner->GetStartbund();
    const int last = first + std::max(1, Zeichner->Bundzahl()) - 1;
    const int von = std::clamp(Zeichner->AktBund(), first, last);
    StelleWaehlen(bund == Zeichner->AktBund() ? von : std::clamp(bund, first, last), saite, true);
}

void TF_Main::KontextmenueOeffnen()
{
    KontextmenueWaehlen();
    const QRect cursor = Zeichner->CursorRechteck();
    const QPoint at = cursor.isEmpty() ? PB_Griffbrett->rect().center() : cursor.center();
    // Opened by a key, the first command is highlighted so that arrows and Return work at once.
    m_kontextmenue->popup(PB_Griffbrett->mapToGlobal(at), m_kontextmenue->actions().value(0));
}

void TF_Main::NaechsterFingerSetzen(int finger)
{
    if (finger > 4)
        finger = 1;
    LetzterFinger = NaechsterFinger;
    NaechsterFinger = finger;
}

void TF_Main::FingerKlick(bool links, bool shift)
{
    AkkordDepotClass& griff = *Dokument;
    const int bund = Zeichner->AktBund();
    const int saite = Zeichner->AktSaite();
    int finger = NaechsterFinger;
    if (!links)
        KontextmenueWaehlen();
    const int held = griff.FingerBei(bund, saite);
    const RueckgaengigVerlauf::GriffKlammer schritt(
        *m_verlauf, held == -1 ? QStringLiteral("Finger setzen") : QStringLiteral("Finger entfernen"));
    if (held == -1) {
        if (links) {
            if (shift) {
                finger = LetzterFinger;
                NaechsterFinger = finger;
            } else {
                const int below = griff.FingerBei(bund, saite - 1);
                const int above = griff.FingerBei(bund, saite + 1);
                if (saite > 2 && below != -1 && below == griff.FingerBei(bund, saite - 2))
                    finger = below;
                else if (saite < Zeichner->Saitenanzahl() && above != -1 &&
                         above == griff.FingerBei(bund, saite + 2))
                    finger = above;
            }
            if (griff.FingerSetzen(bund, saite, finger) == -1) {
                MeldungZeigen(this, 0, QStringLiteral("Wer soll das greifen ?!?"),
                              QStringLiteral("Fingerfehler"), 2);
            } else {
                griff.LeerBereinigen();
                ++finger;
            }
        }
    } else if (links) {
        finger = held;
        NaechsterFingerSetzen(held);
        griff.FingerEntfernen(bund, saite);
    }
    NaechsterFingerSetzen(finger);
    NachAenderungAktualisieren();
}

void TF_Main::KontextmenueWaehlen()
{
    const bool fingers = Dokument->PunktAnzahl() > 0;
    PMI_Alleentfernen->setEnabled(fingers);
    PMI_Alleentfernen1->setEnabled(fingers);
    const int bund = Zeichner->AktBund();
    const int saite = Zeichner->AktSaite();
    if (Dokument->FingerBei(bund, saite) != -1)
        m_kontextmenue = PM_Finger1bis4;
    else if (Dokument->SaitenStatus(saite) != SaiteGegriffen)
        m_kontextmenue = PM_Leerseiten;
    else
        m_kontextmenue = PM_NormKlick;
}

void TF_Main::FingerWaehlen(int finger, bool umschalten)
{
    const int bund = Zeichner->AktBund();
    const int saite = Zeichner->AktSaite();
    const RueckgaengigVerlauf::GriffKlammer schritt(*m_verlauf, QStringLiteral("Finger wählen"));
    if (umschalten) {
        const int held = Dokument->FingerBei(bund, saite);
        if (held == -1 || held == finger)
            FingerKlick(true, false);
    }
    Dokument->FingerAendern(bund, saite, finger);
    NaechsterFingerSetzen(finger + 1);
    NachAenderungAktualisieren();
}

void TF_Main::MI_FingerNext1Click(QAction* item)
{
    const int finger = item->objectName().right(1).toInt();
    if (finger < 1 || finger > 4)
        return;
    NaechsterFingerSetzen(finger);
    NachAenderungAktualisieren();
}

void TF_Main::BarreEintragen()
{
    const RueckgaengigVerlauf::GriffKlammer schritt(*m_verlauf, QStringLiteral("Barré eintragen"));
    const int bund = Zeichner->AktBund();
    NaechsterFingerSetzen(1);
    const int strings = Dokument->SaitenAnzahl();
    for (int i = 1; i <= strings; ++i) {
        const int saite = strings + 1 - i;
        Dokument->FingerEntfernen(bund, saite);
        // At the 12-entry limit the strings done so far keep their barré.
        if (Dokument->FingerSetzen(bund, saite, NaechsterFinger) == -1)
            break;
    }
    NachAenderungAktualisieren();
    Statusmeldung(QStringLiteral("Barré im %1. Bund eingetragen").arg(bund));
}

void TF_Main::SaiteUmschalten()
{
    const RueckgaengigVerlauf::GriffKlammer schritt(*m_verlauf, QStringLiteral("Saite umschalten"));
    const int saite = Zeichner->AktSaite();
    Dokument->LeerSetzen(saite, Dokument->SaitenStatus(saite) != SaiteLeer);
    NachAenderungAktualisieren();
}

void TF_Main::AlleSaitenSetzen(bool leer)
{
    const RueckgaengigVerlauf::GriffKlammer schritt(
        *m_verlauf, leer ? QStringLiteral("Alle Saiten spielen") : QStringLiteral("Alle Saiten dämpfen"));
    for (int s = 1; s <= Dokument->SaitenAnzahl(); ++s)
        Dokument->LeerSetzen(s, leer);
    NachAenderungAktualisieren();
}

void TF_Main::AlleFingerEntfernen()
{
    const RueckgaengigVerlauf::GriffKlammer schritt(*m_verlauf, QStringLiteral("Alle Finger entfernen"));
    if (Dokument->AlleSaiten(false)) {
        AlleSaitenSetzen(true);
        runItem(MI_BundNr[0]);
    } else {
        Dokument->Loeschen();
    }
    NaechsterFingerSetzen(1);
    NachAenderungAktualisieren();
}
