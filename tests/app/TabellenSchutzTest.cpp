// The chord-table file against everything around it: other instances, other programs writing it,
// long names, locked folders, pipes and devices, and the installed read-only table.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/MainForm.h"
#include "app/TabellenWache.h"
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

// Another program writes the table: the same table with one grip less.
void outsideSave(const QString& path)
{
    auto other = std::make_unique<AkkordDepotClass>();
    other->Laden(path.toStdString());
    other->GriffEntfernenAn(0);
    other->Speichern(path.toStdString());
}

} // namespace

class TabellenSchutzTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aSecondWindowOnTheTableIsToldAndOpensReadOnly();
    void aSecondProgramOnTheTableIsToldWhoHoldsIt();
    void aSaveAfterAnOutsideChangeAsksBeforeReplacing();
    void anOutsideChangeIsOfferedForReloadOnceWhenTheWindowIsActive();
    void aTableWithAVeryLongNameSavesAndReopens();
    void aWritableTableInAFolderThatCannotBeWrittenIsSavedInPlace();
    void pipesAndDevicesAreRefusedAtOnce();
    void theInstalledTableIsATemplateForTheUsersOwn();

private:
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
    QString defaultTable() const { return f->file(defaultTableName); }
    void activate();

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    QStringList dialogAnswers;
    QList<DateiDialogAnfrage> dialogs;
};

void TabellenSchutzTest::init()
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

void TabellenSchutzTest::cleanup()
{
    SetzeDateiDialogAntwort(nullptr);
    f.reset();
}

void TabellenSchutzTest::activate()
{
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window, &activation);
    QCoreApplication::processEvents();
}

void TabellenSchutzTest::aSecondWindowOnTheTableIsToldAndOpensReadOnly()
{
    QVERIFY(QFileInfo::exists(TabellenWache::sperrDateiVon(defaultTable())));
    TF_Main second(f->file(QStringLiteral("Zweites.ini")), TableLookup(), defaultTable());
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].titel, QStringLiteral("In Benutzung"));
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("Prozess %1").arg(::getpid())),
             qPrintable(f->asked[0].meldung));
    QCOMPARE(second.dateiName(), defaultTable());
    QCOMPARE(second.statusleiste()->panelText(3),
             QStringLiteral("Schreibgeschützt geöffnet: speichern nur unter anderem Namen"));

    // Its save goes to another name only: cancelling the dialog writes nothing.
    const QByteArray before = fileBytes(defaultTable());
    second.dokument().SetzeText(1, "zweites");
    second.findChild<QAction*>(QStringLiteral("MI_Speichern"))->trigger();
    QCOMPARE(dialogs.size(), 1);
    QVERIFY(dialogs[0].speichern);
    QCOMPARE(fileBytes(defaultTable()), before);
    // Not even by choosing the same name.
    dialogAnswers << defaultTable();
    f->asked.clear();
    second.findChild<QAction*>(QStringLiteral("MI_SpeichernAls"))->trigger();
    QVERIFY(!f->asked.isEmpty());
    QCOMPARE(f->asked.last().symbol, 1);
    QCOMPARE(fileBytes(defaultTable()), before);
    // Another name is fine, and that table is its own from then on.
    const QString own = f->file(QStringLiteral("Zweite.cho"));
    dialogAnswers << own;
    f->asked.clear();
    second.findChild<QAction*>(QStringLiteral("MI_SpeichernAls"))->trigger();
    QCOMPARE(second.dateiName(), own);
    QVERIFY(QFileInfo::exists(TabellenWache::sperrDateiVon(own)));
    second.dokument().SetzeText(1, "weiter");
    f->asked.clear();
    second.findChild<QAction*>(QStringLiteral("MI_Speichern"))->trigger();
    QVERIFY(f->asked.isEmpty());
    QCOMPARE(second.statusleiste()->panelText(3), QStringLiteral("Die Grifftabelle wurde gespeichert"));

    // "&Nein" to the question opens nothing.
    f->asked.clear();
    f->answers << 7;
    second.dokument().SetzeGeaendert(false);
    dialogAnswers << defaultTable();
    second.findChild<QAction*>(QStringLiteral("MI_Laden"))->trigger();
    QCOMPARE(second.dateiName(), own);
}

