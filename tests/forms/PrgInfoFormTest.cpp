#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

#include "forms/Cp1252Eingabe.h"
#include "forms/PrgInfoForm.h"
#include "table/AkkordDepot.h"

namespace {

std::unique_ptr<AkkordDepotClass> tableWithGrips(int count)
{
    auto doc = std::make_unique<AkkordDepotClass>();
    for (int fret = 1; fret <= count; ++fret) {
        doc->Loeschen();
        doc->FingerSetzen(fret, 1, 1);
        doc->GriffAufnehmen();
    }
    return doc;
}

} // namespace

class PrgInfoFormTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheTablesGripCountTuningAndInfo();
    void instrumentFallsBackToGitarre_data();
    void instrumentFallsBackToGitarre();
    void groupTitleQuotesTheTableName_data();
    void groupTitleQuotesTheTableName();
    void programPageShowsNameAndVersion();
    void editsAreReadOnlyAndStartUnmodified();
    void hintsFollowTheMainWindow_data();
    void hintsFollowTheMainWindow();
    void okClosesWithAccepted();
};

void PrgInfoFormTest::showsTheTablesGripCountTuningAndInfo()
{
    auto doc = tableWithGrips(3);
    QCOMPARE(doc->Anzahl(), 3);
    doc->SetzeText(1, "Offene Stimmung\r\nf\xFCr Slide");
    doc->TonUmbenennen(11, "B", true);
    TF_PrgInfo dialog(nullptr, *doc, QStringLiteral("Gitarre"), true);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Info"));
    QCOMPARE(dialog.L_AkkordanzTxt->text(), QStringLiteral("Gespeicherte Griffe: "));
    QCOMPARE(dialog.L_Akkordanz->text(), QStringLiteral("3"));
    QCOMPARE(dialog.E_Stimmung->text(), QStringLiteral("E-A-D-G-B-E"));
    QVERIFY(dialog.M_Grifftabelle->toPlainText().startsWith(QStringLiteral("Offene Stimmung")));
    QVERIFY(dialog.M_Grifftabelle->toPlainText().endsWith(QStringLiteral("für Slide")));
    QCOMPARE(dialog.L_Instrument->text(), QStringLiteral("&Bezeichnung"));
    QCOMPARE(dialog.L_Instrument->buddy(), dialog.E_Instrument);
    QCOMPARE(dialog.L_Grifftabelle->text(), QStringLiteral("&Info zur geladenen Grifftabelle"));
    QCOMPARE(dialog.L_Grifftabelle->buddy(), dialog.M_Grifftabelle);
    QCOMPARE(dialog.GB_Instrument->title(), QStringLiteral("Instrument"));
    QCOMPARE(dialog.PC_Info->tabText(0), QStringLiteral("Grifftabelle"));
    QCOMPARE(dialog.PC_Info->tabText(1), QStringLiteral("Programm"));
    dialog.show();
    QVERIFY2(dialog.minimumSize() == dialog.maximumSize(), "the dialog keeps a fixed size");
}

void PrgInfoFormTest::instrumentFallsBackToGitarre_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("Gitarre");
    QTest::newRow("named") << QByteArray("Laute f\xFCr Anf\xE4nger") << QStringLiteral("Laute für Anfänger");
}

void PrgInfoFormTest::instrumentFallsBackToGitarre()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    auto doc = std::make_unique<AkkordDepotClass>();
    doc->SetzeText(0, stored.toStdString());
    TF_PrgInfo dialog(nullptr, *doc, QStringLiteral("(unbenannt)"), false);
    QCOMPARE(dialog.E_Instrument->text(), shown);
    QCOMPARE(dialog.instrument(), shown);
}

void PrgInfoFormTest::groupTitleQuotesTheTableName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("file") << QStringLiteral("Gitarre, E-A-D-G-H-E");
    QTest::newRow("new table") << QStringLiteral("(unbenannt)");
}

void PrgInfoFormTest::groupTitleQuotesTheTableName()
{
    QFETCH(QString, name);
    auto doc = std::make_unique<AkkordDepotClass>();
    TF_PrgInfo dialog(nullptr, *doc, name, false);
    QCOMPARE(dialog.GB_Infotext->title(), QLatin1Char('\'') + name + QLatin1Char('\''));
}

