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
}

void GriffSpeichernTest::refillKeepsPositionsAndNeverOffersALastFretBelowTheStart_data()
{
    QTest::addColumn<int>("fromIndex");
    QTest::addColumn<int>("toIndex");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("toCount");
    QTest::newRow("kept positions") << 4 << 11 << 5 << 16 << 26;
    QTest::newRow("start near the end") << 25 << 11 << 26 << 30 << 5;
    QTest::newRow("same fret") << 2 << 0 << 3 << 3 << 28;
}

void GriffSpeichernTest::refillKeepsPositionsAndNeverOffersALastFretBelowTheStart()
{
    QFETCH(int, fromIndex);
    QFETCH(int, toIndex);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, toCount);
    TF_GriffSpeichern dialog(1);
    dialog.TCB_VonBund->setCurrentIndex(fromIndex);
    dialog.TCB_BisBund->setCurrentIndex(toIndex);
    dialog.TCB_VonBundExit();
    QCOMPARE(dialog.vonBund(), first);
    QCOMPARE(dialog.bisBund(), last);
    QCOMPARE(dialog.TCB_BisBund->count(), toCount);
    QCOMPARE(dialog.TCB_BisBund->itemText(0).toInt(), first);
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