void TabellenSchutzTest::aSecondProgramOnTheTableIsToldWhoHoldsIt()
{
    // The program itself, run from a folder of its own so that its settings stay there.
    const QString programFolder = f->file(QStringLiteral("programm"));
    QDir().mkpath(programFolder);
    const QString program = programFolder + QStringLiteral("/zupfwerk");
    QVERIFY(QFile::copy(QStringLiteral(ZW_PROGRAM), program));
    const QString table = f->file(QStringLiteral("Geteilt.cho"));
    QVERIFY(QFile::copy(defaultTable(), table));

    QProcess first;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    first.setProcessEnvironment(environment);
    first.start(program, {table});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(TabellenWache::sperrDateiVon(table)), 20000);

    f->asked.clear();
    dialogAnswers << table;
    item("MI_Laden")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("Prozess %1").arg(first.processId())),
             qPrintable(f->asked[0].meldung));
    QCOMPARE(window->dateiName(), table);

    // A killed program leaves no lock that stays: the table opens for writing again, and a save
    // after an outside change still asks first.
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    QVERIFY(first.waitForFinished());
    f->asked.clear();
    dialogAnswers << table;
    item("MI_Laden")->trigger();
    QVERIFY2(f->asked.isEmpty(), f->asked.isEmpty() ? "" : qPrintable(f->asked[0].meldung));
    outsideSave(table);
    const QByteArray outside = fileBytes(table);
    window->dokument().SetzeText(1, "geändert");
    f->answers << 2;
    item("MI_Speichern")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].titel, QStringLiteral("Geändert"));
    QCOMPARE(fileBytes(table), outside);
}

void TabellenSchutzTest::aSaveAfterAnOutsideChangeAsksBeforeReplacing()
{
    AkkordDepotClass& doc = window->dokument();
    const int grips = doc.Anzahl();
    outsideSave(defaultTable());
    const QByteArray outside = fileBytes(defaultTable());
    doc.SetzeText(1, "meins");

    // "&Abbruch": nothing written, still modified.
    f->answers << 2;
    item("MI_Speichern")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].knopfsatz, 1);
    QCOMPARE(fileBytes(defaultTable()), outside);
    QVERIFY(doc.IstGeaendert());

    // "&Nein": under another name; the outside save stays.
    f->asked.clear();
    f->answers << 7;
    const QString other = f->file(QStringLiteral("Meine.cho"));
    dialogAnswers << other;
    item("MI_Speichern")->trigger();
    QCOMPARE(fileBytes(defaultTable()), outside);
    QCOMPARE(window->dateiName(), other);
    auto loaded = std::make_unique<AkkordDepotClass>();
    QCOMPARE(loaded->Laden(other.toStdString()), int(LadenOk));
    QCOMPARE(loaded->Anzahl(), grips);

    // "&Ja": replaced; the next save asks nothing.
    outsideSave(other);
    doc.SetzeText(1, "wieder");
    f->asked.clear();
    f->answers << 6;
    item("MI_Speichern")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(loaded->Laden(other.toStdString()), int(LadenOk));
    QCOMPARE(loaded->Anzahl(), grips);
    doc.SetzeText(1, "nochmal");
    f->asked.clear();
    item("MI_Speichern")->trigger();
    QVERIFY(f->asked.isEmpty());
}

void TabellenSchutzTest::anOutsideChangeIsOfferedForReloadOnceWhenTheWindowIsActive()
{
    AkkordDepotClass& doc = window->dokument();
    const int grips = doc.Anzahl();
    activate();
    QVERIFY2(f->asked.isEmpty(), "nothing changed");

    // Unsaved changes: the question says they would go; "&Nein" keeps them, and it is not asked again.
    doc.SetzeText(1, "ungespeichert");
    outsideSave(defaultTable());
    f->answers << 7;
    activate();
    QCOMPARE(f->asked.size(), 1);
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("verloren")), qPrintable(f->asked[0].meldung));
    QCOMPARE(doc.Anzahl(), grips);
    QVERIFY(doc.IstGeaendert());
    activate();
    QCOMPARE(f->asked.size(), 1);

    // The next change is told again; "&Ja" reloads.
    outsideSave(defaultTable());
    f->answers << 6;
    activate();
    QCOMPARE(f->asked.size(), 2);
    QCOMPARE(doc.Anzahl(), grips - 2);
    QVERIFY(!doc.IstGeaendert());
    // The reloaded table is what is on disk: its save asks nothing.
    doc.SetzeText(1, "neu");
    item("MI_Speichern")->trigger();
    QCOMPARE(f->asked.size(), 2);
}

