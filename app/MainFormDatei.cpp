#include "app/MainForm.h"

#include <QAction>
#include <QFileInfo>

#include <cstring>

#include "app/PaintBox.h"
#include "forms/DateiDialog.h"
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

void TF_Main::OeffnenMitPfad(const QString& pfad)
{
    const QString name = QFileInfo(pfad).completeBaseName();
    const std::string path = pfad.toStdString();
    char header[5];
    AkkordDepotClass::KopfLesen(path, header);
    if (std::memcmp(header, "ZW02\0", 5) != 0 && header[0] == 'Z' && header[1] == 'W') {
        if (MeldungZeigen(this, 2, QStringLiteral("Die Grifftabelle '%1' muß konvertiert werden! ").arg(name),
                          QStringLiteral("Konvertieren?"), 0) == 6)
            AkkordDepotClass::Konvertieren(path);
    }
    switch (Dokument->Laden(path)) {
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
        Dokument->Zuruecksetzen(false);
        Dokument->Loeschen();
        GrifftabLageLaden(true);
        Zusammenstellen();
        break;
    default:
        m_dateiName = pfad;
        titleUpdate();
        Einstellungen->writeString(QStringLiteral("Computer"), QStringLiteral("LetzteDatei"), pfad);
        break;
    }
    Zeichner->SetSaitenzahl(Dokument->SaitenAnzahl());
}

int TF_Main::AenderungenUebernehmen()
{
    if (!Dokument->IstGeaendert())
        return 6;
    const int answer =
        MeldungZeigen(this, 2, QStringLiteral("Änderungen an Grifftabelle '%1' übernehmen?").arg(shortName()),
                      QStringLiteral("Übernehmen"), 1);
    if (answer == 6)
        MI_SpeichernClick();
    return answer;
}

void TF_Main::MI_SpeichernClick()
{
    if (m_dateiName.isEmpty()) {
        MI_SpeichernAlsClick();
        return;
    }
    if (Dokument->Speichern(m_dateiName.toStdString()))
        Statusmeldung(QStringLiteral("Die Grifftabelle wurde gespeichert"));
}

void TF_Main::MI_SpeichernAlsClick()
{
    const QString path = SD_SpeichernAusfuehren(this);
    if (path.isEmpty())
        return;
    if (Dokument->Speichern(path.toStdString()))
        Statusmeldung(QStringLiteral("Die Grifftabelle wurde gespeichert"));
    // The name is taken over even when the write failed, so the next save tries it again.
    m_dateiName = path;
    titleUpdate();
    Einstellungen->writeString(QStringLiteral("Computer"), QStringLiteral("LetzteDatei"), path);
}

void TF_Main::MI_LadenClick()
{
    if (AenderungenUebernehmen() == 2)
        return;
    const QString path = OD_LadenAusfuehren(this);
    if (path.isEmpty())
        return;
    OeffnenMitPfad(path);
    GrifftabLageLaden(true);
    selectedGripFetch();
    NachHolenAktualisieren();
    SB_Statusbar->update();
    Zeichner->SetGroesseUndAnordnen(PB_Griffbrett->width(), PB_Griffbrett->height());
    Zusammenstellen();
    Statusmeldung(QStringLiteral("Zupfwerk 1.4"));
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
    Zeichner->SetSaitenzahl(Dokument->SaitenAnzahl());
    Zusammenstellen();
    AlleFingerEntfernen();
    m_dateiName.clear();
    titleUpdate();
}

void TF_Main::MI_InfoClick()
{
    TF_PrgInfo dialog(this, *Dokument, shortName(), MI_KurzhinweisOnOff->isChecked());
    dialog.exec();
    std::string text;
    if (!Dokument->InstrumentNurLesen() && dialog.instrumentGeaendert() &&
        qtToModel(dialog.instrument(), text))
        Dokument->SetzeText(0, text);
    if (!Dokument->InfoNurLesen() && dialog.infoGeaendert() && qtToModel(dialog.info(), text))
        Dokument->SetzeText(1, text);
}
