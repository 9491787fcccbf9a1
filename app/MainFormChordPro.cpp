// ChordPro: the table's grips as chord definitions, definitions taken into the table, a song's chord
// sheet, and ChordPro files opened as if they were chord tables.
#include "app/MainForm.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>

#include "app/RueckgaengigSchritt.h"
#include "app/RueckgaengigVerlauf.h"
#include "chordpro/ChordProExport.h"
#include "chordpro/ChordProImport.h"
#include "chordpro/ChordProReader.h"
#include "chordpro/Liedblatt.h"
#include "export/LiedblattPdf.h"
#include "forms/ChordProBerichtForm.h"
#include "forms/ChordProExportForm.h"
#include "forms/DateiDialog.h"
#include "forms/LiedblattForm.h"
#include "forms/MeldungZeigen.h"
#include "table/AkkordDepot.h"

namespace {

// A ChordPro file is text of a few kilobytes; anything far larger is no song.
constexpr qint64 MaxChordProBytes = 8 * 1024 * 1024;

bool textRead(const QString& pfad, std::string& text, qint64 max = MaxChordProBytes)
{
    QFile file(pfad);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(max);
    text.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

bool textWrite(const QString& pfad, const std::string& text, QString& fehler)
{
    QSaveFile file(pfad);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit()) {
        fehler = QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden: %2").arg(pfad, file.errorString());
        return false;
    }
    return true;
}

QString chordProFilter()
{
    return QStringLiteral("ChordPro-Dateien (*.cho *.chopro *.chordpro *.crd *.pro *.json);;Alle Dateien (*)");
}

} // namespace

bool TF_Main::istChordPro(const QString& pfad)
{
    char kopf[5] = {};
    if (!AkkordDepotClass::KopfLesen(pfad.toStdString(), kopf) || (kopf[0] == 'Z' && kopf[1] == 'W'))
        return false;
    std::string text;
    return textRead(pfad, text, 64 * 1024) && ChordProReader::looksLikeChordPro(text);
}

void TF_Main::MI_ChordProExportClick()
{
    const QString titel = QStringLiteral("Als ChordPro exportieren");
    std::vector<int> griffe;
    if (!blattGriffeWaehlen(titel, griffe))
        return;
    TF_ChordProExportForm form(this, static_cast<int>(griffe.size()));
    if (form.exec() != QDialog::Accepted)
        return;
    QString filter;
    const QString path = SD_ExportAusfuehren(
        this, QStringLiteral("ChordPro (*.chopro);;ChordPro-Konfiguration (*.json)"), QStringLiteral("chopro"),
        &filter, dateiOrdner());
    if (path.isEmpty())
        return;
    const auto definitionen = ChordProExport::definitions(*Dokument, griffe, form.tonnamen());
    const bool json = QFileInfo(path).suffix().compare(QStringLiteral("json"), Qt::CaseInsensitive) == 0;
    const std::string text = json ? ChordProExport::json(*Dokument, definitionen, form.mitFingern())
                                  : ChordProExport::defineBlock(*Dokument, definitionen, form.mitFingern());
    QString fehler;
    if (!textWrite(path, text, fehler)) {
        MeldungZeigen(this, 1, fehler, titel, 2);
        return;
    }
    Statusmeldung(QStringLiteral("ChordPro gespeichert: %1, %2 Akkorddefinitionen")
                      .arg(QFileInfo(path).fileName())
                      .arg(definitionen.size()));
}

void TF_Main::MI_ChordProImportClick()
{
    const QString path = OD_DateiAusfuehren(this, chordProFilter(), dateiOrdner());
    if (!path.isEmpty())
        chordProImportieren(path);
}

void TF_Main::MI_LiedblattClick()
{
    const QString path = OD_DateiAusfuehren(this, chordProFilter(), dateiOrdner());
    if (!path.isEmpty())
        liedblattErstellen(path);
}