void TabellenSchutzTest::aTableWithAVeryLongNameSavesAndReopens()
{
    const QString name = QString(246, QLatin1Char('L')) + QStringLiteral(".cho");
    QCOMPARE(name.toUtf8().size(), 250);
    const QString path = f->file(name);
    QVERIFY(QFile::copy(defaultTable(), path));
    dialogAnswers << path;
    item("MI_Laden")->trigger();
    QCOMPARE(window->dateiName(), path);
    QVERIFY(QFileInfo::exists(TabellenWache::sperrDateiVon(path)));
    window->dokument().SetzeText(1, "lang");
    item("MI_Speichern")->trigger();
    QVERIFY2(f->asked.isEmpty(), f->asked.isEmpty() ? "" : qPrintable(f->asked[0].meldung));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Die Grifftabelle wurde gespeichert"));
    window->dokument().SetzeText(1, "");
    window->dokument().SetzeGeaendert(false);
    dialogAnswers << path;
    item("MI_Laden")->trigger();
    QCOMPARE(window->dokument().Text(1), std::string("lang"));
}

void TabellenSchutzTest::aWritableTableInAFolderThatCannotBeWrittenIsSavedInPlace()
{
    // A read-only folder holding a writable file: the file is a writable file bound over one of it.
    const QString folder = f->file(QStringLiteral("fest"));
    const QString writable = f->file(QStringLiteral("Beschreibbar.cho"));
    QVERIFY(QFile::copy(defaultTable(), writable));
    QDir().mkpath(folder);
    const QByteArray mountPoint = folder.toLocal8Bit();
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=4m") != 0)
        QSKIP("no file system can be mounted here");
    const QString path = folder + QStringLiteral("/Tabelle.cho");
    fileWrite(path, QByteArray());
    const bool bound = ::mount("tmpfs", mountPoint.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=4m") == 0 &&
                       ::mount(writable.toLocal8Bit().constData(), path.toLocal8Bit().constData(), nullptr, MS_BIND,
                               nullptr) == 0;
    if (!bound) {
        ::umount2(mountPoint.constData(), MNT_DETACH);
        QSKIP("no file can be bound here");
    }
    dialogAnswers << path;
    item("MI_Laden")->trigger();
    QCOMPARE(window->dateiName(), path);
    window->dokument().SetzeText(1, "an Ort und Stelle");
    item("MI_Speichern")->trigger();
    const QStringList asked = [this] {
        QStringList texts;
        for (const MeldungsAnfrage& a : f->asked)
            texts << a.meldung;
        return texts;
    }();
    QVERIFY2(f->asked.isEmpty(), qPrintable(asked.join(QLatin1Char('\n'))));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Die Grifftabelle wurde gespeichert"));
    QVERIFY(!window->dokument().IstGeaendert());
    auto loaded = std::make_unique<AkkordDepotClass>();
    QCOMPARE(loaded->Laden(writable.toStdString()), int(LadenOk));
    QCOMPARE(loaded->Text(1), std::string("an Ort und Stelle"));
    window->close();
    f->stop();
    ::umount2(path.toLocal8Bit().constData(), MNT_DETACH);
    ::umount2(mountPoint.constData(), MNT_DETACH);
}

void TabellenSchutzTest::pipesAndDevicesAreRefusedAtOnce()
{
    const QString pipe = f->file(QStringLiteral("Pipe.cho"));
    QCOMPARE(::mkfifo(pipe.toLocal8Bit().constData(), 0666), 0);
    const int grips = window->dokument().Anzahl();
    for (const QString& path : {pipe, QStringLiteral("/dev/zero"), f->file(QString())}) {
        f->asked.clear();
        dialogAnswers << path;
        item("MI_Laden")->trigger();
        QCOMPARE(f->asked.size(), 1);
        QCOMPARE(f->asked[0].symbol, 1);
        QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("keine Grifftabelle")), qPrintable(f->asked[0].meldung));
        QCOMPARE(window->dateiName(), defaultTable());
        QCOMPARE(window->dokument().Anzahl(), grips);
    }
    QVERIFY(f->asked[0].meldung.contains(QStringLiteral("ein Ordner")));

    // On the command line as well.
    f->asked.clear();
    TF_Main fromCommandLine(f->file(QStringLiteral("Zweites.ini")), TableLookup(), pipe);
    QCOMPARE(f->asked.size(), 1);
    QVERIFY2(f->asked[0].meldung.contains(QStringLiteral("eine benannte Pipe")), qPrintable(f->asked[0].meldung));
    QVERIFY(fromCommandLine.dateiName().isEmpty());
}

