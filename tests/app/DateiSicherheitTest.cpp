#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

#include <sys/mount.h>
#include <unistd.h>

#include "app/MainForm.h"
#include "forms/DateiDialog.h"
#include "forms/Statusleiste.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void fileWrite(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

// A folder whose files nobody may write: a read-only file system where root runs the tests (root
// ignores permissions), plain permissions otherwise.
class ReadOnlyFolder
{
public:
    ReadOnlyFolder(const QString& path, const QString& name, const QByteArray& bytes) : m_path(path)
    {
        QDir().mkpath(path);
        if (::geteuid() == 0) {
            m_mounted = ::mount("tmpfs", path.toLocal8Bit().constData(), "tmpfs", 0, "size=8m") == 0;
            if (!m_mounted)
                return;
            fileWrite(path + QLatin1Char('/') + name, bytes);
            m_ok = ::mount("tmpfs", path.toLocal8Bit().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                           "size=8m") == 0;
        } else {
            fileWrite(path + QLatin1Char('/') + name, bytes);
            QFile::setPermissions(path + QLatin1Char('/') + name, QFile::ReadOwner | QFile::ReadUser);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser);
            m_ok = true;
        }
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted)
            ::umount(m_path.toLocal8Bit().constData());
        else
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_mounted = false;
    bool m_ok = false;
};

} // namespace

class DateiSicherheitTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void damagedFileOverAModifiedTableNeverReachesTheGoodFile();
    void rescueOfACutFileGivesAnUnnamedModifiedTable();
    void rescueKeepsAllButTheChangedGrip();
    void damagedLastTableAtStartCanBeRescued();
    void readOnlyTableShowsTheErrorAndKeepsTheProgramOpen();
    void cancelledSaveAsAtCloseKeepsTheProgramOpen();
    void failedSaveAsKeepsTheOldName();
    void saveAsAsksBeforeReplacingTheFileThatIsWritten();
    void dialogsStartInTheTableFolderAndFindNamesWithoutExtension();
    void inconsistentTableIsRefusedWithTheProblem();

private:
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QString defaultTable() const { return f->file(defaultTableName); }
    // A copy of the default table whose grip list ends after `keep` bytes.
    QString cutTable(const QString& name, int keep);
    // The bytes the open document saves as.
    QByteArray documentBytes();

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    QStringList dialogAnswers;
    QList<DateiDialogAnfrage> dialogs;
};

void DateiSicherheitTest::init()
{
    f = std::make_unique<TestFenster>();
    dialogAnswers.clear();
    dialogs.clear();
    SetzeDateiDialogAntwort([this](const DateiDialogAnfrage& anfrage) {
        dialogs << anfrage;
        return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
    });
    window = &f->start();
}

void DateiSicherheitTest::cleanup()
{
    SetzeDateiDialogAntwort(nullptr);
    f.reset();
}

QString DateiSicherheitTest::cutTable(const QString& name, int keep)
{
    const QString path = f->file(name);
    fileWrite(path, fileBytes(defaultTable()).left(keep));
    return path;
}

QByteArray DateiSicherheitTest::documentBytes()
{
    const QString path = f->file(QStringLiteral("vergleich.bin"));
    auto copy = std::make_unique<AkkordDepotClass>(window->dokument());
    copy->Speichern(path.toStdString());
    const QByteArray bytes = fileBytes(path);
    QFile::remove(path);
    return bytes;
}

void DateiSicherheitTest::damagedFileOverAModifiedTableNeverReachesTheGoodFile()
{
    AkkordDepotClass& doc = window->dokument();
    const int grips = doc.Anzahl();
    setGrip(doc, "x3201x", "x32-1x");
    QVERIFY(doc.GriffAufnehmen() > 0);
    const QByteArray edited = documentBytes();
    const QString damaged = cutTable(QStringLiteral("Kaputt.cho"), 5000);

    // Keep the changes, open the damaged file, refuse the rescue: nothing of the open table changes.
    f->answers << 7 << 6 << 7;
    dialogAnswers << damaged;
    item("MI_Laden")->trigger();
    QCOMPARE(f->asked.size(), 3);
    QCOMPARE(f->asked[1].meldung, QStringLiteral("Die Grifftabelle 'Kaputt' ist zerstört!"));
    QCOMPARE(f->asked[2].titel, QStringLiteral("Retten"));
    QCOMPARE(f->asked[2].knopfsatz, 0);
    QCOMPARE(doc.Anzahl(), grips + 1);
    QVERIFY(doc.IstGeaendert());
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Gitarre, E-A-D-G-H-E"));
    QVERIFY(f->iniText().contains(QStringLiteral("LetzteDatei=") + defaultTable()));

    item("MI_Speichern")->trigger();
    QCOMPARE(fileBytes(defaultTable()), edited);
    f->asked.clear();
    QVERIFY(window->close());
    QVERIFY2(f->asked.isEmpty(), "saved: closing asks nothing");
    QCOMPARE(fileBytes(defaultTable()), edited);
    QCOMPARE(fileBytes(damaged).size(), 5000);
}

