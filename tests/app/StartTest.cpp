#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/CommandLine.h"
#include "app/MainForm.h"
#include "app/SettingsLocation.h"
#include "app/TableLookup.h"
#include "forms/MeldungZeigen.h"
#include "forms/PrivateProfile.h"
#include "table/AkkordDepot.h"

namespace {

const QString tableName = QStringLiteral("Gitarre, E-A-D-G-H-E.cho");

QString readText(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// True when the folder really refuses new files; root writes into read-only folders regardless.
bool makeReadOnly(const QString& folder)
{
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return !QFileInfo(folder).isWritable();
}

} // namespace

// A program installed somewhere: its folder, a data folder, the user's configuration folder and a
// working folder of its own, none of them the others.
class StartTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void settingsBesideAWritableProgram();
    void settingsInTheConfigFolderWhenTheProgramFolderIsReadOnly();
    void settingsInTheConfigFolderWhenTheProgramFolderIsMissing();
    void refusedWriteInTheConfigFolderShowsTheErrorBox();

    void lookupPrefersTheWorkingFolderThenTheFoldersInTurn();
    void lookupLeavesAbsoluteAndUnknownNamesAlone();

    void firstStartFindsTheDefaultTableInTheDataFolder();
    void relativeLastTableFromAnOlderSettingsFileIsFound();
    void missingLastTableIsStillReported();

    void commandLine_data();
    void commandLine();
    void tableOnTheCommandLineOpensInsteadOfTheLastOne();
    void damagedTableOnTheCommandLineAsksAndKeepsTheLastOneRemembered();
    void twoTablesOnTheCommandLinePrintTheUsage();
    void commandLineAnswersWithoutADisplay_data();
    void commandLineAnswersWithoutADisplay();

private:
    QString programFolder() const { return m_root->filePath(QStringLiteral("bin")); }
    QString dataFolder() const { return m_root->filePath(QStringLiteral("share/zupfwerk")); }
    QString configFolder() const { return m_root->filePath(QStringLiteral("config/Zupfwerk")); }
    QString workFolder() const { return m_root->filePath(QStringLiteral("elsewhere")); }
    TableLookup lookup() const { return TableLookup({programFolder(), dataFolder()}); }
    TF_Main& start(const QString& settings, const QString& startFile = QString());

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<TF_Main> m_window;
    QString m_previousDir;
    QList<MeldungsAnfrage> m_asked;
};

void StartTest::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    for (const QString& folder : {programFolder(), dataFolder(), workFolder()})
        QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(QStringLiteral(ZW_DEFAULT_TABLE), QDir(dataFolder()).filePath(tableName)));
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(workFolder());
    m_asked.clear();
    // Questions get "&Nein", every other box its only or first button.
    SetzeMeldungsAntwort([this](const MeldungsAnfrage& anfrage) {
        m_asked << anfrage;
        return anfrage.knopfsatz == 0 ? 7 : 6;
    });
}

