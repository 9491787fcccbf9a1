#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    Run result;
    if (!process.waitForFinished(60000))
        return result;
    result.code = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

Run exporter(const QStringList& args)
{
    return run(QStringLiteral(ZW_EXPORT_PROGRAM), QStringList{QStringLiteral(ZW_DEFAULT_TABLE)} + args);
}

QString readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void write(const QString& path, const QString& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

QStringList definedNames(const QString& text)
{
    QStringList names;
    const QRegularExpression define(QStringLiteral("^\\{define: (\\S+) "), QRegularExpression::MultilineOption);
    for (auto it = define.globalMatch(text); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

QString postScriptString(QString text)
{
    text.replace(QLatin1Char('('), QStringLiteral("\\(")).replace(QLatin1Char(')'), QStringLiteral("\\)"));
    return QLatin1Char('(') + text + QLatin1Char(')');
}

} // namespace

class ChordProCliTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("chordii")).isEmpty())
            QFAIL("chordii is missing: scripts/setup.sh installs it");
    }

    // chordii reads what is written without fingers, warns about nothing and draws a grid per chord.
    void chordiiReadsEveryExport_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("chords");
        QTest::newRow("table") << QStringList{"--chordpro", "--all", "--ohne-finger"} << 900;
        QTest::newRow("root, table names") << QStringList{"--chordpro", "--root", "H", "--ohne-finger", "--tonnamen",
                                                          "tabelle"}
                                           << 50;
        QTest::newRow("song sheet") << QStringList{"--song", "LIED", "--ohne-finger", "--transpose", "2"} << 7;
    }
    void chordiiReadsEveryExport()
    {
        QFETCH(QStringList, args);
        QFETCH(int, chords);
        QTemporaryDir dir;
        const QString lied = dir.filePath(QStringLiteral("lied.cho"));
        write(lied, QStringLiteral("{title: Lied}\n[Am]Eins [C]zwei [G/B]drei [F]vier\n[Dm7]fünf [E7]sechs "
                                   "[Hm]sieben [Xq]acht\n{define: Am base-fret 5 frets x x 3 2 1 1}\n"));
        args.replaceInStrings(QStringLiteral("LIED"), lied);
        const QString out = dir.filePath(QStringLiteral("out.chopro"));
        const Run written = exporter(args << QStringLiteral("-o") << out);
        QCOMPARE(written.code, 0);
        const QString text = readAll(out);
        const QStringList names = definedNames(text);
        QVERIFY2(names.size() >= chords, qPrintable(text.left(400)));
        QVERIFY(!text.contains(QStringLiteral("fingers")));
        // chordii draws the grids of the chords a song uses, but drops the rest once its grids run over a
        // page: one short line of lyrics uses a share of them each time.
        constexpr int perSong = 25;
        for (int first = 0; first < names.size(); first += perSong) {
            const QStringList share = names.mid(first, perSong);
            const QString song = dir.filePath(QStringLiteral("song.chopro"));
            write(song, text + QLatin1Char('[') + share.join(QStringLiteral("][")) + QStringLiteral("]x\n"));
            const Run chordii = run(QStringLiteral("chordii"), {QStringLiteral("-o"), dir.filePath("out.ps"), song});
            QCOMPARE(chordii.code, 0);
            QVERIFY2(!chordii.err.contains(QStringLiteral("WARNING")), qPrintable(chordii.err.left(400)));
            const QString ps = readAll(dir.filePath(QStringLiteral("out.ps")));
            for (const QString& name : share)
                QVERIFY2(ps.contains(postScriptString(name)), qPrintable(name));
        }
    }

    // With fingers chordii 4.5 warns; without the option they are written.
    void fingersAreWrittenByDefault()
    {
        QTemporaryDir dir;
        const Run written = exporter({"--chordpro", "--chord", "Am", "-o", dir.filePath("am.chopro")});
        QCOMPARE(written.code, 0);
        const QString text = readAll(dir.filePath("am.chopro"));
        QVERIFY2(text.contains(QStringLiteral("{define: Am base-fret 1 frets x 0 2 2 1 0 fingers 0 0 2 3 1 0}")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("{define: Am_2 ")));
        const Run json = exporter({"--chordpro", "--chord", "Am", "-o", dir.filePath("am.json")});
        QCOMPARE(json.code, 0);
        QVERIFY(readAll(dir.filePath("am.json")).contains(QStringLiteral("\"tuning\": [ \"E2\", \"A2\"")));
    }

    // chordii's own library: every definition is reported as taken over or skipped.
    void chordiiLibraryImportsWithEveryDefinitionAccountedFor()
    {
        QTemporaryDir dir;
        const Run library = run(QStringLiteral("chordii"), {QStringLiteral("-d")});
        QCOMPARE(library.code, 0);
        write(dir.filePath("lib.chopro"), library.out);
        const int definitions = library.out.count(QStringLiteral("{define"));
        QCOMPARE(definitions, 361);
        const Run imported = exporter({"--import", dir.filePath("lib.chopro"), "-o", dir.filePath("neu.cho")});
        QCOMPARE(imported.code, 0);
        const int taken = imported.out.count(QStringLiteral(" übernommen als "));
        const int skipped = imported.out.count(QStringLiteral(" übersprungen: "));
        QCOMPARE(taken + skipped, definitions);
        QVERIFY(taken > 0);
        QVERIFY2(imported.out.contains(QStringLiteral("361 Definitionen: ")), qPrintable(imported.out.right(200)));
        QVERIFY(imported.out.contains(QStringLiteral(" in der Datei klingt als ")));
        QVERIFY(QFile::exists(dir.filePath("neu.cho")));
        // The new table holds them: importing again takes nothing.
        const Run again = run(QStringLiteral(ZW_EXPORT_PROGRAM),
                              {dir.filePath("neu.cho"), "--import", dir.filePath("lib.chopro"), "-o",
                               dir.filePath("neu2.cho")});
        QCOMPARE(again.out.count(QStringLiteral(" übernommen als ")), 0);
    }

    void songSheetIsAPdfAndListsUnreadableNames_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("stimmung");
        // Names as the song writes them, bass included; the tuning as the strings are fingered.
        QTest::newRow("as written") << QStringList{} << QStringList{"Am", "C", "G/B", "D7"}
                                    << QStringLiteral("Stimmung: E-A-D-G-B-E\n");
        QTest::newRow("capo 3") << QStringList{"--capo", "3"} << QStringList{"Am", "C", "G/B", "D7"}
                                << QStringLiteral("Stimmung: E-A-D-G-B-E, Kapo 3");
        QTest::newRow("transposed by 2") << QStringList{"--transpose", "2"} << QStringList{"Bm", "D", "A/C#", "E7"}
                                         << QStringLiteral("Stimmung: E-A-D-G-B-E\n");
        QTest::newRow("transposed and capo") << QStringList{"--transpose", "2", "--capo", "2"}
                                             << QStringList{"Bm", "D", "A/C#", "E7"}
                                             << QStringLiteral("Stimmung: E-A-D-G-B-E, Kapo 2");
    }

    void songSheetIsAPdfAndListsUnreadableNames()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, names);
        QFETCH(QString, stimmung);
        QTemporaryDir dir;
        write(dir.filePath("lied.cho"), QStringLiteral("{title: Lied}\n[Am]Eins [Xq]zwei [C]drei [G/B]vier [D7]fünf\n"));
        const Run sheet =
            exporter(QStringList{"--song", dir.filePath("lied.cho"), "-o", dir.filePath("l.pdf")} + options);
        QCOMPARE(sheet.code, 0);
        QVERIFY(sheet.err.contains(QStringLiteral("\"Xq\" nicht lesbar")));
        QVERIFY(readAll(dir.filePath("l.pdf")).startsWith(QStringLiteral("%PDF")));
        const Run text = run(QStringLiteral("pdftotext"), {dir.filePath("l.pdf"), QStringLiteral("-")});
        QCOMPARE(text.code, 0);
        QVERIFY2(text.out.startsWith(QStringLiteral("Lied")), qPrintable(text.out));
        QVERIFY2(text.out.contains(stimmung), qPrintable(text.out));
        // Every box's title on a line of its own, in the song's order.
        QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.removeIf([&names](const QString& line) { return !names.contains(line.trimmed()); });
        for (QString& line : lines)
            line = line.trimmed();
        QCOMPARE(lines, names);
    }
};

QTEST_MAIN(ChordProCliTest)
#include "ChordProCliTest.moc"
