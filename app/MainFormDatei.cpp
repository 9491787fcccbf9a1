#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
#include "table/DateiArt.h"

namespace {

// Where tables the user saves from an installed one go: "$XDG_DATA_HOME/Zupfwerk".
QString userTableFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Zupfwerk");
}

// Whether the table lies in one of the folders the program's own tables are installed in.
bool istInstalliert(const TableLookup& lookup, const QString& pfad)
{
    const QString folder = QFileInfo(pfad).canonicalPath();
    for (const QString& installed : lookup.folders()) {
        if (!folder.isEmpty() && QFileInfo(installed).canonicalFilePath() == folder)
            return true;
    }
    return false;
}

bool folderWritable(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

// What the rescue took over and what it replaced, for the status line.
QString rescueReport(const RettungsBericht& bericht, const QString& name)
{
    QStringList taken;
    QStringList replaced;
    (bericht.typen > 0 ? taken : replaced) << QStringLiteral("Akkordtypen");
    (bericht.namen ? taken : replaced) << QStringLiteral("Notennamen");
    (bericht.stimmung ? taken : replaced) << QStringLiteral("Stimmung");
    (bericht.instrument ? taken : replaced) << QStringLiteral("Instrument");
    (bericht.info ? taken : replaced) << QStringLiteral("Info");
    QString text = QStringLiteral("%1 Griffe aus '%2' übernommen").arg(bericht.griffe).arg(name);
    if (bericht.verworfen > 0)
        text += QStringLiteral(", %1 beschädigte verworfen").arg(bericht.verworfen);
    if (!taken.isEmpty())
        text += QStringLiteral("; übernommen: ") + taken.join(QStringLiteral(", "));
    if (!replaced.isEmpty())
        text += QStringLiteral("; durch Vorgaben ersetzt: ") + replaced.join(QStringLiteral(", "));
    return text;
}

} // namespace

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

QString TF_Main::speicherOrdner() const
{
    const QString folder = dateiOrdner();
    if (!folder.isEmpty() && !m_vorlage && folderWritable(folder))
        return folder;
    // Never a system folder: the user's own data folder, made when missing.
    if (!folder.isEmpty() || m_vorlage) {
        QDir().mkpath(userTableFolder());
        return userTableFolder();
    }
    return folder;
}

