#include <QAction>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMenu>
#include <QSet>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "app/MainForm.h"
#include "forms/AudioAusgabe.h"
#include "forms/AudioAusgabeStrom.h"
#include "forms/DateiDialog.h"
#include "forms/GrifftabForm.h"
#include "forms/Statusleiste.h"
#include "klang/Griffklang.h"
#include "klang/KlangMischer.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

// What the window handed to the audio output.
struct Played
{
    QList<QByteArray> buffers;
    QList<int> rates;
    bool device = true;
};

// Records instead of playing; with no device it refuses as the real output does.
class RecordingOutput : public AudioAusgabe
{
public:
    RecordingOutput(QObject* owner, Played& played) : AudioAusgabe(owner), m_played(played) {}

    bool Abspielen(const QByteArray& pcm, int abtastrate) override
    {
        if (!m_played.device)
            return false;
        m_played.buffers << pcm;
        m_played.rates << abtastrate;
        return true;
    }
    void Anhalten() override {}

private:
    Played& m_played;
};

QByteArray expectedSound(const AkkordDepotClass& doc, bool zerlegt)
{
    GriffklangClass klang;
    const int count = zerlegt ? klang.Zerlegen(doc) : klang.Anschlagen(doc);
    return QByteArray(reinterpret_cast<const char*>(klang.Samples()), count * 2);
}

} // namespace

class KlangTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menuItemsCaptionsAndKeys();
    void keyAStrumsTheShownGrip();
    void shiftAPicksTheStringsOneAfterAnother();
    void mutedGripHandsOverSilence();
    void keysAreOffWhileTheChordTableWindowIsActive();
    void noDeviceOnlyShowsTheStatusMessage();
    void defaultOutputWithoutDeviceRefuses();
    void wavExportWritesTheStrum();
    void wavExportCancelledWritesNothing();
    void wavExportToAnUnwritablePathShowsTheError();
    void arpeggioWavExportWritesTheArpeggio();
    void exportMenuAccessKeysAreUnique();
    void outputStreamFadesTheReplacedSoundOut();

private:
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QString statusMessage() const { return window->statusleiste()->panelText(3); }

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    AkkordDepotClass* doc = nullptr;
    Played played;
    QList<DateiDialogAnfrage> requests;
    QString answer;
};

void KlangTest::init()
{
    played = Played{};
    requests.clear();
    answer.clear();
    SetzeAudioAusgabe([this](QObject* owner) { return new RecordingOutput(owner, played); });
    SetzeDateiDialogAntwort([this](const DateiDialogAnfrage& anfrage) {
        requests << anfrage;
        return answer;
    });
    f = std::make_unique<TestFenster>();
    window = &f->start();
    QVERIFY(QTest::qWaitForWindowActive(window));
    doc = &window->dokument();
    setGrip(*doc, "x32010", "x32010");
    window->NachAenderungAktualisieren();
}

void KlangTest::cleanup()
{
    f.reset();
    SetzeAudioAusgabe(nullptr);
    SetzeDateiDialogAntwort(nullptr);
}

void KlangTest::menuItemsCaptionsAndKeys()
{
    QCOMPARE(item("MI_Anhoeren")->text(), QStringLiteral("An&hören"));
    QCOMPARE(item("MI_Anhoeren")->shortcut(), QKeySequence(Qt::Key_A));
    QCOMPARE(item("MI_Anhoeren")->statusTip(), QStringLiteral("Angezeigten Akkord anschlagen"));
    QCOMPARE(item("MI_ZerlegtAnhoeren")->text(), QStringLiteral("Zer&legt anhören"));
    QCOMPARE(item("MI_ZerlegtAnhoeren")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_A));
    QVERIFY(!item("MI_ZerlegtAnhoeren")->statusTip().isEmpty());
    QCOMPARE(item("MI_KlangWav")->text(), QStringLiteral("Klang als &WAV..."));
    QVERIFY(!item("MI_KlangWav")->statusTip().isEmpty());

    auto* griff = window->findChild<QMenu*>(QStringLiteral("MI_Griff"));
    QVERIFY(griff->actions().contains(item("MI_Anhoeren")));
    QVERIFY(griff->actions().contains(item("MI_ZerlegtAnhoeren")));

    // "Exportieren" follows "Speichern als..." in the file menu and holds the WAV item.
    auto* datei = window->findChild<QMenu*>(QStringLiteral("MI_Datei"));
    auto* exportieren = window->findChild<QMenu*>(QStringLiteral("MI_Exportieren"));
    QVERIFY(exportieren);
    QCOMPARE(exportieren->title(), QStringLiteral("&Exportieren"));
    const QList<QAction*> items = datei->actions();
    const qsizetype saveAs = items.indexOf(item("MI_SpeichernAls"));
    QVERIFY(saveAs >= 0);
    QCOMPARE(items.value(saveAs + 1), exportieren->menuAction());
    QVERIFY(exportieren->actions().contains(item("MI_KlangWav")));
}