void TF_Main::chordProImportieren(const QString& pfad)
{
    const QString titel = QStringLiteral("ChordPro-Akkorde importieren");
    std::string text;
    if (!textRead(pfad, text)) {
        MeldungZeigen(this, 1, QStringLiteral("Die Datei '%1' kann nicht gelesen werden.").arg(pfad), titel, 2);
        return;
    }
    const ChordProInhalt inhalt = ChordProReader::read(text, ChordProReader::looksLikeSong(text));
    auto schritt = m_verlauf->speichernBeginnen(titel);
    ChordProImport import;
    const ImportBericht bericht = import.importieren(*Dokument, inhalt);
    if (bericht.uebernommen > 0)
        m_verlauf->aufnehmen(std::move(schritt));
    NachHolenAktualisieren();
    const QString zusammenfassung = QString::fromStdString(ChordProImport::zusammenfassung(bericht));
    QStringList zeilen;
    for (const std::string& zeile : bericht.zeilen)
        zeilen << QString::fromStdString(zeile);
    auto* form = new TF_ChordProBerichtForm(this, QFileInfo(pfad).fileName(), zusammenfassung, zeilen);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    Statusmeldung(zusammenfassung);
}

void TF_Main::liedblattErstellen(const QString& pfad)
{
    const QString titel = QStringLiteral("Liedblatt");
    std::string text;
    if (!textRead(pfad, text)) {
        MeldungZeigen(this, 1, QStringLiteral("Die Datei '%1' kann nicht gelesen werden.").arg(pfad), titel, 2);
        return;
    }
    const ChordProInhalt lied = ChordProReader::read(text, true);
    if (lied.chords.empty()) {
        MeldungZeigen(this, 3, QStringLiteral("Das Lied '%1' enthält keine Akkorde.").arg(QFileInfo(pfad).fileName()),
                      titel, 2);
        return;
    }
    QStringList namen;
    for (const std::string& name : lied.chords)
        namen << QString::fromStdString(name);
    TF_LiedblattForm form(this, QString::fromStdString(lied.title), namen.join(QStringLiteral("  ")));
    if (form.exec() != QDialog::Accepted)
        return;
    Liedblatt blatt;
    const bool any = blatt.erstellen(*Dokument, lied, form.einstellung());
    QStringList unlesbar;
    for (const std::string& name : blatt.unlesbar())
        unlesbar << QString::fromStdString(name);
    if (!any) {
        MeldungZeigen(this, 3,
                      QStringLiteral("Keiner der Akkordnamen ist mit dieser Grifftabelle lesbar: %1")
                          .arg(unlesbar.join(QStringLiteral(", "))),
                      titel, 2);
        return;
    }
    QString filter;
    const QString path = SD_ExportAusfuehren(this, QStringLiteral("PDF-Dokument (*.pdf);;ChordPro (*.chopro)"),
                                             QStringLiteral("pdf"), &filter, QFileInfo(pfad).absolutePath());
    if (path.isEmpty())
        return;
    QString fehler;
    const bool pdf = QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0;
    const bool written = pdf ? liedblattPdfSchreiben(*Dokument, blatt, path, &fehler)
                             : textWrite(path, blatt.defineBlock(*Dokument, form.mitFingern()), fehler);
    if (!written) {
        MeldungZeigen(this, 1, fehler, titel, 2);
        return;
    }
    Statusmeldung(QStringLiteral("Liedblatt gespeichert: %1, %2 Akkorde")
                      .arg(QFileInfo(path).fileName())
                      .arg(blatt.akkorde().size()));
    if (!unlesbar.isEmpty())
        MeldungZeigen(this, 3,
                      QStringLiteral("Diese Akkordnamen sind nicht lesbar und fehlen auf dem Liedblatt: %1")
                          .arg(unlesbar.join(QStringLiteral(", "))),
                      titel, 2);
}

bool TF_Main::chordProAnbieten(const QString& pfad)
{
    if (!istChordPro(pfad))
        return false;
    std::string text;
    textRead(pfad, text);
    const QString name = QFileInfo(pfad).fileName();
    if (ChordProReader::looksLikeSong(text)) {
        if (MeldungZeigen(this, 2,
                          QStringLiteral("'%1' ist keine Grifftabelle, sondern ein ChordPro-Lied. Ein Liedblatt "
                                         "mit seinen Akkorden und Griffen erstellen?")
                              .arg(name),
                          QStringLiteral("ChordPro-Lied"), 0) == 6)
            liedblattErstellen(pfad);
    } else if (MeldungZeigen(this, 2,
                             QStringLiteral("'%1' ist keine Grifftabelle, sondern eine Datei mit ChordPro-Akkorden. "
                                            "Die Akkorde in die offene Grifftabelle importieren?")
                                 .arg(name),
                             QStringLiteral("ChordPro-Akkorde"), 0) == 6) {
        chordProImportieren(pfad);
    }
    return true;
}
