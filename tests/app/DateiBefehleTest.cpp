#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <memory>

#include "app/MainForm.h"
#include "forms/DateiDialog.h"
#include "forms/ModelText.h"
#include "forms/Statusleiste.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Runs on the dialog the command opens: removes `remove` strings, names the instrument, accepts.
void answerNewTable(int remove, const QString& instrument, bool keepCatalogue)
{
    QTimer::singleShot(0, [=] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        for (int i = 0; i < remove; ++i)
            dialog->findChild<QAction*>(QStringLiteral("PMI_SaiteEntfernen"))->trigger();
        dialog->findChild<QLineEdit*>(QStringLiteral("E_Instrument"))->setText(instrument);
        dialog->findChild<QPlainTextEdit*>(QStringLiteral("M_Info"))
            ->setPlainText(QStringLiteral("Für die Probe"));
        auto* keep = dialog->findChild<QAbstractButton*>(QStringLiteral("CB_ErkennungBehalten"));
        keep->setChecked(keepCatalogue);
        dialog->findChild<QPushButton*>(QStringLiteral("BB_Ok"))->click();
    });
}

} // namespace

class DateiBefehleTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingAnUnmodifiedTableAsksNothing();
    void noDiscardsAndCancelStopsTheOpen();
    void conversionAcceptedAndDeclined();
    void damagedFileLeavesTheOpenTableAlone();
    void saveOnANewTableRunsSaveAs();
    void saveAsAppendsTheExtension();
    void newTableAsksAndCanBeCancelled();
    void newTablesRoundTripByteForByte_data();
    void newTablesRoundTripByteForByte();

private:
    QAction* item(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }

    std::unique_ptr<TestFenster> f;
    TF_Main* window = nullptr;
    QStringList dialogAnswers;
    int dialogsShown = 0;
};

void DateiBefehleTest::init()
{
    f = std::make_unique<TestFenster>();
    dialogAnswers.clear();
    dialogsShown = 0;
    SetzeDateiDialogAntwort([this](const DateiDialogAnfrage&) {
        ++dialogsShown;
        return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
    });
    window = &f->start();
}

void DateiBefehleTest::cleanup()
{
    SetzeDateiDialogAntwort(nullptr);
    f.reset();
}

void DateiBefehleTest::openingAnUnmodifiedTableAsksNothing()
{
    QFile::copy(f->file(defaultTableName), f->file(QStringLiteral("Zweite.cho")));
    dialogAnswers << f->file(QStringLiteral("Zweite"));
    item("MI_Laden")->trigger();
    QVERIFY(f->asked.isEmpty());
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Zweite"));
    QCOMPARE(window->dateiName(), f->file(QStringLiteral("Zweite.cho")));
    QVERIFY(f->iniText().contains(QStringLiteral("LetzteDatei=") + f->file(QStringLiteral("Zweite.cho"))));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Zupfwerk 1.4"));
}

