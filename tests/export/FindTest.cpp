#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "export/ExportArguments.h"
#include "export/ExportCommand.h"
#include "forms/GriffeFindenForm.h"
#include "forms/PrivateProfile.h"
#include "griffsuche/Griffsuche.h"
#include "table/AkkordDepot.h"

namespace {

struct Result
{
    int code = -1;
    QStringList lines;
    std::string err;
};

// One call of the exporter in this process, on the bundled table.
Result findGrips(const std::vector<std::string>& options, const std::string& table = ZW_DEFAULT_TABLE)
{
    std::vector<std::string> args{table};
    args.insert(args.end(), options.begin(), options.end());
    std::ostringstream out;
    std::ostringstream err;
    Result result;
    result.code = ExportCommand::run(args, out, err);
    result.lines = QString::fromStdString(out.str()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    result.err = err.str();
    return result;
}

int spanOf(const QString& line)
{
    static const QRegularExpression fret(QStringLiteral("\\((\\d+)\\)|(\\d)"));
    const QString frets = line.section(QLatin1Char(' '), 0, 0);
    int lowest = 0;
    int highest = 0;
    for (auto match = fret.globalMatch(frets); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        const int value = (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)).toInt();
        if (value == 0)
            continue;
        lowest = lowest == 0 ? value : std::min(lowest, value);
        highest = std::max(highest, value);
    }
    return lowest == 0 ? 0 : highest - lowest + 1;
}

} // namespace

class FindTest : public QObject
{
    Q_OBJECT

private slots:
    void argumentsOfFind();
    void badCalls_data();
    void badCalls();
    void linesShowFretsAndFingers();
    void spanAndFretsNarrowTheSearch();
    void sameGripsInTheSameOrderAsTheWindow();
    void unknownAndUnplayableChords();
    void theProgramPrintsTheGrips();
};

void FindTest::argumentsOfFind()
{
    const ExportArguments arguments;
    ExportAuftrag auftrag;
    std::string fehler;
    QVERIFY(arguments.parse({"t.cho", "--find", "Am7", "--span", "5", "--frets=12"}, auftrag, fehler));
    QCOMPARE(auftrag.finden, std::string("Am7"));
    QCOMPARE(auftrag.spannweite, 5);
    QCOMPARE(auftrag.buende, 12);
    QVERIFY(auftrag.ausgabe.empty());
    QVERIFY(arguments.parse({"t.cho", "--find", "C"}, auftrag, fehler));
    QCOMPARE(auftrag.spannweite, 0);
    QCOMPARE(auftrag.buende, 0);
    const std::string usage = arguments.usage();
    for (const char* option : {"--find NAME", "--span N", "--frets N"})
        QVERIFY2(usage.find(option) != std::string::npos, option);
}

void FindTest::badCalls_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("reason");
    QTest::newRow("with output") << QStringList{"t.cho", "--find", "C", "-o", "c.png"} << "ohne -o";
    QTest::newRow("with format") << QStringList{"t.cho", "--find", "C", "--format", "svg"} << "ohne -o";
    QTest::newRow("with chord") << QStringList{"t.cho", "--find", "C", "--chord", "C"} << "nur eines von";
    QTest::newRow("span alone") << QStringList{"t.cho", "--chord", "C", "-o", "c.png", "--span", "4"}
                                << "nur mit --find";
    QTest::newRow("frets alone") << QStringList{"t.cho", "--all", "-o", "c.pdf", "--frets", "12"}
                                 << "nur mit --find";
    QTest::newRow("span 6") << QStringList{"t.cho", "--find", "C", "--span", "6"}
                            << "Spannweite \"6\" ungültig: 3 bis 5 Bünde";
    QTest::newRow("span 2") << QStringList{"t.cho", "--find", "C", "--span", "2"} << "Spannweite \"2\"";
    QTest::newRow("frets 25") << QStringList{"t.cho", "--find", "C", "--frets", "25"}
                              << "Bund \"25\" ungültig: 1 bis 24";
    QTest::newRow("frets 0") << QStringList{"t.cho", "--find", "C", "--frets", "0"} << "Bund \"0\"";
    QTest::newRow("frets text") << QStringList{"t.cho", "--find", "C", "--frets", "zwölf"}
                                << "Bund \"zwölf\"";
    QTest::newRow("no name") << QStringList{"t.cho", "--find"} << "braucht einen Wert: NAME";
}

void FindTest::badCalls()
{
    QFETCH(QStringList, args);
    QFETCH(QString, reason);
    std::vector<std::string> arguments;
    for (const QString& arg : args)
        arguments.push_back(arg.toStdString());
    ExportAuftrag auftrag;
    std::string fehler;
    QVERIFY(!ExportArguments().parse(arguments, auftrag, fehler));
    QVERIFY2(QString::fromStdString(fehler).contains(reason), fehler.c_str());

    // The program says the same and exits with 1, printing no grips.
    std::ostringstream out;
    std::ostringstream err;
    QCOMPARE(ExportCommand::run(arguments, out, err), 1);
    QVERIFY(out.str().empty());
    QVERIFY(QString::fromStdString(err.str()).contains(reason));
}

