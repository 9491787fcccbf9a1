#include "app/MainForm.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include <memory>

#include <cstring>

#include "app/PaintBox.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/DateiDialog.h"
#include "forms/DateiFehler.h"
#include "forms/MeldungZeigen.h"
#include "forms/ModelText.h"
#include "forms/NeuForm.h"
#include "forms/PrgInfoForm.h"
#include "forms/Statusleiste.h"
#include "forms/PrivateProfile.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"

QString TF_Main::shortName() const
{
    return m_dateiName.isEmpty() ? QStringLiteral("(unbenannt)") : QFileInfo(m_dateiName).completeBaseName();
}

void TF_Main::titleUpdate()
{
    setWindowTitle(QStringLiteral("Zupfwerk - ") + shortName());
}

QString TF_Main::dateiOrdner() const
{
    return m_dateiName.isEmpty() ? QString() : QFileInfo(m_dateiName).absolutePath();
}

bool TF_Main::OeffnenMitPfad(const QString& pfad)
{
    // A ChordPro song may end in .cho as well: offered as import or song sheet, the table stays.
    if (chordProAnbieten(pfad))
        return false;
    const QString name = QFileInfo(pfad).completeBaseName();
    const std::string path = pfad.toStdString();
    char header[5];
    AkkordDepotClass::KopfLesen(path, header);
    if (std::memcmp(header, "ZW02\0", 5) != 0 && header[0] == 'Z' && header[1] == 'W') {
        if (MeldungZeigen(this, 2, QStringLiteral("Die Grifftabelle '%1' muß konvertiert werden! ").arg(name),
                          QStringLiteral("Konvertieren?"), 0) == 6)
            AkkordDepotClass::Konvertieren(path);
    }
    // Read into a copy: the open table, its grips and its unsaved changes stay unless the file is good.
    auto gelesen = std::make_unique<AkkordDepotClass>(*Dokument);
    bool geoeffnet = false;
    switch (gelesen->Laden(path)) {
    case LadenNichtLesbar:
        MeldungZeigen(this, 1, QStringLiteral("Die CHO-Akkordeinstellungen konnten nicht geöffnet werden!"),
                      QStringLiteral("Fehler"), 2);
        break;
    case LadenFalscheKennung:
        MeldungZeigen(this, 1, QStringLiteral("Akkordeinstellungen konnten nicht geladen werden! "),
                      QStringLiteral("Abbruch"), 3);
        break;
    case LadenZerstoert:
        MeldungZeigen(this, 1, QStringLiteral("Die Grifftabelle '%1' ist zerstört!").arg(name),
                      QStringLiteral("Abbruch"), 3);
        geoeffnet = rettungAnbieten(pfad);
        break;
    default:
        Dokument->Uebernehmen(*gelesen);
        m_dateiName = QFileInfo(pfad).absoluteFilePath();
        Einstellungen->writeString(QStringLiteral("Computer"), QStringLiteral("LetzteDatei"), m_dateiName);
        titleUpdate();
        geoeffnet = true;
        break;
    }
    saitenzahlAnwenden();
    if (geoeffnet)
        m_verlauf->leeren();
    return geoeffnet;
}

void TF_Main::saitenzahlAnwenden()
{
    Zeichner->SetSaitenzahl(Dokument->SaitenAnzahl());
    // Nothing may stay on a string the instrument does not have, not even the chosen spot.
    Dokument->FremdeSaitenEntfernen();
    StelleWaehlen(Zeichner->AktBund(), Zeichner->AktSaite(), false);
}

bool TF_Main::rettungAnbieten(const QString& pfad)
{
    const QString name = QFileInfo(pfad).completeBaseName();
    if (MeldungZeigen(this, 2,
                      QStringLiteral("Sollen die noch lesbaren Teile der Grifftabelle '%1' als neue, unbenannte "
                                     "Grifftabelle übernommen werden?")
                          .arg(name),
                      QStringLiteral("Retten"), 0) != 6)
        return false;
    auto gerettet = std::make_unique<AkkordDepotClass>(*Dokument);
    const int griffe = gerettet->Retten(pfad.toStdString());
    if (griffe < 0)
        return false;
    // Unnamed and modified, so that saving asks for a name and never writes over the damaged file.
    Dokument->Uebernehmen(*gerettet);
    Dokument->SetzeGeaendert(true);
    m_dateiName.clear();
    titleUpdate();
    m_oeffnenMeldung = QStringLiteral("%1 Griffe aus '%2' übernommen").arg(griffe).arg(name);
    return true;
}