void DateiBefehleTest::noDiscardsAndCancelStopsTheOpen()
{
    QFile::copy(f->file(defaultTableName), f->file(QStringLiteral("Zweite.cho")));
    window->dokument().SetzeText(1, "geändert");
    f->answers << 2;
    dialogAnswers << f->file(QStringLiteral("Zweite.cho"));
    item("MI_Laden")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(f->asked[0].titel, QStringLiteral("Übernehmen"));
    QCOMPARE(dialogsShown, 0);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Gitarre, E-A-D-G-H-E"));

    f->answers << 7;
    item("MI_Laden")->trigger();
    QCOMPARE(dialogsShown, 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Zweite"));
    QVERIFY(!window->dokument().IstGeaendert());
    QVERIFY2(fileBytes(f->file(defaultTableName)) == fileBytes(f->file(QStringLiteral("Zweite.cho"))),
             "nothing was saved");
}

void DateiBefehleTest::conversionAcceptedAndDeclined()
{
    // A version-01 copy of an empty table: no types, no grips, six strings.
    QByteArray old("ZW01\0", 5);
    const std::int32_t zero = 0;
    const std::int32_t six = 6;
    old.append(reinterpret_cast<const char*>(&zero), 4).append(reinterpret_cast<const char*>(&zero), 4);
    old.append(reinterpret_cast<const char*>(&zero), 4);
    const AkkordDepotClass& doc = window->dokument();
    old.append(reinterpret_cast<const char*>(doc.NamenTabelle()), 221);
    old.append(reinterpret_cast<const char*>(&six), 4);
    for (int s = 1; s <= 6; ++s) {
        StimmSaiteClass string;
        doc.SaiteLesen(s, &string);
        old.append(reinterpret_cast<const char*>(&string), 8);
    }
    const QString path = f->file(QStringLiteral("Alt.cho"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(old);
    file.close();

    f->answers << 7 << 6;
    dialogAnswers << path;
    item("MI_Laden")->trigger();
    QCOMPARE(f->asked.size(), 2);
    QCOMPARE(f->asked[0].meldung, QStringLiteral("Die Grifftabelle 'Alt' muß konvertiert werden! "));
    QCOMPARE(f->asked[0].titel, QStringLiteral("Konvertieren?"));
    QCOMPARE(f->asked[1].meldung, QStringLiteral("Akkordeinstellungen konnten nicht geladen werden! "));
    QCOMPARE(f->asked[1].knopfsatz, 3);
    QCOMPARE(fileBytes(path), old);

    f->asked.clear();
    f->answers << 6;
    dialogAnswers << path;
    item("MI_Laden")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(fileBytes(path).size(), old.size() + 12);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Alt"));
    QCOMPARE(window->dokument().Anzahl(), 0);
}

void DateiBefehleTest::damagedFileLeavesTheOpenTableAlone()
{
    QByteArray bytes = fileBytes(f->file(defaultTableName));
    bytes[bytes.size() - 1] = static_cast<char>(bytes[bytes.size() - 1] ^ 0x10);
    const QString path = f->file(QStringLiteral("Kaputt.cho"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    const int types = window->dokument().TypAnzahl();
    const int grips = window->dokument().Anzahl();

    dialogAnswers << path;
    f->answers << 6 << 7; // "&Schade", then no rescue
    item("MI_Laden")->trigger();
    QCOMPARE(f->asked.size(), 2);
    QCOMPARE(f->asked[0].meldung, QStringLiteral("Die Grifftabelle 'Kaputt' ist zerstört!"));
    QCOMPARE(f->asked[0].titel, QStringLiteral("Abbruch"));
    QCOMPARE(f->asked[0].symbol, 1);
    QCOMPARE(window->dokument().Anzahl(), grips);
    QCOMPARE(window->dokument().TypAnzahl(), types);
    QVERIFY(!window->dokument().IstGeaendert());
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Gitarre, E-A-D-G-H-E"));
    QCOMPARE(window->zeichner().Saitenanzahl(), 6);
}

void DateiBefehleTest::saveOnANewTableRunsSaveAs()
{
    answerNewTable(0, QStringLiteral("Gitarre"), true);
    item("MI_Neu")->trigger();
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - (unbenannt)"));
    item("MI_Speichern")->trigger();
    QCOMPARE(dialogsShown, 1);
    QVERIFY2(window->statusleiste()->panelText(3) == QString(), "cancelled: nothing saved, no status text");
    QVERIFY(window->dokument().IstGeaendert());
}

void DateiBefehleTest::saveAsAppendsTheExtension()
{
    dialogAnswers << f->file(QStringLiteral("Test"));
    item("MI_SpeichernAls")->trigger();
    QVERIFY(QFile::exists(f->file(QStringLiteral("Test.cho"))));
    QCOMPARE(window->dateiName(), f->file(QStringLiteral("Test.cho")));
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Test"));
    QVERIFY(f->iniText().contains(QStringLiteral("LetzteDatei=") + f->file(QStringLiteral("Test.cho"))));
    QCOMPARE(window->statusleiste()->panelText(3), QStringLiteral("Die Grifftabelle wurde gespeichert"));
    QVERIFY(!window->dokument().IstGeaendert());
}

void DateiBefehleTest::newTableAsksAndCanBeCancelled()
{
    window->dokument().SetzeText(1, "geändert");
    f->answers << 2;
    item("MI_Neu")->trigger();
    QCOMPARE(f->asked.size(), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - Gitarre, E-A-D-G-H-E"));

    // Without keeping the recognition, the new table starts with an empty catalogue.
    f->answers << 7;
    answerNewTable(0, QString(), false);
    item("MI_Neu")->trigger();
    QCOMPARE(window->dokument().TypAnzahl(), 0);
    QCOMPARE(window->dokument().Anzahl(), 0);
    QCOMPARE(window->windowTitle(), QStringLiteral("Zupfwerk - (unbenannt)"));
    QVERIFY(window->dokument().IstGeaendert());
}

void DateiBefehleTest::newTablesRoundTripByteForByte_data()
{
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("tuning");
    QTest::newRow("six strings") << 0 << QStringLiteral("E-A-D-G-H-E");
    QTest::newRow("four strings") << 2 << QStringLiteral("E-A-D-G");
}

void DateiBefehleTest::newTablesRoundTripByteForByte()
{
    QFETCH(int, removed);
    QFETCH(QString, tuning);
    answerNewTable(removed, QStringLiteral("Laute für Anfänger"), true);
    item("MI_Neu")->trigger();
    AkkordDepotClass& doc = window->dokument();
    QCOMPARE(doc.SaitenAnzahl(), 6 - removed);
    QCOMPARE(window->zeichner().Saitenanzahl(), 6 - removed);
    QCOMPARE(modelToQt(doc.AlsText()), tuning);
    QCOMPARE(modelToQt(doc.Text(0)), QStringLiteral("Laute für Anfänger"));
    QVERIFY(doc.TypAnzahl() > 0);

    const QString path = f->file(QStringLiteral("Neu.cho"));
    dialogAnswers << path;
    item("MI_Speichern")->trigger();
    const QByteArray saved = fileBytes(path);
    QVERIFY(!saved.isEmpty());

    dialogAnswers << path;
    item("MI_Laden")->trigger();
    QVERIFY(f->asked.isEmpty());
    QCOMPARE(modelToQt(doc.Text(0)), QStringLiteral("Laute für Anfänger"));
    QCOMPARE(modelToQt(doc.Text(1)), QStringLiteral("Für die Probe"));
    const QString again = f->file(QStringLiteral("Wieder.cho"));
    dialogAnswers << again;
    item("MI_SpeichernAls")->trigger();
    QCOMPARE(fileBytes(again), saved);
}

QTEST_MAIN(DateiBefehleTest)
#include "DateiBefehleTest.moc"