void StartTest::cleanup()
{
    m_window.reset();
    SetzeMeldungsAntwort(nullptr);
    QDir::setCurrent(m_previousDir);
    QFile::setPermissions(programFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_root.reset();
}

TF_Main& StartTest::start(const QString& settings, const QString& startFile)
{
    m_window = std::make_unique<TF_Main>(settings, lookup(), startFile);
    m_window->show();
    return *m_window;
}

void StartTest::settingsBesideAWritableProgram()
{
    QCOMPARE(SettingsLocation::choose(programFolder(), configFolder()),
             QDir(programFolder()).filePath(QStringLiteral("Zupfwerk.ini")));
    QVERIFY2(!QFileInfo::exists(configFolder()), "the configuration folder is only made when it is used");
}

void StartTest::settingsInTheConfigFolderWhenTheProgramFolderIsReadOnly()
{
    if (!makeReadOnly(programFolder()))
        QSKIP("this user writes into read-only folders; the install test runs the program as another user");
    const QString settings = SettingsLocation::choose(programFolder(), configFolder());
    QCOMPARE(settings, QDir(configFolder()).filePath(QStringLiteral("Zupfwerk.ini")));
    QVERIFY(QFileInfo(configFolder()).isDir());

    TF_Main& window = start(settings);
    window.close();
    QVERIFY2(m_asked.isEmpty(), qPrintable(m_asked.value(0).meldung));
    QVERIFY(readText(settings).contains(QStringLiteral("Vorgabe=")));
    QVERIFY(!QFileInfo::exists(QDir(programFolder()).filePath(QStringLiteral("Zupfwerk.ini"))));
}

void StartTest::settingsInTheConfigFolderWhenTheProgramFolderIsMissing()
{
    const QString gone = m_root->filePath(QStringLiteral("removed"));
    const QString settings = SettingsLocation::choose(gone, configFolder());
    QCOMPARE(settings, QDir(configFolder()).filePath(QStringLiteral("Zupfwerk.ini")));
    QVERIFY(QFileInfo(configFolder()).isDir());
    QVERIFY(PrivateProfile(settings).writeInteger(QStringLiteral("Diagramm"), QStringLiteral("Vorgabe"), 3));
    QVERIFY(m_asked.isEmpty());
}

void StartTest::refusedWriteInTheConfigFolderShowsTheErrorBox()
{
    // A plain file where the configuration folder's parent should be: no user can create it.
    const QString blocker = m_root->filePath(QStringLiteral("config"));
    QVERIFY(writeBytes(blocker, "no folder"));
    const QString settings =
        SettingsLocation::choose(m_root->filePath(QStringLiteral("removed")), configFolder());
    QVERIFY2(m_asked.isEmpty(), "choosing the place says nothing");

    PrivateProfile profile(settings);
    QVERIFY(!profile.writeInteger(QStringLiteral("Diagramm"), QStringLiteral("Vorgabe"), 3));
    QCOMPARE(m_asked.size(), 1);
    QVERIFY(m_asked[0].einfach);
    QVERIFY2(m_asked[0].meldung.contains(settings), qPrintable(m_asked[0].meldung));
}

void StartTest::lookupPrefersTheWorkingFolderThenTheFoldersInTurn()
{
    const QString name = QStringLiteral("Laute.cho");
    QVERIFY(writeBytes(QDir(dataFolder()).filePath(name), "data"));
    QCOMPARE(lookup().find(name), QDir(dataFolder()).filePath(name));
    QVERIFY(writeBytes(QDir(programFolder()).filePath(name), "program"));
    QCOMPARE(lookup().find(name), QDir(programFolder()).filePath(name));
    QVERIFY(writeBytes(QDir(workFolder()).filePath(name), "working"));
    QCOMPARE(lookup().find(name), QDir(workFolder()).filePath(name));
    QCOMPARE(TableLookup().find(name), QDir(workFolder()).filePath(name));

    QVERIFY2(QDir(workFolder()).mkdir(tableName), "a folder of that name");
    QCOMPARE(lookup().find(tableName), QDir(dataFolder()).filePath(tableName));
}

void StartTest::lookupLeavesAbsoluteAndUnknownNamesAlone()
{
    const QString absolute = m_root->filePath(QStringLiteral("nirgends/Laute.cho"));
    QCOMPARE(lookup().find(absolute), absolute);
    QCOMPARE(lookup().find(QStringLiteral("Unbekannt.cho")), QStringLiteral("Unbekannt.cho"));
    QCOMPARE(lookup().find(QString()), QString());
    QCOMPARE(TableLookup().find(tableName), tableName);
}

void StartTest::firstStartFindsTheDefaultTableInTheDataFolder()
{
    const QString settings = QDir(configFolder()).filePath(QStringLiteral("Zupfwerk.ini"));
    QVERIFY(QDir().mkpath(configFolder()));
    TF_Main& window = start(settings);
    QVERIFY2(m_asked.isEmpty(), qPrintable(m_asked.value(0).meldung));
    QVERIFY(window.dokument().TypAnzahl() > 0);
    QVERIFY(window.dokument().Anzahl() > 0);
    const QString opened = QDir(dataFolder()).filePath(tableName);
    QCOMPARE(window.dateiName(), opened);
    QCOMPARE(window.windowTitle(), QStringLiteral("Zupfwerk - Gitarre, E-A-D-G-H-E"));
    QVERIFY2(readText(settings).contains(QStringLiteral("LetzteDatei=") + opened + QLatin1Char('\n')),
             qPrintable(readText(settings)));
}

void StartTest::relativeLastTableFromAnOlderSettingsFileIsFound()
{
    QVERIFY(QFile::copy(QDir(dataFolder()).filePath(tableName),
                        QDir(programFolder()).filePath(QStringLiteral("Laute.cho"))));
    const QString settings = m_root->filePath(QStringLiteral("Zupfwerk.ini"));
    QVERIFY(writeBytes(settings, "[Computer]\nLetzteDatei=Laute.cho\n"));
    TF_Main& window = start(settings);
    QVERIFY(m_asked.isEmpty());
    QCOMPARE(window.windowTitle(), QStringLiteral("Zupfwerk - Laute"));
    QVERIFY(window.dokument().TypAnzahl() > 0);
    QVERIFY2(readText(settings).contains(QStringLiteral("LetzteDatei=") +
                                         QDir(programFolder()).filePath(QStringLiteral("Laute.cho"))),
             "the name found is remembered as an absolute path");
}

void StartTest::missingLastTableIsStillReported()
{
    const QString settings = m_root->filePath(QStringLiteral("Zupfwerk.ini"));
    QVERIFY(writeBytes(settings, "[Computer]\nLetzteDatei=Verloren.cho\n"));
    TF_Main& window = start(settings);
    QCOMPARE(m_asked.size(), 1);
    QCOMPARE(m_asked[0].meldung,
             QStringLiteral("Die CHO-Akkordeinstellungen konnten nicht geöffnet werden!"));
    QCOMPARE(window.dokument().TypAnzahl(), 0);
    QCOMPARE(window.windowTitle(), QStringLiteral("Zupfwerk"));
    QVERIFY(readText(settings).contains(QStringLiteral("LetzteDatei=Verloren.cho\n")));
}

void StartTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("startsWindow");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString usageStart = QStringLiteral("Aufruf: zupfwerk");
    QTest::newRow("nothing") << QStringList() << true << QString() << 0 << QString();
    QTest::newRow("relative file") << QStringList{QStringLiteral("Laute.cho")} << true
                                   << QStringLiteral("elsewhere/Laute.cho") << 0 << QString();
    QTest::newRow("file URL") << QStringList{QStringLiteral("file:///musik/Laute%20neu.cho")} << true
                              << QStringLiteral("/musik/Laute neu.cho") << 0 << QString();
    QTest::newRow("name after --") << QStringList{QStringLiteral("--"), QStringLiteral("-Laute.cho")} << true
                                   << QStringLiteral("elsewhere/-Laute.cho") << 0 << QString();
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << false << QString() << 0 << usageStart;
    QTest::newRow("version") << QStringList{QStringLiteral("-v")} << false << QString() << 0
                             << QStringLiteral("Zupfwerk 1.4");
    QTest::newRow("two files") << QStringList{QStringLiteral("a.cho"), QStringLiteral("b.cho")} << false
                               << QString() << 2
                               << QStringLiteral("zupfwerk: Es kann nur eine Grifftabelle geöffnet werden.");
    QTest::newRow("unknown long option")
        << QStringList{QStringLiteral("--bunt"), QStringLiteral("a.cho")} << false << QString() << 2
        << QStringLiteral("zupfwerk: Unbekannte Option: --bunt");
    QTest::newRow("unknown short option") << QStringList{QStringLiteral("-x")} << false << QString() << 2
                                          << QStringLiteral("zupfwerk: Unbekannte Option: -x");
}

void StartTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, startsWindow);
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    const CommandLine line(QStringList{QStringLiteral("zupfwerk")} + arguments);
    QCOMPARE(line.startsWindow(), startsWindow);
    QCOMPARE(line.exitCode(), exitCode);
    QCOMPARE(line.isError(), exitCode != 0);
    if (file.isEmpty() || QDir::isAbsolutePath(file))
        QCOMPARE(line.file(), file);
    else
        QCOMPARE(line.file(), m_root->filePath(file));
    QVERIFY2(line.message().startsWith(message), qPrintable(line.message()));
    if (line.isError())
        QVERIFY2(line.message().contains(CommandLine::usage()), "an error ends in the usage text");
}

void StartTest::tableOnTheCommandLineOpensInsteadOfTheLastOne()
{
    const QString other = QDir(workFolder()).filePath(QStringLiteral("Laute.cho"));
    QVERIFY(QFile::copy(QDir(dataFolder()).filePath(tableName), other));
    const QString settings = m_root->filePath(QStringLiteral("Zupfwerk.ini"));
    QVERIFY(writeBytes(settings,
                       "[Computer]\nLetzteDatei=" + QDir(dataFolder()).filePath(tableName).toUtf8() + "\n"));

    const CommandLine line({QStringLiteral("zupfwerk"), QStringLiteral("Laute.cho")});
    TF_Main& window = start(settings, line.file());
    QVERIFY2(m_asked.isEmpty(), qPrintable(m_asked.value(0).meldung));
    QCOMPARE(window.dateiName(), other);
    QCOMPARE(window.windowTitle(), QStringLiteral("Zupfwerk - Laute"));
    QVERIFY(window.dokument().Anzahl() > 0);
    QVERIFY(readText(settings).contains(QStringLiteral("LetzteDatei=") + other + QLatin1Char('\n')));
}

