#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "forms/MeldungZeigen.h"
#include "forms/PrivateProfile.h"

namespace {

QString writeText(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath(QStringLiteral("Zupfwerk.ini"));
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
    return path;
}

QByteArray readText(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

class PrivateProfileTest : public QObject
{
    Q_OBJECT

private slots:
    void missingFileReadsDefaults();
    void namesMatchWithoutCase();
    void integers_data();
    void integers();
    void commasAndBlanksStayInStrings();
    void writeReplacesOnlyItsLine();
    void writeAddsKeyAtEndOfItsSection();
    void writeCreatesFileAndSection();
    void writeReachesTheDiskAtOnce();
    void refusedWriteIsReportedWithTheFileName();
    void changesByOthersAreSeen();
};

void PrivateProfileTest::missingFileReadsDefaults()
{
    QTemporaryDir dir;
    PrivateProfile ini(dir.filePath(QStringLiteral("none.ini")));
    QCOMPARE(
        ini.readString(QStringLiteral("Computer"), QStringLiteral("LetzteDatei"), QStringLiteral("x.cho")),
        QStringLiteral("x.cho"));
    QCOMPARE(ini.readInteger(QStringLiteral("Diagramm"), QStringLiteral("Bundanz1"), 4), 4);
    QCOMPARE(ini.readBool(QStringLiteral("Computer"), QStringLiteral("Statuszeile"), true), true);
}

void PrivateProfileTest::namesMatchWithoutCase()
{
    QTemporaryDir dir;
    PrivateProfile ini(writeText(dir, "[diagramm]\nFINGERSATZ=0\n[Computer]\nkurzhinweise = 0x1\n"));
    QCOMPARE(ini.readBool(QStringLiteral("Diagramm"), QStringLiteral("Fingersatz"), true), false);
    QCOMPARE(ini.readBool(QStringLiteral("COMPUTER"), QStringLiteral("Kurzhinweise"), false), true);
    QVERIFY2(ini.readBool(QStringLiteral("Computer"), QStringLiteral("Fingersatz"), true),
             "a key of another section does not count");
}

void PrivateProfileTest::integers_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << QByteArray("16") << 16;
    QTest::newRow("negative") << QByteArray("-1000") << -1000;
    QTest::newRow("hex lower") << QByteArray("0x1f") << 31;
    QTest::newRow("hex upper") << QByteArray("0X10") << 16;
    QTest::newRow("blanks around") << QByteArray("  7  ") << 7;
    QTest::newRow("garbage") << QByteArray("zehn") << 99;
    QTest::newRow("trailing garbage") << QByteArray("12abc") << 99;
    QTest::newRow("empty") << QByteArray("") << 99;
    QTest::newRow("bad hex") << QByteArray("0xZZ") << 99;
}

void PrivateProfileTest::integers()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    QTemporaryDir dir;
    PrivateProfile ini(writeText(dir, "[Diagramm]\nBundanz0=" + value + "\n"));
    QCOMPARE(ini.readInteger(QStringLiteral("Diagramm"), QStringLiteral("Bundanz0"), 99), expected);
}

void PrivateProfileTest::commasAndBlanksStayInStrings()
{
    QTemporaryDir dir;
    PrivateProfile ini(writeText(dir, "[Computer]\nLetzteDatei=Gitarre, E-A-D-G-H-E.cho\n"));
    QCOMPARE(ini.readString(QStringLiteral("Computer"), QStringLiteral("LetzteDatei"), QString()),
             QStringLiteral("Gitarre, E-A-D-G-H-E.cho"));
    QVERIFY(ini.writeString(QStringLiteral("Computer"), QStringLiteral("LetzteDatei"),
                            QStringLiteral("/home/ich/Laute für Anfänger, neu.cho")));
    QCOMPARE(readText(ini.path()),
             QByteArray("[Computer]\nLetzteDatei=/home/ich/Laute für Anfänger, neu.cho\n"));
}

