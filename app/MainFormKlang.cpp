#include "app/MainForm.h"

#include <sstream>
#include <string>

#include <QByteArray>

#include "forms/AudioAusgabe.h"
#include "forms/DateiDialog.h"
#include "forms/MeldungZeigen.h"
#include "klang/Griffklang.h"
#include "klang/WavDatei.h"
#include "render/ExportZiel.h"
#include "table/AkkordDepot.h"

void TF_Main::MI_AnhoerenClick()
{
    klangAbspielen(false);
}

void TF_Main::MI_ZerlegtAnhoerenClick()
{
    klangAbspielen(true);
}

void TF_Main::klangAbspielen(bool zerlegt)
{
    // Rendered ahead in a few milliseconds; the output then pulls the buffer on its own.
    GriffklangClass klang;
    const int count = zerlegt ? klang.Zerlegen(*Dokument) : klang.Anschlagen(*Dokument);
    if (!m_audioAusgabe)
        m_audioAusgabe = AudioAusgabeErzeugen(this);
    const QByteArray pcm(reinterpret_cast<const char*>(klang.Samples()),
                         static_cast<qsizetype>(count) * static_cast<qsizetype>(sizeof(std::int16_t)));
    if (!m_audioAusgabe->Abspielen(pcm, GriffklangClass::Abtastrate))
        Statusmeldung(QStringLiteral("Keine Audioausgabe verfügbar"));
}

void TF_Main::MI_KlangWavClick()
{
    klangSpeichern(false);
}

void TF_Main::MI_ZerlegtWavClick()
{
    klangSpeichern(true);
}

void TF_Main::klangSpeichern(bool zerlegt)
{
    const QString titel = zerlegt ? QStringLiteral("Zerlegt als WAV") : QStringLiteral("Klang als WAV");
    GriffklangClass klang;
    const int count = zerlegt ? klang.Zerlegen(*Dokument) : klang.Anschlagen(*Dokument);
    if (count == 0) {
        MeldungZeigen(
            this, 3,
            QStringLiteral("Der Griff lässt keine Saite klingen: es gibt keinen Klang zu speichern."), titel,
            2);
        return;
    }
    const QString path = SD_ExportAusfuehren(this, QStringLiteral("WAV-Dateien (*.wav);;Alle Dateien (*)"),
                                             QStringLiteral("wav"), nullptr, QString(), m_dateiName);
    if (path.isEmpty())
        return;
    std::ostringstream wav;
    if (!WavDateiClass::Schreiben(wav, klang.Samples(), static_cast<std::size_t>(count),
                                  GriffklangClass::Abtastrate)) {
        MeldungZeigen(this, 1, QStringLiteral("Der Klang ist zu lang für eine WAV-Datei."), titel, 2);
        return;
    }
    const std::string bytes = wav.str();
    QString fehler;
    if (!ExportZiel(path, m_dateiName)
             .Schreiben(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &fehler)) {
        MeldungZeigen(this, 1, fehler, QStringLiteral("Fehler"), 2);
        return;
    }
    Statusmeldung(QStringLiteral("Der Klang wurde gespeichert"));
}