void KlangTest::keyAStrumsTheShownGrip()
{
    QTest::keyClick(window, Qt::Key_A);
    QCOMPARE(played.buffers.size(), 1);
    QCOMPARE(played.rates.value(0), 48000);
    const QByteArray expected = expectedSound(*doc, false);
    // Five strings of C major, 25 ms apart, and four seconds of sound after the last one.
    QCOMPARE(expected.size(), (4 * 1200 + 192000) * 2);
    QVERIFY2(played.buffers[0] == expected, "the strum of the shown grip");
    QVERIFY(statusMessage() != QStringLiteral("Keine Audioausgabe verfügbar"));

    // A new play replaces the one still sounding; the output is made once.
    item("MI_Anhoeren")->trigger();
    QCOMPARE(played.buffers.size(), 2);
    QCOMPARE(window->findChildren<AudioAusgabe*>().size(), 1);
}

void KlangTest::shiftAPicksTheStringsOneAfterAnother()
{
    QTest::keyClick(window, Qt::Key_A, Qt::ShiftModifier);
    QCOMPARE(played.buffers.size(), 1);
    const QByteArray expected = expectedSound(*doc, true);
    QCOMPARE(expected.size(), (4 * 12000 + 192000) * 2);
    QVERIFY2(played.buffers[0] == expected, "the arpeggio of the shown grip");
}

void KlangTest::mutedGripHandsOverSilence()
{
    doc->Loeschen();
    window->NachAenderungAktualisieren();
    item("MI_Anhoeren")->trigger();
    QCOMPARE(played.buffers.size(), 1);
    QVERIFY2(played.buffers[0].isEmpty(), "nothing sounds, and what still sounded stops");
}

void KlangTest::keysAreOffWhileTheChordTableWindowIsActive()
{
    TF_GrifftabForm* table = window->grifftabFenster();
    if (!table->isVisible())
        item("MI_GrifftabOnOff")->trigger();
    table->activateWindow();
    QTRY_VERIFY(item("MI_Anhoeren")->shortcut().isEmpty());
    QVERIFY(item("MI_ZerlegtAnhoeren")->shortcut().isEmpty());
    QTest::keyClick(table, Qt::Key_A);
    QTest::keyClick(table, Qt::Key_A, Qt::ShiftModifier);
    QTest::keyClick(window, Qt::Key_A);
    QCOMPARE(played.buffers.size(), 0);

    window->activateWindow();
    QTRY_COMPARE(item("MI_Anhoeren")->shortcut(), QKeySequence(Qt::Key_A));
    QCOMPARE(item("MI_ZerlegtAnhoeren")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_A));
    QTest::keyClick(window, Qt::Key_A);
    QCOMPARE(played.buffers.size(), 1);
}

void KlangTest::noDeviceOnlyShowsTheStatusMessage()
{
    played.device = false;
    const AkkordDatenClass before = doc->Daten();
    QTest::keyClick(window, Qt::Key_A);
    QCOMPARE(statusMessage(), QStringLiteral("Keine Audioausgabe verfügbar"));
    QVERIFY(played.buffers.isEmpty());
    QVERIFY2(f->asked.isEmpty(), "no message box");
    QVERIFY(GleicherGriff(doc->Daten(), before));
    QTest::keyClick(window, Qt::Key_A, Qt::ShiftModifier);
    QCOMPARE(statusMessage(), QStringLiteral("Keine Audioausgabe verfügbar"));
    QVERIFY(f->asked.isEmpty());
}

void KlangTest::defaultOutputWithoutDeviceRefuses()
{
    if (!QMediaDevices::defaultAudioOutput().isNull())
        QSKIP("this machine has an audio device");
    SetzeAudioAusgabe(nullptr);
    QObject owner;
    AudioAusgabe* output = AudioAusgabeErzeugen(&owner);
    QVERIFY(!output->Abspielen(expectedSound(*doc, false), 48000));
    output->Anhalten();

    // The window made its output before the factory went; a new window uses the default device.
    f->stop();
    window = &f->start();
    item("MI_Anhoeren")->trigger();
    QCOMPARE(statusMessage(), QStringLiteral("Keine Audioausgabe verfügbar"));
    QVERIFY(f->asked.isEmpty());
}

void KlangTest::wavExportWritesTheStrum()
{
    answer = f->file(QStringLiteral("C-Dur"));
    item("MI_KlangWav")->trigger();
    QCOMPARE(requests.size(), 1);
    QVERIFY(requests[0].speichern);
    QCOMPARE(requests[0].endung, QStringLiteral("wav"));
    QVERIFY(requests[0].filter.contains(QStringLiteral("*.wav")));

    QFile file(f->file(QStringLiteral("C-Dur.wav")));
    QVERIFY2(file.open(QIODevice::ReadOnly), "the extension is added to a name typed without one");
    const QByteArray bytes = file.readAll();
    const QByteArray samples = expectedSound(*doc, false);
    QCOMPARE(bytes.size(), 44 + samples.size());
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
    QVERIFY(bytes.mid(44) == samples);
    QVERIFY(f->asked.isEmpty());
    QCOMPARE(statusMessage(), QStringLiteral("Der Klang wurde gespeichert"));
    QVERIFY2(played.buffers.isEmpty(), "exporting plays nothing");

    // Replacing asks first; declining keeps the file and asks for another name.
    file.close();
    f->answers = {7};
    int calls = 0;
    SetzeDateiDialogAntwort([&](const DateiDialogAnfrage&) { return ++calls == 1 ? answer : QString(); });
    setGrip(*doc, "xx0232", "xx0132");
    item("MI_KlangWav")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].symbol, 2);
    QCOMPARE(QFileInfo(f->file(QStringLiteral("C-Dur.wav"))).size(), 44 + samples.size());
}