void PrgInfoFormTest::programPageShowsNameAndVersion()
{
    auto doc = std::make_unique<AkkordDepotClass>();
    TF_PrgInfo dialog(nullptr, *doc, QStringLiteral("Gitarre"), false);
    QCOMPARE(dialog.L_ProgName1->text(), QStringLiteral("Z"));
    QCOMPARE(dialog.L_ProgName2->text(), QStringLiteral("upfwerk"));
    QCOMPARE(dialog.L_ProgName2Schatten->text(), QStringLiteral("upfwerk"));
    QCOMPARE(dialog.L_ProgrammversionTxt->text(), QStringLiteral("Version"));
    QCOMPARE(dialog.L_Programmversion->text(), QStringLiteral("1.4"));
    for (const QLabel* name : {dialog.L_ProgName1, dialog.L_ProgName2, dialog.L_ProgName2Schatten}) {
        QCOMPARE(name->font().family(), QStringLiteral("Courier New"));
        QVERIFY(name->font().bold());
    }
    QVERIFY2(dialog.L_ProgName1->font().pixelSize() > dialog.L_ProgName2->font().pixelSize(),
             "the first letter stands out");
    QCOMPARE(dialog.L_ProgName1->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(dialog.L_ProgName2->palette().color(QPalette::WindowText), QColor(Qt::black));
    QVERIFY(!dialog.I_PrgIcon->pixmap().isNull());
    dialog.show();
    dialog.PC_Info->setCurrentWidget(dialog.TS_Programm);
    QVERIFY(dialog.L_ProgName1->isVisible());
    QVERIFY(dialog.L_ProgName2->isVisible());
    QVERIFY(!dialog.L_ProgName2Schatten->isVisible());
}

void PrgInfoFormTest::editsAreReadOnlyAndStartUnmodified()
{
    auto doc = std::make_unique<AkkordDepotClass>();
    doc->SetzeText(0, "Ukulele");
    TF_PrgInfo dialog(nullptr, *doc, QStringLiteral("Ukulele"), false);
    QCOMPARE(dialog.E_Instrument->isReadOnly(), doc->InstrumentNurLesen());
    QCOMPARE(dialog.M_Grifftabelle->isReadOnly(), doc->InfoNurLesen());
    QVERIFY(dialog.E_Stimmung->isReadOnly());
    QVERIFY(!dialog.instrumentGeaendert());
    QVERIFY(!dialog.infoGeaendert());
    QVERIFY2(qobject_cast<const Cp1252Eingabe*>(dialog.E_Instrument->validator()),
             "the instrument takes only Windows-1252 text");

    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClicks(dialog.E_Instrument, QStringLiteral("x"));
    QTest::keyClicks(dialog.M_Grifftabelle, QStringLiteral("y"));
    QCOMPARE(dialog.instrument(), QStringLiteral("Ukulele"));
    QVERIFY(dialog.info().isEmpty());
    QVERIFY(!dialog.instrumentGeaendert());
    QVERIFY(!dialog.infoGeaendert());
}

void PrgInfoFormTest::hintsFollowTheMainWindow_data()
{
    QTest::addColumn<bool>("shown");
    QTest::newRow("hints on") << true;
    QTest::newRow("hints off") << false;
}

void PrgInfoFormTest::hintsFollowTheMainWindow()
{
    QFETCH(bool, shown);
    auto doc = std::make_unique<AkkordDepotClass>();
    TF_PrgInfo dialog(nullptr, *doc, QStringLiteral("Gitarre"), shown);
    const QList<QPair<QWidget*, QString>> hints = {
        {dialog.PC_Info, QStringLiteral("Infos")},
        {dialog.E_Instrument, QStringLiteral("Instrumentenbezeichnung")},
        {dialog.E_Stimmung, QStringLiteral("Die Stimmung der Klampfe")},
        {dialog.GB_Infotext, QStringLiteral("Zurück zum Hauptprogramm")},
        {dialog.L_Akkordanz, QStringLiteral("Anzahl der gespeicherten Griffe")},
        {dialog.L_AkkordanzTxt, QStringLiteral("Anzahl der gespeicherten Griffe")},
        {dialog.M_Grifftabelle, QStringLiteral("Info über die geladene Grifftabelle")},
        {dialog.BB_Exitbutton, QStringLiteral("Zurück zum Programm")},
    };
    for (const auto& [widget, hint] : hints) {
        QCOMPARE(widget->statusTip(), hint);
        QCOMPARE(widget->toolTip(), shown ? hint : QString());
    }
    QCOMPARE(dialog.PC_Info->tabToolTip(0), shown ? QStringLiteral("Info über die Grifftabelle") : QString());
    QCOMPARE(dialog.PC_Info->tabToolTip(1), shown ? QStringLiteral("Programminfo") : QString());
}

void PrgInfoFormTest::okClosesWithAccepted()
{
    auto doc = std::make_unique<AkkordDepotClass>();
    TF_PrgInfo dialog(nullptr, *doc, QStringLiteral("Gitarre"), false);
    QCOMPARE(dialog.BB_Exitbutton->text(), QStringLiteral("&Ok"));
    QVERIFY(dialog.BB_Exitbutton->isDefault());
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::mouseClick(dialog.BB_Exitbutton, Qt::LeftButton); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
}

QTEST_MAIN(PrgInfoFormTest)
#include "PrgInfoFormTest.moc"
