#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "export/ChordNameParser.h"
#include "export/ExportCommand.h"
#include "klang/Griffklang.h"
#include "render/DiagramExport.h"
#include "table/AkkordDepot.h"

namespace {

struct Result
{
    int code = -1;
    std::string out;
    std::string err;
};

Result exportRun(const std::vector<std::string>& options)
{
    std::vector<std::string> args{ZW_DEFAULT_TABLE};
    args.insert(args.end(), options.begin(), options.end());
    std::ostringstream out;
    std::ostringstream err;
    Result result;
    result.code = ExportCommand::run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The samples of the chord's first stored grip, as the window would play them.
QByteArray soundOf(const char* chord, bool zerlegt)
{
    const auto tabelle = std::make_unique<AkkordDepotClass>();
    if (tabelle->Laden(ZW_DEFAULT_TABLE) != LadenOk)
        return QByteArray();
    const ChordNameParser names(*tabelle);
    int grundton = -1;
    int typ = -1;
    if (!names.parse(chord, grundton, typ))
        return QByteArray();
    const DiagramExport exporter(*tabelle);
    const std::vector<int> griffe = exporter.select(grundton, typ);
    if (griffe.empty())
        return QByteArray();
    AkkordClass griff;
    TrefferClass akkord;
    exporter.storedGrip(griffe.front(), griff, akkord);
    GriffklangClass klang;
    const int count = zerlegt ? klang.Zerlegen(griff) : klang.Anschlagen(griff);
    return QByteArray(reinterpret_cast<const char*>(klang.Samples()), count * 2);
}

} // namespace

class ExportWavTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.isValid()); }

    void wavWritesTheStrumAndZerlegtTheArpeggio_data();
    void wavWritesTheStrumAndZerlegtTheArpeggio();
    void theProgramItselfWritesTheArpeggio();
    void badSoundRequestsWriteNothing_data();
    void badSoundRequestsWriteNothing();
    void helpNamesTheSoundOptions();

private:
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

void ExportWavTest::wavWritesTheStrumAndZerlegtTheArpeggio_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("zerlegt");
    QTest::addColumn<QString>("summary");
    QTest::newRow("--wav") << QStringList{"--chord", "C", "--wav"} << false << "C, angeschlagen, 4.1 s";
    QTest::newRow("--wav --zerlegt") << QStringList{"--zerlegt", "--chord", "Am", "--wav"} << true
                                     << "Am, zerlegt, 5 s";
    QTest::newRow("a .wav output alone")
        << QStringList{"--chord", "G"} << false << "G, angeschlagen, 4.125 s";
}

void ExportWavTest::wavWritesTheStrumAndZerlegtTheArpeggio()
{
    QFETCH(QStringList, options);
    QFETCH(bool, zerlegt);
    QFETCH(QString, summary);
    const QString path = file("klang.wav");
    QFile::remove(path);
    std::vector<std::string> args;
    for (const QString& option : options)
        args.push_back(option.toStdString());
    args.insert(args.end(), {"-o", path.toStdString()});
    const Result result = exportRun(args);
    QCOMPARE(result.code, int(ExportOk));
    QVERIFY2(result.err.empty(), result.err.c_str());
    QCOMPARE(QString::fromStdString(result.out), path + QStringLiteral(": ") + summary + QLatin1Char('\n'));

    const QByteArray bytes = readBytes(path);
    const QByteArray expected = soundOf(
        options.value(options.indexOf(QStringLiteral("--chord")) + 1).toLatin1().constData(), zerlegt);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(bytes.size(), 44 + expected.size());
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
    quint32 rate = 0;
    std::memcpy(&rate, bytes.constData() + 24, 4);
    QCOMPARE(rate, quint32(48000));
    QVERIFY2(bytes.mid(44) == expected, zerlegt ? "the arpeggio" : "the strum");
}

void ExportWavTest::theProgramItselfWritesTheArpeggio()
{
    const QString path = file("Em zerlegt.wav");
    QProcess process;
    process.start(QStringLiteral(ZW_EXPORT_PROGRAM),
                  {QStringLiteral(ZW_DEFAULT_TABLE), "--chord", "Em", "--wav", "--zerlegt", "-o", path});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QByteArray bytes = readBytes(path);
    const QByteArray expected = soundOf("Em", true);
    QCOMPARE(bytes.size(), 44 + expected.size());
    QVERIFY(bytes.mid(44) == expected);
}

void ExportWavTest::badSoundRequestsWriteNothing_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("--zerlegt without --wav") << QStringList{"--chord", "C", "--zerlegt", "-o", "klang.png"}
                                             << int(ExportAufrufFalsch) << "--zerlegt gibt es nur mit --wav";
    QTest::newRow("--wav of a whole table")
        << QStringList{"--all", "--wav", "-o", "klang.wav"} << int(ExportAufrufFalsch) << "nur mit --chord";
    QTest::newRow("--wav with another format")
        << QStringList{"--chord", "C", "--wav", "--format", "png", "-o", "klang.wav"}
        << int(ExportAufrufFalsch) << "--format png";
    QTest::newRow("unknown chord") << QStringList{"--chord", "Cxyz", "--wav", "-o", "klang.wav"}
                                   << int(ExportAkkordUnbekannt) << "unbekannt";
    QTest::newRow("missing folder") << QStringList{"--chord", "C", "--wav", "-o", "fehlt/klang.wav"}
                                    << int(ExportNichtSchreibbar) << "kann nicht geschrieben werden";
}

void ExportWavTest::badSoundRequestsWriteNothing()
{
    QFETCH(QStringList, options);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFile::remove(file("klang.wav"));
    std::vector<std::string> args;
    for (const QString& option : options)
        args.push_back(option == QStringLiteral("klang.wav") || option.startsWith(QStringLiteral("fehlt/")) ||
                               option == QStringLiteral("klang.png")
                           ? dir.filePath(option).toStdString()
                           : option.toStdString());
    const Result result = exportRun(args);
    QCOMPARE(result.code, code);
    QVERIFY2(QString::fromStdString(result.err).contains(message), result.err.c_str());
    QVERIFY(result.out.empty());
    QVERIFY(!QFileInfo::exists(file("klang.wav")));
    QVERIFY(!QFileInfo::exists(file("klang.png")));
    QVERIFY(!QFileInfo::exists(file("fehlt")));
}

void ExportWavTest::helpNamesTheSoundOptions()
{
    const Result result = exportRun({"--help"});
    QCOMPARE(result.code, int(ExportOk));
    QVERIFY(result.out.find("--wav") != std::string::npos);
    QVERIFY(result.out.find("--zerlegt") != std::string::npos);
    QVERIFY(result.out.find("--chord NAME --wav [--zerlegt] -o DATEI.wav") != std::string::npos);
}

QTEST_MAIN(ExportWavTest)
#include "ExportWavTest.moc"