void TabellenSchutzTest::theInstalledTableIsATemplateForTheUsersOwn()
{
    window->close();
    f->stop();
    // Installed: a folder the program looks in, which nobody may write.
    const QString installed = f->file(QStringLiteral("installiert"));
    QDir().mkpath(installed);
    const QByteArray mountPoint = installed.toLocal8Bit();
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=4m") != 0)
        QSKIP("no file system can be mounted here");
    const QString table = installed + QLatin1Char('/') + defaultTableName;
    fileWrite(table, fileBytes(defaultTable()));
    ::mount("tmpfs", mountPoint.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=4m");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", f->file(QStringLiteral("daten")).toLocal8Bit());
    QFile::remove(defaultTable());
    QFile::remove(f->file(QStringLiteral("Zupfwerk.ini")));
    {
        TF_Main user(f->file(QStringLiteral("Zupfwerk.ini")), TableLookup({installed}), QString());
        QCOMPARE(user.dateiName(), table);
        AkkordDepotClass& doc = user.dokument();
        const int grips = doc.Anzahl();
        setGrip(doc, "x3201x", "x32-1x");
        QVERIFY(doc.GriffAufnehmen() > 0);
        user.findChild<QAction*>(QStringLiteral("MI_Speichern"))->trigger();
        QVERIFY2(f->asked.isEmpty(), f->asked.isEmpty() ? "" : qPrintable(f->asked[0].meldung));
        const QString own = f->file(QStringLiteral("daten/Zupfwerk/")) + defaultTableName;
        QCOMPARE(user.dateiName(), own);
        QVERIFY2(user.statusleiste()->panelText(3).contains(own), qPrintable(user.statusleiste()->panelText(3)));
        QVERIFY(f->iniText().contains(QStringLiteral("LetzteDatei=") + own));
        auto loaded = std::make_unique<AkkordDepotClass>();
        QCOMPARE(loaded->Laden(own.toStdString()), int(LadenOk));
        QCOMPARE(loaded->Anzahl(), grips + 1);
        user.findChild<QAction*>(QStringLiteral("MI_SpeichernAls"))->trigger();
        QCOMPARE(dialogs.last().verzeichnis, f->file(QStringLiteral("daten/Zupfwerk")));
        user.close();
    }
    {
        // The next start opens the user's own table.
        TF_Main again(f->file(QStringLiteral("Zupfwerk.ini")), TableLookup({installed}), QString());
        QCOMPARE(again.dateiName(), f->file(QStringLiteral("daten/Zupfwerk/")) + defaultTableName);
        // And the installed one opened by hand: the save dialog starts in the user's folder too.
        dialogAnswers << table;
        again.findChild<QAction*>(QStringLiteral("MI_Laden"))->trigger();
        QCOMPARE(again.dateiName(), table);
        again.findChild<QAction*>(QStringLiteral("MI_SpeichernAls"))->trigger();
        QCOMPARE(dialogs.last().verzeichnis, f->file(QStringLiteral("daten/Zupfwerk")));
    }
    ::umount2(mountPoint.constData(), MNT_DETACH);
    if (dataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", dataHome);
}

QTEST_MAIN(TabellenSchutzTest)
#include "TabellenSchutzTest.moc"
