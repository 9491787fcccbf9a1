#include "app/MainForm.h"

#include <QFileInfo>

#include <cstring>

#include "forms/MeldungZeigen.h"
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
    // The save dialog comes with the file commands.
}