void PrivateProfileTest::writeReplacesOnlyItsLine()
{
    QTemporaryDir dir;
    const QByteArray before =
        "; Kommentar\r\n[Diagramm]\r\nFingersatz=1\r\n\r\n[Computer]\r\nStatuszeile=1\r\n";
    PrivateProfile ini(writeText(dir, before));
    QVERIFY(ini.writeBool(QStringLiteral("diagramm"), QStringLiteral("fingersatz"), false));
    QCOMPARE(readText(ini.path()),
             QByteArray("; Kommentar\r\n[Diagramm]\r\nfingersatz=0\r\n\r\n[Computer]\r\nStatuszeile=1\r\n"));
}

void PrivateProfileTest::writeAddsKeyAtEndOfItsSection()
{
    QTemporaryDir dir;
    PrivateProfile ini(writeText(dir, "[Diagramm]\nFingersatz=1\n\n[Computer]\nStatuszeile=1\n"));
    QVERIFY(ini.writeInteger(QStringLiteral("Diagramm"), QStringLiteral("Bundanz1"), 5));
    QCOMPARE(readText(ini.path()),
             QByteArray("[Diagramm]\nFingersatz=1\nBundanz1=5\n\n[Computer]\nStatuszeile=1\n"));
    QCOMPARE(ini.readInteger(QStringLiteral("Diagramm"), QStringLiteral("Bundanz1"), 4), 5);
}

void PrivateProfileTest::writeCreatesFileAndSection()
{
    QTemporaryDir dir;
    PrivateProfile ini(dir.filePath(QStringLiteral("Zupfwerk.ini")));
    QVERIFY(ini.writeInteger(QStringLiteral("Grifftab"), QStringLiteral("WindowWidth"), 135));
    QVERIFY(ini.writeBool(QStringLiteral("Computer"), QStringLiteral("Kurzhinweise"), true));
    QCOMPARE(readText(ini.path()), QByteArray("[Grifftab]\nWindowWidth=135\n[Computer]\nKurzhinweise=1\n"));
}

void PrivateProfileTest::writeReachesTheDiskAtOnce()
{
    QTemporaryDir dir;
    PrivateProfile writer(dir.filePath(QStringLiteral("Zupfwerk.ini")));
    PrivateProfile reader(writer.path());
    QCOMPARE(reader.readInteger(QStringLiteral("Diagramm"), QStringLiteral("RechteAnzeige"), 0), 0);
    QVERIFY(writer.writeInteger(QStringLiteral("Diagramm"), QStringLiteral("RechteAnzeige"), 2));
    QCOMPARE(reader.readInteger(QStringLiteral("Diagramm"), QStringLiteral("RechteAnzeige"), 0), 2);
}

void PrivateProfileTest::refusedWriteIsReportedWithTheFileName()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing-folder/Zupfwerk.ini"));
    QList<MeldungsAnfrage> reported;
    SetzeMeldungsAntwort([&reported](const MeldungsAnfrage& anfrage) {
        reported << anfrage;
        return 6;
    });
    PrivateProfile ini(path);
    QVERIFY(!ini.writeInteger(QStringLiteral("Diagramm"), QStringLiteral("Vorgabe"), 3));
    SetzeMeldungsAntwort(nullptr);
    QCOMPARE(reported.size(), 1);
    QVERIFY(reported[0].einfach);
    QVERIFY(reported[0].meldung.contains(path));
}

void PrivateProfileTest::changesByOthersAreSeen()
{
    QTemporaryDir dir;
    const QString path = writeText(dir, "[Diagramm]\nRechteAnzeige=1\n");
    PrivateProfile ini(path);
    QCOMPARE(ini.readInteger(QStringLiteral("Diagramm"), QStringLiteral("RechteAnzeige"), 0), 1);
    writeText(dir, "[Diagramm]\nRechteAnzeige=22\n");
    QCOMPARE(ini.readInteger(QStringLiteral("Diagramm"), QStringLiteral("RechteAnzeige"), 0), 22);
}

QTEST_GUILESS_MAIN(PrivateProfileTest)
#include "PrivateProfileTest.moc"