int TF_Main::AenderungenUebernehmen()
{
    if (!Dokument->IstGeaendert())
        return 6;
    const int answer =
        MeldungZeigen(this, 2, QStringLiteral("Änderungen an Grifftabelle '%1' übernehmen?").arg(shortName()),
                      QStringLiteral("Übernehmen"), 1);
    // What was to be kept must be on disk before the caller closes, opens or creates anything.
    if (answer == 6 && !MI_SpeichernClick())
        return 2;
    return answer;
}

bool TF_Main::dateiSchreiben(const QString& pfad)
{
    if (Dokument->Speichern(pfad.toStdString())) {
        m_verlauf->gesichert();
        Statusmeldung(QStringLiteral("Die Grifftabelle wurde gespeichert"));
        return true;
    }
    int griff = -1;
    const int fehler = Dokument->SpeicherFehler();
    const QString grund = fehler == SpeichernUngueltig ? pruefFehlerGrund(Dokument->Pruefen(&griff), griff)
                                                       : dateiFehlerGrund(fehler);
    MeldungZeigen(this, 1,
                  QStringLiteral("Die Grifftabelle '%1' konnte nicht gespeichert werden.\n%2")
                      .arg(QDir::toNativeSeparators(pfad), grund),
                  QStringLiteral("Fehler"), 2);
    return false;
}

bool TF_Main::MI_SpeichernClick()
{
    if (m_dateiName.isEmpty())
        return MI_SpeichernAlsClick();
    return dateiSchreiben(m_dateiName);
}

bool TF_Main::MI_SpeichernAlsClick()
{
    const QString path = SD_SpeichernAusfuehren(this, dateiOrdner());
    if (path.isEmpty() || !dateiSchreiben(path))
        return false;
    m_dateiName = QFileInfo(path).absoluteFilePath();
    // The title changes last: whoever watches it finds the settings already written.
    Einstellungen->writeString(QStringLiteral("Computer"), QStringLiteral("LetzteDatei"), m_dateiName);
    titleUpdate();
    return true;
}

void TF_Main::MI_LadenClick()
{
    if (AenderungenUebernehmen() == 2)
        return;
    const QString path = OD_LadenAusfuehren(this, dateiOrdner());
    if (path.isEmpty() || !OeffnenMitPfad(path))
        return;
    GrifftabLageLaden(true);
    selectedGripFetch();
    ergebnisAusGriff();
    NachHolenAktualisieren();
    SB_Statusbar->update();
    Zeichner->SetGroesseUndAnordnen(PB_Griffbrett->width(), PB_Griffbrett->height());
    Zusammenstellen();
    Statusmeldung(QStringLiteral("Zupfwerk 1.4"));
    oeffnenMeldungZeigen();
}

void TF_Main::oeffnenMeldungZeigen()
{
    if (m_oeffnenMeldung.isEmpty())
        return;
    Statusmeldung(m_oeffnenMeldung);
    m_oeffnenMeldung.clear();
}

void TF_Main::MI_NeuClick()
{
    TF_Neu dialog(this, *Dokument);
    if (AenderungenUebernehmen() == 2)
        return;
    if (dialog.exec() != QDialog::Accepted)
        return;
    Dokument->Zuruecksetzen(!dialog.erkennungBehalten());
    std::string text;
    qtToModel(dialog.instrument(), text);
    Dokument->SetzeText(0, text);
    qtToModel(dialog.info(), text);
    Dokument->SetzeText(1, text);
    GrifftabLageLaden(true);
    static_cast<StimmClass&>(*Dokument) = dialog.stimmung();
    saitenzahlAnwenden();
    Zusammenstellen();
    AlleFingerEntfernen();
    // A new catalogue: nothing shown may keep a type of the old one.
    katalogGeaendert();
    m_verlauf->leeren();
    m_dateiName.clear();
    titleUpdate();
}

void TF_Main::MI_InfoClick()
{
    TF_PrgInfo dialog(this, *Dokument, shortName(), MI_KurzhinweisOnOff->isChecked());
    dialog.exec();
    std::string text;
    if (!Dokument->InstrumentNurLesen() && dialog.instrumentGeaendert() &&
        qtToModel(dialog.instrument(), text)) {
        Dokument->SetzeText(0, text);
        m_verlauf->fremdGeaendert();
    }
    if (!Dokument->InfoNurLesen() && dialog.infoGeaendert() && qtToModel(dialog.info(), text)) {
        Dokument->SetzeText(1, text);
        m_verlauf->fremdGeaendert();
    }
}