void StartTest::damagedTableOnTheCommandLineAsksAndKeepsTheLastOneRemembered()
{
    QFile source(QDir(dataFolder()).filePath(tableName));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    bytes[bytes.size() - 1] = static_cast<char>(bytes[bytes.size() - 1] ^ 0x10);
    const QString damaged = QDir(workFolder()).filePath(QStringLiteral("Kaputt.cho"));
    QVERIFY(writeBytes(damaged, bytes));
    const QString settings = m_root->filePath(QStringLiteral("Zupfwerk.ini"));
    const QByteArray last = "LetzteDatei=" + QDir(dataFolder()).filePath(tableName).toUtf8() + "\n";
    QVERIFY(writeBytes(settings, "[Computer]\n" + last));

    TF_Main& window = start(settings, CommandLine({QStringLiteral("zupfwerk"), damaged}).file());
    QVERIFY(!m_asked.isEmpty());
    QCOMPARE(m_asked[0].meldung, QStringLiteral("Die Grifftabelle 'Kaputt' ist zerstört!"));
    QVERIFY(window.dateiName() != damaged);
    QVERIFY2(!window.windowTitle().contains(QStringLiteral("Kaputt")), qPrintable(window.windowTitle()));
    QVERIFY2(readText(settings).contains(QString::fromUtf8(last)), "the last good table stays remembered");
}

void StartTest::twoTablesOnTheCommandLinePrintTheUsage()
{
    QProcess program;
    program.setWorkingDirectory(workFolder());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ZW_PROGRAM), {QStringLiteral("Eins.cho"), QStringLiteral("Zwei.cho")});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 2);
    const QString error = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(error.contains(QStringLiteral("Aufruf: zupfwerk")), qPrintable(error));
    QVERIFY(program.readAllStandardOutput().isEmpty());
    QVERIFY2(!QFileInfo::exists(QDir(workFolder()).filePath(QStringLiteral("Zupfwerk.ini"))),
             "nothing written");
}

void StartTest::commandLineAnswersWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << QStringLiteral("Aufruf: zupfwerk")
                          << QString();
    QTest::newRow("version") << QStringList{QStringLiteral("--version")} << 0 << QStringLiteral("Zupfwerk 1.4")
                             << QString();
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bunt")} << 2 << QString()
                                    << QStringLiteral("zupfwerk: Unbekannte Option: --bunt");
    QTest::newRow("two tables") << QStringList{QStringLiteral("a.cho"), QStringLiteral("b.cho")} << 2 << QString()
                                << QStringLiteral("zupfwerk: Es kann nur eine Grifftabelle geöffnet werden.");
    QTest::newRow("Qt option without value") << QStringList{QStringLiteral("-platform")} << 2 << QString()
                                             << QStringLiteral("zupfwerk: Option -platform braucht einen Wert.");
}

void StartTest::commandLineAnswersWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);
    QProcess program;
    program.setWorkingDirectory(workFolder());
    // No display, no platform plugin named, and an English locale.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LC_ALL"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ZW_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(program.exitCode() == exitCode, qPrintable(err));
    QVERIFY2(out.startsWith(output), qPrintable(out));
    if (exitCode == 0) {
        QVERIFY2(err.isEmpty(), qPrintable(err));
    } else {
        QVERIFY2(err.startsWith(error), qPrintable(err));
        QVERIFY(err.contains(QStringLiteral("Aufruf: zupfwerk")));
    }
    QVERIFY2(!QFileInfo::exists(QDir(workFolder()).filePath(QStringLiteral("Zupfwerk.ini"))),
             "nothing written");
}

QTEST_MAIN(StartTest)
#include "StartTest.moc"