void FindTest::linesShowFretsAndFingers()
{
    const Result c = findGrips({"--find", "C"});
    QCOMPARE(c.code, 0);
    QVERIFY(c.err.empty());
    QVERIFY(c.lines.size() > 100);
    QCOMPARE(c.lines.front(), QStringLiteral("x32010 -32-1-"));
    QVERIFY(c.lines.mid(0, 10).contains(QStringLiteral("x35553 -12341")));
    QVERIFY(c.lines.contains(QStringLiteral("8(10)(10)988 134211")));
    // Six strings each: a fret (two digits in parentheses) or x, a blank, and a finger or '-' per string.
    static const QRegularExpression line(QStringLiteral("^(?:[x0-9]|\\(1[0-5]\\)){6} [-1-4]{6}$"));
    for (const QString& l : c.lines)
        QVERIFY2(line.match(l).hasMatch(), qPrintable(l));

    const Result am = findGrips({"--find", "Am"});
    QCOMPARE(am.code, 0);
    QVERIFY(am.lines.mid(0, 10).contains(QStringLiteral("x02210 --231-")));
    const Result g = findGrips({"--find", "G"});
    QVERIFY(g.lines.mid(0, 10).contains(QStringLiteral("320003 21---3")));
    const Result gm = findGrips({"--find", "Gm"});
    QVERIFY(gm.lines.contains(QStringLiteral("x(10)(12)(12)(11)x -1342-")));
}

void FindTest::spanAndFretsNarrowTheSearch()
{
    const Result normal = findGrips({"--find", "C7"});
    const Result narrow = findGrips({"--find", "C7", "--span", "3"});
    const Result wide = findGrips({"--find", "C7", "--span", "5"});
    QCOMPARE(narrow.code, 0);
    QVERIFY(narrow.lines.size() < normal.lines.size());
    QVERIFY(wide.lines.size() > normal.lines.size());
    for (const QString& l : narrow.lines)
        QVERIFY2(spanOf(l) <= 3, qPrintable(l));
    int widest = 0;
    for (const QString& l : wide.lines)
        widest = std::max(widest, spanOf(l));
    QCOMPARE(widest, 5);

    const Result low = findGrips({"--find", "C", "--frets", "5"});
    for (const QString& l : low.lines)
        QVERIFY2(!l.contains(QLatin1Char('(')) &&
                     !l.contains(QRegularExpression(QStringLiteral("^[^ ]*[6-9]"))),
                 qPrintable(l));
    const Result high = findGrips({"--find", "C", "--frets", "24"});
    QVERIFY(high.lines.contains(QStringLiteral("(20)(22)(22)(21)(20)(20) 134211")));
}

void FindTest::sameGripsInTheSameOrderAsTheWindow()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile ini(folder.filePath(QStringLiteral("Zupfwerk.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Griffsuche]\r\nSpannweite=5\r\nBund=12\r\n");
    ini.close();
    PrivateProfile settings(ini.fileName());
    auto table = std::make_unique<AkkordDepotClass>();
    QCOMPARE(table->Laden(ZW_DEFAULT_TABLE), int(LadenOk));
    int m7 = -1;
    for (int t = 0; t < table->TypAnzahl(); ++t)
        m7 = std::string(table->TypName(t)) == "m7" ? t : m7;
    QVERIFY(m7 >= 0);

    TF_GriffeFinden window(*table, settings, 9, m7, nullptr, nullptr);
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(window.Gefuellt(), 20000);
    const Result am7 = findGrips({"--find", "Am7", "--span", "5", "--frets", "12"});
    QCOMPARE(am7.code, 0);
    QCOMPARE(am7.lines.size(), window.Zeilen());
    for (int row = 0; row < window.Zeilen(); ++row)
        QCOMPARE(am7.lines[row], QString::fromStdString(window.GriffInZeile(row).Zeile()));
}

void FindTest::unknownAndUnplayableChords()
{
    const Result unknown = findGrips({"--find", "Cxyz"});
    QCOMPARE(unknown.code, 3);
    QVERIFY(unknown.lines.isEmpty());
    QVERIFY(QString::fromStdString(unknown.err).contains(QStringLiteral("Akkord \"Cxyz\" unbekannt")));

    const Result missing = findGrips({"--find", "C"}, "/nonexistent/table.cho");
    QCOMPARE(missing.code, 2);
    QVERIFY(missing.lines.isEmpty());

    // A two-string instrument cannot sound the three notes a major seventh chord requires.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    auto duo = std::make_unique<AkkordDepotClass>();
    QCOMPARE(duo->Laden(ZW_DEFAULT_TABLE), int(LadenOk));
    while (duo->SaitenAnzahl() > 2)
        duo->SaiteEntfernen(0);
    const std::string path = folder.filePath(QStringLiteral("duo.cho")).toStdString();
    QVERIFY(duo->Speichern(path));
    const Result none = findGrips({"--find", "Cmaj7"}, path);
    QCOMPARE(none.code, 4);
    QVERIFY(none.lines.isEmpty());
    QVERIFY2(QString::fromStdString(none.err).contains(
                 QStringLiteral("keine spielbaren Griffe für den Akkord \"Cmaj7\"")),
             none.err.c_str());
    const Result fifth = findGrips({"--find", "E5"}, path);
    QCOMPARE(fifth.code, 0);
    QVERIFY(fifth.lines.contains(QStringLiteral("00 --")));
}

void FindTest::theProgramPrintsTheGrips()
{
    QProcess process;
    process.start(QStringLiteral(ZW_EXPORT_PROGRAM),
                  {QStringLiteral(ZW_DEFAULT_TABLE), QStringLiteral("--find"), QStringLiteral("Am"),
                   QStringLiteral("--span"), QStringLiteral("3")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines, findGrips({"--find", "Am", "--span", "3"}).lines);
    QCOMPARE(lines.front(), QStringLiteral("x02210 --231-"));
    // Qt may note its runtime folder on standard error; the exporter itself has nothing to say.
    QVERIFY(!process.readAllStandardError().contains("zupfwerk-export:"));
}

QTEST_MAIN(FindTest)
#include "FindTest.moc"