void KlangTest::wavExportCancelledWritesNothing()
{
    answer.clear();
    item("MI_KlangWav")->trigger();
    QCOMPARE(requests.size(), 1);
    QVERIFY(f->asked.isEmpty());
    QVERIFY(QDir(f->file(QString())).entryList({QStringLiteral("*.wav")}).isEmpty());
}

void KlangTest::wavExportToAnUnwritablePathShowsTheError()
{
    answer = f->file(QStringLiteral("fehlt/Klang.wav"));
    item("MI_KlangWav")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].symbol, 1);
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("Klang.wav")), qPrintable(f->asked[0].meldung));
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("Der Ordner existiert nicht.")),
             qPrintable(f->asked[0].meldung));
    QVERIFY(!QFileInfo::exists(answer));
}

void KlangTest::arpeggioWavExportWritesTheArpeggio()
{
    QCOMPARE(item("MI_ZerlegtWav")->text(), QStringLiteral("&Zerlegt als WAV..."));
    QVERIFY(!item("MI_ZerlegtWav")->statusTip().isEmpty());
    auto* exportieren = window->findChild<QMenu*>(QStringLiteral("MI_Exportieren"));
    const QList<QAction*> items = exportieren->actions();
    QCOMPARE(items.indexOf(item("MI_ZerlegtWav")), items.indexOf(item("MI_KlangWav")) + 1);

    answer = f->file(QStringLiteral("C-Dur zerlegt.wav"));
    item("MI_ZerlegtWav")->trigger();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].endung, QStringLiteral("wav"));
    QFile file(answer);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QByteArray samples = expectedSound(*doc, true);
    QCOMPARE(bytes.size(), 44 + samples.size());
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    quint32 rate = 0;
    std::memcpy(&rate, bytes.constData() + 24, 4);
    QCOMPARE(rate, quint32(48000));
    QVERIFY2(bytes.mid(44) == samples, "the arpeggio, not the strum");
    QCOMPARE(statusMessage(), QStringLiteral("Der Klang wurde gespeichert"));
    QVERIFY(played.buffers.isEmpty());
}

void KlangTest::exportMenuAccessKeysAreUnique()
{
    auto* exportieren = window->findChild<QMenu*>(QStringLiteral("MI_Exportieren"));
    QSet<QChar> keys;
    for (const QAction* action : exportieren->actions()) {
        if (action->isSeparator())
            continue;
        const QString text = action->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
        const QChar key = text.at(amp + 1).toLower();
        QVERIFY2(!keys.contains(key), qPrintable(QStringLiteral("%1 shares its access key").arg(text)));
        keys.insert(key);
    }
}

void KlangTest::outputStreamFadesTheReplacedSoundOut()
{
    // The stream the default output's sink pulls: the window's second play arrives while the first
    // still sounds.
    QTest::keyClick(window, Qt::Key_A);
    QTest::keyClick(window, Qt::Key_A, Qt::ShiftModifier);
    QCOMPARE(played.buffers.size(), 2);
    AudioAusgabeStrom stream;
    stream.Starten(played.buffers[0]);
    const int before = 20000; // into the strum, where it is loud
    QCOMPARE(stream.read(before * 2).size(), before * 2);
    stream.Starten(played.buffers[1]);
    const QByteArray mixed = stream.read(2000 * 2);
    QCOMPARE(mixed.size(), 4000);
    std::vector<std::int16_t> out(2000);
    std::memcpy(out.data(), mixed.constData(), 4000);
    const auto* first = reinterpret_cast<const std::int16_t*>(played.buffers[0].constData());
    const auto* second = reinterpret_cast<const std::int16_t*>(played.buffers[1].constData());
    int louder = 0;
    for (int i = 0; i < 2000; ++i) {
        const double old = KlangMischerClass::Ausblendung(i) * first[before + i];
        QVERIFY2(std::fabs(out[i] - (second[i] + old)) <= 1.0, qPrintable(QString::number(i)));
        if (i < KlangMischerClass::Ueberblendung && std::abs(first[before + i]) > 1000)
            ++louder;
        if (i >= KlangMischerClass::Ueberblendung)
            QCOMPARE(out[i], second[i]);
    }
    QVERIFY2(louder > 0, "the strum was still sounding when the arpeggio began");
    QCOMPARE(KlangMischerClass::Ueberblendung, 480);
    // Played to its end, the stream has nothing more: the sink then goes idle.
    while (stream.bytesAvailable() > 0)
        stream.read(65536);
    QVERIFY(stream.read(2).isEmpty());
}

QTEST_MAIN(KlangTest)
#include "KlangTest.moc"
