#include "app/MainForm.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include "forms/AudioAusgabe.h"
#include "forms/DateiDialog.h"
#include "forms/DateiFehler.h"
#include "forms/MeldungZeigen.h"
#include "klang/Griffklang.h"
#include "klang/WavDatei.h"
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
    const QString path = SD_ExportAusfuehren(this, QStringLiteral("WAV-Dateien (*.wav);;Alle Dateien (*)"),
                                             QStringLiteral("wav"));
    if (path.isEmpty())
        return;
    GriffklangClass klang;
    const int count = zerlegt ? klang.Zerlegen(*Dokument) : klang.Anschlagen(*Dokument);
    int fehler = 0;
    const WavErgebnis result =
        WavDateiClass::Speichern(QFile::encodeName(path).toStdString(), klang.Samples(),
                                 static_cast<std::size_t>(count), GriffklangClass::Abtastrate, &fehler);
    if (result == WavGespeichert) {
        Statusmeldung(QStringLiteral("Der Klang wurde gespeichert"));
        return;
    }
    const QString reason =
        fehler != 0 ? dateiFehlerGrund(fehler) : QStringLiteral("Der Klang ist zu lang für eine WAV-Datei.");
    MeldungZeigen(this, 1,
                  QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden.\n%2")
                      .arg(QDir::toNativeSeparators(path), reason),
                  QStringLiteral("Fehler"), 2);
}