bool TF_Main::OeffnenMitPfad(const QString& pfad)
{
    // A ChordPro song may end in .cho as well: offered as import or song sheet, the table stays.
    if (chordProAnbieten(pfad))
        return false;
    const QString name = QFileInfo(pfad).completeBaseName();
    const std::string path = pfad.toStdString();
    // A pipe or a device would block the program or never end: refused before anything reads it.
    const DateiArt art = dateiArt(path);
    if (art != DateiArt::Datei && art != DateiArt::Fehlt) {
        MeldungZeigen(this, 1,
                      QStringLiteral("'%1' ist %2, keine Grifftabelle, und wird nicht geöffnet.")
                          .arg(QDir::toNativeSeparators(pfad), QString::fromUtf8(dateiArtName(art))),
                      QStringLiteral("Fehler"), 2);
        return false;
    }
    // One writer at a time: a table another instance holds opens only read-only, when the user wants.
    bool nurLesen = false;
    const bool reload = QFileInfo(pfad).absoluteFilePath() == m_dateiName;
    if (art == DateiArt::Datei && m_wache->vormerken(pfad) == TabellenWache::Belegt) {
        // Reloading a table opened read-only asks no second time.
        if (!(reload && m_wache->nurLesen()) &&
            MeldungZeigen(this, 2,
                          QStringLiteral("Die Grifftabelle '%1' ist schon geöffnet: %2 bearbeitet sie.\n"
                                         "Soll sie schreibgeschützt geöffnet werden?")
                              .arg(name, m_wache->inhaber()),
                          QStringLiteral("In Benutzung"), 0) != 6)
            return false;
        nurLesen = true;
    }
    char header[5];
    AkkordDepotClass::KopfLesen(path, header);
    if (std::memcmp(header, "ZW01", 4) == 0) {
        if (MeldungZeigen(this, 2, QStringLiteral("Die Grifftabelle '%1' muß konvertiert werden! ").arg(name),
                          QStringLiteral("Konvertieren?"), 0) == 6)
            AkkordDepotClass::Konvertieren(path);
    }
    // Read into a copy: the open table, its grips and its unsaved changes stay unless the file is good.
    auto gelesen = std::make_unique<AkkordDepotClass>(*Dokument);
    bool geoeffnet = false;
    switch (gelesen->Laden(path)) {
    case LadenKeineDatei:
        MeldungZeigen(this, 1,
                      QStringLiteral("'%1' ist keine Datei und wird nicht geöffnet.").arg(QDir::toNativeSeparators(pfad)),
                      QStringLiteral("Fehler"), 2);
        break;
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
        m_wache->uebernehmen(m_dateiName, nurLesen);
        // An installed table the user may not write serves as the template of the user's own.
        m_vorlage = !QFileInfo(m_dateiName).isWritable() && istInstalliert(m_tabellenSuche, m_dateiName);
        Einstellungen->writeString(QStringLiteral("Computer"), QStringLiteral("LetzteDatei"), m_dateiName);
        titleUpdate();
        geoeffnet = true;
        break;
    }
    m_wache->verwerfen();
    saitenzahlAnwenden();
    if (geoeffnet)
        m_verlauf->leeren();
    if (geoeffnet && nurLesen)
        m_oeffnenMeldung = QStringLiteral("Schreibgeschützt geöffnet: speichern nur unter anderem Namen");
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
    m_wache->loslassen();
    m_vorlage = false;
    titleUpdate();
    m_oeffnenMeldung = rescueReport(gerettet->Rettungsbericht(), name);
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
        if (QFileInfo(pfad).absoluteFilePath() == m_dateiName)
            m_wache->gesichert();
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

int TF_Main::fremdeAenderungFragen()
{
    if (!m_wache->vonAussenGeaendert())
        return 6;
    return MeldungZeigen(this, 2,
                         QStringLiteral("Die Grifftabelle '%1' wurde seit dem Öffnen oder letzten Speichern von "
                                        "einem anderen Programm geändert.\n"
                                        "Ja: überschreiben  Nein: unter anderem Namen speichern  Abbruch: nicht speichern")
                             .arg(shortName()),
                         QStringLiteral("Geändert"), 1);
}

bool TF_Main::sperreFuerSpeichern(const QString& pfad)
{
    if (m_wache->vormerken(pfad) != TabellenWache::Belegt)
        return true;
    MeldungZeigen(this, 1,
                  QStringLiteral("Die Grifftabelle '%1' ist geöffnet: %2 bearbeitet sie.\n"
                                 "Bitte unter einem anderen Namen speichern.")
                      .arg(QDir::toNativeSeparators(pfad), m_wache->inhaber()),
                  QStringLiteral("In Benutzung"), 2);
    return false;
}

bool TF_Main::vorlageSpeichern()
{
    const QString folder = userTableFolder();
    const QString path = folder + QLatin1Char('/') + QFileInfo(m_dateiName).fileName();
    if (!QDir().mkpath(folder)) {
        MeldungZeigen(this, 1,
                      QStringLiteral("Der Ordner '%1' für eigene Grifftabellen kann nicht angelegt werden.")
                          .arg(QDir::toNativeSeparators(folder)),
                      QStringLiteral("Fehler"), 2);
        return false;
    }
    if (QFileInfo::exists(path) &&
        MeldungZeigen(this, 2,
                      QStringLiteral("Die Datei '%1' ist schon vorhanden. Soll sie ersetzt werden?")
                          .arg(QDir::toNativeSeparators(path)),
                      QStringLiteral("Speichern unter"), 0) != 6)
        return MI_SpeichernAlsClick();
    if (!speichernUnter(path))
        return false;
    Statusmeldung(QStringLiteral("Die Grifftabelle wurde in '%1' gespeichert").arg(QDir::toNativeSeparators(path)));
    return true;
}

bool TF_Main::MI_SpeichernClick()
{
    if (m_dateiName.isEmpty())
        return MI_SpeichernAlsClick();
    if (m_vorlage)
        return vorlageSpeichern();
    if (m_wache->nurLesen()) {
        Statusmeldung(QStringLiteral("Schreibgeschützt geöffnet: bitte unter anderem Namen speichern"));
        return MI_SpeichernAlsClick();
    }
    switch (fremdeAenderungFragen()) {
    case 6:
        return dateiSchreiben(m_dateiName);
    case 7:
        return MI_SpeichernAlsClick();
    default:
        return false;
    }
}

bool TF_Main::MI_SpeichernAlsClick()
{
    const QString path = SD_SpeichernAusfuehren(this, speicherOrdner());
    if (path.isEmpty())
        return false;
    const bool sameFile = QFileInfo(path).absoluteFilePath() == m_dateiName;
    if (sameFile && m_wache->nurLesen()) {
        MeldungZeigen(this, 1,
                      QStringLiteral("Die Grifftabelle '%1' ist schreibgeschützt geöffnet.\n"
                                     "Bitte unter einem anderen Namen speichern.")
                          .arg(QDir::toNativeSeparators(path)),
                      QStringLiteral("Schreibgeschützt"), 2);
        return false;
    }
    if (sameFile && fremdeAenderungFragen() != 6)
        return false;
    return speichernUnter(path);
}

bool TF_Main::speichernUnter(const QString& path)
{
    if (!sperreFuerSpeichern(path) || !dateiSchreiben(path)) {
        m_wache->verwerfen();
        return false;
    }
    m_dateiName = QFileInfo(path).absoluteFilePath();
    m_wache->uebernehmen(m_dateiName, false);
    m_vorlage = false;
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
    nachOeffnenAnzeigen();
}

void TF_Main::aussenAenderungPruefen()
{
    if (m_beendet || QApplication::activeModalWidget() || !m_wache->neueAenderungMelden())
        return;
    const QString path = m_dateiName;
    if (!QFileInfo::exists(path)) {
        Statusmeldung(QStringLiteral("Die Grifftabelle '%1' wurde von einem anderen Programm entfernt").arg(shortName()));
        return;
    }
    QString frage = QStringLiteral("Die Grifftabelle '%1' wurde von einem anderen Programm geändert.\n").arg(shortName());
    frage += Dokument->IstGeaendert()
                 ? QStringLiteral("Soll sie neu geladen werden? Die ungespeicherten Änderungen gehen dabei verloren.")
                 : QStringLiteral("Soll sie neu geladen werden?");
    if (MeldungZeigen(this, 2, frage, QStringLiteral("Geändert"), 0) != 6)
        return;
    if (OeffnenMitPfad(path))
        nachOeffnenAnzeigen();
}

void TF_Main::nachOeffnenAnzeigen()
{
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
    m_wache->loslassen();
    m_vorlage = false;
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