void DateiSicherheitTest::rescueOfACutFileGivesAnUnnamedModifiedTable()
{
    // The grip list starts behind the catalogue; keep the first 100 grips and half of the next one.
    const AkkordDepotClass& doc = window->dokument();
    const int gripsAt = 5 + 4 + 72 * doc.TypAnzahl() + 8;
    const QString damaged = cutTable(QStringLiteral("Halb.cho"), gripsAt + 232 * 100 + 116);
    const QByteArray damagedBytes = fileBytes(damaged);
    const int types = doc.TypAnzahl();

    f->answers << 6 << 6;
    dialogAnswers << damaged;
    item("MI_Laden")->trigger();
    QCOMPARE(f->asked.size(), 2);
    QCOMPARE(doc.Anzahl(), 100);
    QCOMPARE(doc.TypAnzahl(), types);
    QVERIFY(doc.IstGeaendert());
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - (unbenannt)"));
    // What the cut took: everything behind the grips is the default of a new table.
    QCOMPARE(window->statusleiste()->panelText(3),
             QStringLiteral("100 Griffe aus 'Halb' übernommen; übernommen: Akkordtypen; "
                            "durch Vorgaben ersetzt: Notennamen, Stimmung, Instrument, Info"));
    QVERIFY2(f->iniText().contains(QStringLiteral("LetzteDatei=") + defaultTable()),
             "the rescued table is no file yet");

    // Saving asks for a name and never writes over the damaged file by itself.
    item("MI_Speichern")->trigger();
    QCOMPARE(dialogs.size(), 2);
    QVERIFY(dialogs[1].speichern);
    QCOMPARE(fileBytes(damaged), damagedBytes);
    const QString rescued = f->file(QStringLiteral("Gerettet.cho"));
    dialogAnswers << rescued;
    item("MI_Speichern")->trigger();
    auto loaded = std::make_unique<AkkordDepotClass>();
    QCOMPARE(loaded->Laden(rescued.toStdString()), int(LadenOk));
    QCOMPARE(loaded->Anzahl(), 100);
    QCOMPARE(fileBytes(damaged), damagedBytes);
}

void DateiSicherheitTest::rescueKeepsAllButTheChangedGrip()
{
    const AkkordDepotClass& doc = window->dokument();
    const int grips = doc.Anzahl();
    const int gripsAt = 5 + 4 + 72 * doc.TypAnzahl() + 8;
    QByteArray bytes = fileBytes(defaultTable());
    bytes[gripsAt + 232 * 7 + 8] = char(120); // the chord type of grip 8, outside the catalogue
    const QString damaged = f->file(QStringLiteral("Byte.cho"));
    fileWrite(damaged, bytes);
    f->answers << 6 << 6;
    dialogAnswers << damaged;
    item("MI_Laden")->trigger();
    QCOMPARE(doc.Anzahl(), grips - 1);
    QCOMPARE(window->statusleiste()->panelText(3),
             QStringLiteral("%1 Griffe aus 'Byte' übernommen, 1 beschädigte verworfen; übernommen: Akkordtypen, "
                            "Notennamen, Stimmung, Instrument, Info")
                 .arg(grips - 1));
}

void DateiSicherheitTest::damagedLastTableAtStartCanBeRescued()
{
    window->close();
    f->stop();
    cutTable(defaultTableName, 5 + 4 + 72 * 3);
    f->asked.clear();
    f->answers << 6 << 6;
    window = &f->start();
    QCOMPARE(f->asked.size(), 2);
    QCOMPARE(f->asked[1].titel, QStringLiteral("Retten"));
    QCOMPARE(window->dokument().TypAnzahl(), 3);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - (unbenannt)"));
    QVERIFY(window->statusleiste()->panelText(3).startsWith(QStringLiteral("0 Griffe aus 'Gitarre, E-A-D-G-H-E' übernommen")));
}

void DateiSicherheitTest::readOnlyTableShowsTheErrorAndKeepsTheProgramOpen()
{
    const QString folder = f->file(QStringLiteral("geschuetzt"));
    ReadOnlyFolder guard(folder, QStringLiteral("Fest.cho"), fileBytes(defaultTable()));
    if (!guard.ok())
        QSKIP("no read-only folder can be made here");
    const QString path = folder + QStringLiteral("/Fest.cho");
    dialogAnswers << path;
    item("MI_Laden")->trigger();
    QCOMPARE(window->dateiName(), path);
    window->dokument().SetzeText(1, "geändert");

    item("MI_Speichern")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].symbol, 1);
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("Fest.cho")), qPrintable(f->asked[0].meldung));
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("schreibgeschützt")) ||
                 f->asked[0].meldung.contains(QStringLiteral("Berechtigung")),
             qPrintable(f->asked[0].meldung));
    QVERIFY(window->dokument().IstGeaendert());
    QVERIFY(window->statusleiste()->panelText(3) != QStringLiteral("Die Grifftabelle wurde gespeichert"));

    // "&Ja" at close: the save fails again, so the program stays open with the changes.
    f->asked.clear();
    f->answers << 6 << 6;
    QVERIFY(!window->close());
    QCOMPARE(f->asked.size(), 2);
    QCOMPARE(f->asked[0].titel, QStringLiteral("Übernehmen"));
    QCOMPARE(f->asked[1].symbol, 1);
    QVERIFY(window->isVisible());
    QVERIFY(window->dokument().IstGeaendert());
    QCOMPARE(fileBytes(path), fileBytes(defaultTable()));

    // Opening another table after "&Ja" stops as well.
    f->asked.clear();
    f->answers << 6 << 6;
    dialogs.clear();
    item("MI_Laden")->trigger();
    QVERIFY2(dialogs.isEmpty(), "the open dialog is not shown after a failed save");
    QCOMPARE(window->dateiName(), path);
}

