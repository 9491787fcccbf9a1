#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "forms/GriffSpeichernForm.h"

class GriffSpeichernTest : public QObject
{
    Q_OBJECT

private slots:
    void startsAtTheGripsFretWithTheRangeOff();
    void rangeChoiceEnablesTheFretLists();
    void refillKeepsPositionsAndNeverOffersALastFretBelowTheStart_data();
    void refillKeepsPositionsAndNeverOffersALastFretBelowTheStart();
    void installedAnswerReplacesTheModalLoop();
};

void GriffSpeichernTest::startsAtTheGripsFretWithTheRangeOff()
{
    TF_GriffSpeichern dialog(5);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Griff in Grifftabelle speichern"));
    QCOMPARE(dialog.RB_Bund->text(), QStringLiteral("&Nur am ausgewählten Bund 5"));
    QVERIFY(dialog.RB_Bund->isChecked());
    QCOMPARE(dialog.TCB_VonBund->count(), 30);
    QCOMPARE(dialog.TCB_VonBund->currentText(), QStringLiteral("1"));
    QCOMPARE(dialog.TCB_BisBund->currentText(), QStringLiteral("12"));
    QVERIFY(!dialog.TCB_VonBund->isEnabled());
    QVERIFY(!dialog.L_BisBund->isEnabled());
    QVERIFY(!dialog.bereich());
}

void GriffSpeichernTest::rangeChoiceEnablesTheFretLists()
{
    TF_GriffSpeichern dialog(3);
    dialog.show();
    QTest::mouseClick(dialog.RB_BundBereich, Qt::LeftButton);
    QVERIFY(dialog.bereich());
    QVERIFY(dialog.TCB_VonBund->isEnabled());
    QVERIFY(dialog.TCB_BisBund->isEnabled());
    QVERIFY(dialog.L_VonBund->isEnabled());
    QTRY_VERIFY(dialog.TCB_VonBund->hasFocus());
    QTest::mouseClick(dialog.RB_Bund, Qt::LeftButton);
    QVERIFY(!dialog.TCB_BisBund->isEnabled());

    // Alt+T and the key typed right after it: the choice and its start list take that key at once,
    // not only when the access key's delayed click comes.
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_T, Qt::AltModifier);
    QVERIFY(dialog.bereich());
    QVERIFY(dialog.TCB_VonBund->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(dialog.TCB_VonBund->currentText(), QStringLiteral("2"));
}

void GriffSpeichernTest::refillKeepsPositionsAndNeverOffersALastFretBelowTheStart_data()
{
    QTest::addColumn<int>("fromIndex");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("toCount");
    // The end list follows the start at once and keeps the last fret it showed while that lies behind it.
    QTest::newRow("shown last fret kept") << 4 << 5 << 12 << 26;
    QTest::newRow("start behind the shown last fret") << 25 << 26 << 26 << 5;
    QTest::newRow("start at the shown last fret") << 11 << 12 << 12 << 19;
}

void GriffSpeichernTest::refillKeepsPositionsAndNeverOffersALastFretBelowTheStart()
{
    QFETCH(int, fromIndex);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, toCount);
    TF_GriffSpeichern dialog(1);
    QCOMPARE(dialog.bisBund(), 12);
    dialog.TCB_VonBund->setCurrentIndex(fromIndex);
    QCOMPARE(dialog.vonBund(), first);
    QCOMPARE(dialog.bisBund(), last);
    QCOMPARE(dialog.TCB_BisBund->count(), toCount);
    QCOMPARE(dialog.TCB_BisBund->itemText(0).toInt(), first);
    // Leaving the start list or closing the dialog changes nothing that is shown.
    dialog.TCB_VonBundExit();
    QCOMPARE(dialog.vonBund(), first);
    QCOMPARE(dialog.bisBund(), last);
}

void GriffSpeichernTest::installedAnswerReplacesTheModalLoop()
{
    const auto previous = TF_GriffSpeichern::SetzeAntwort([](TF_GriffSpeichern& dialog) {
        dialog.RB_BundBereich->setChecked(true);
        dialog.TCB_VonBund->setCurrentIndex(9);
        dialog.TCB_BisBund->setCurrentIndex(0); // left behind by the start: refilled on closing
        return static_cast<int>(QDialog::Accepted);
    });
    TF_GriffSpeichern dialog(7);
    QCOMPARE(dialog.ausfuehren(), static_cast<int>(QDialog::Accepted));
    TF_GriffSpeichern::SetzeAntwort(previous);
    QVERIFY(dialog.bereich());
    QCOMPARE(dialog.vonBund(), 10);
    QCOMPARE(dialog.bisBund(), 10);
}

QTEST_MAIN(GriffSpeichernTest)
#include "GriffSpeichernTest.moc"