void DateiSicherheitTest::cancelledSaveAsAtCloseKeepsTheProgramOpen()
{
    // A rescued table is unnamed and modified: "&Ja" at close runs "Speichern als".
    f->answers << 6 << 6;
    dialogAnswers << cutTable(QStringLiteral("Halb.cho"), 3000);
    item("MI_Laden")->trigger();
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - (unbenannt)"));
    f->asked.clear();
    dialogs.clear();
    f->answers << 6;
    QVERIFY(!window->close());
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(dialogs.size(), 1);
    QVERIFY(window->isVisible());
    QVERIFY(window->dokument().IstGeaendert());

    // "&Nein" closes without saving.
    f->answers << 7;
    QVERIFY(window->close());
}

void DateiSicherheitTest::failedSaveAsKeepsTheOldName()
{
    const QString folder = f->file(QStringLiteral("nurlesen"));
    ReadOnlyFolder guard(folder, QStringLiteral("Da.cho"), QByteArray("x"));
    if (!guard.ok())
        QSKIP("no read-only folder can be made here");
    const QString before = window->dateiName();
    window->dokument().SetzeText(1, "geändert");
    dialogAnswers << folder + QStringLiteral("/Neu.cho");
    item("MI_SpeichernAls")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].symbol, 1);
    QCOMPARE(window->dateiName(), before);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Gitarre, E-A-D-G-H-E"));
    QVERIFY(f->iniText().contains(QStringLiteral("LetzteDatei=") + before));
    QVERIFY(window->dokument().IstGeaendert());
}

void DateiSicherheitTest::saveAsAsksBeforeReplacingTheFileThatIsWritten()
{
    const QString other = f->file(QStringLiteral("Andere.cho"));
    fileWrite(other, QByteArray("bleibt"));

    // Typed without ".cho": the question names the file that would be replaced; "&Nein" shows the
    // dialog again, and cancelling it writes nothing.
    f->answers << 7;
    dialogAnswers << f->file(QStringLiteral("Andere"));
    item("MI_SpeichernAls")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].symbol, 2);
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("Andere.cho")), qPrintable(f->asked[0].meldung));
    QCOMPARE(dialogs.size(), 2);
    QCOMPARE(fileBytes(other), QByteArray("bleibt"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Gitarre, E-A-D-G-H-E"));

    f->asked.clear();
    f->answers << 6;
    dialogAnswers << f->file(QStringLiteral("Andere"));
    item("MI_SpeichernAls")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(fileBytes(other), documentBytes());
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Andere"));
}

void DateiSicherheitTest::dialogsStartInTheTableFolderAndFindNamesWithoutExtension()
{
    QDir(f->file(QString())).mkdir(QStringLiteral("ordner"));
    const QString plain = f->file(QStringLiteral("ordner/Ohne"));
    QFile::copy(defaultTable(), plain);
    dialogAnswers << plain;
    item("MI_Laden")->trigger();
    QCOMPARE(dialogs[0].verzeichnis, QFileInfo(defaultTable()).absolutePath());
    QVERIFY(dialogs[0].filter.contains(QStringLiteral("Alle Dateien (*)")));
    QCOMPARE(window->dateiName(), plain);

    dialogAnswers << f->file(QStringLiteral("Gitarre, E-A-D-G-H-E"));
    item("MI_Laden")->trigger();
    QCOMPARE(dialogs[1].verzeichnis, f->file(QStringLiteral("ordner")));
    QCOMPARE(window->dateiName(), defaultTable());

    item("MI_SpeichernAls")->trigger();
    QCOMPARE(dialogs[2].verzeichnis, QFileInfo(defaultTable()).absolutePath());
}

void DateiSicherheitTest::inconsistentTableIsRefusedWithTheProblem()
{
    AkkordDepotClass& doc = window->dokument();
    const QByteArray good = fileBytes(defaultTable());
    const int last = doc.TypAnzahl() - 1;
    setGrip(doc, "x3201x", "x32-1x");
    doc.AkkordSetzen(0, last);
    QVERIFY(doc.GriffAufnehmen() > 0);
    doc.TypEntfernen(last); // behind the document's back: its grip now points outside the catalogue
    item("MI_Speichern")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("Akkordtyp")), qPrintable(f->asked[0].meldung));
    QCOMPARE(fileBytes(defaultTable()), good);
}

QTEST_MAIN(DateiSicherheitTest)
#include "DateiSicherheitTest.moc"
