#include <functional>

#include <QImage>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

#include "forms/Statusleiste.h"

namespace {

int countPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& wanted)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += wanted(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool isYellow(QColor c)
{
    return c.red() > 200 && c.green() > 160 && c.blue() < 100;
}

bool isNotWhite(QColor c)
{
    return c.red() < 245 || c.green() < 245 || c.blue() < 245;
}

bool isDark(QColor c)
{
    return qGray(c.rgb()) < 110;
}

// Inside the bevel, where only the panel's text or picture paints.
QRect interior(const QRect& panel)
{
    return panel.adjusted(2, 2, -2, -2);
}

} // namespace

class StatusleisteTest : public QObject
{
    Q_OBJECT

private slots:
    void isNineteenPixelsHighAtTheBottomOfItsWindow();
    void panelsHaveTheirWidthsLeftToRight_data();
    void panelsHaveTheirWidthsLeftToRight();
    void warningPanelShowsTheTriangleOnlyWhenOn();
    void textsLandInTheirOwnPanels_data();
    void textsLandInTheirOwnPanels();
};

void StatusleisteTest::isNineteenPixelsHighAtTheBottomOfItsWindow()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new QWidget(&window), 1);
    auto* bar = new Statusleiste(&window);
    layout->addWidget(bar);
    window.resize(273, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(bar->geometry(), QRect(0, 281, 273, 19));
}

void StatusleisteTest::panelsHaveTheirWidthsLeftToRight_data()
{
    QTest::addColumn<bool>("warning");
    QTest::addColumn<int>("barWidth");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<int>>("lefts");
    QTest::newRow("warning off") << false << 300 << QList<int>{65, 35, 0, 200} << QList<int>{0, 65, 100, 100};
    QTest::newRow("warning on") << true << 300 << QList<int>{65, 35, 22, 178} << QList<int>{0, 65, 100, 122};
    QTest::newRow("bar narrower than the fixed panels")
        << true << 110 << QList<int>{65, 35, 22, 0} << QList<int>{0, 65, 100, 122};
}

void StatusleisteTest::panelsHaveTheirWidthsLeftToRight()
{
    QFETCH(bool, warning);
    QFETCH(int, barWidth);
    QFETCH(QList<int>, widths);
    QFETCH(QList<int>, lefts);
    Statusleiste bar;
    bar.resize(barWidth, 19);
    bar.setWarningShown(warning);
    QCOMPARE(bar.warningShown(), warning);
    for (int panel = 0; panel < Statusleiste::PanelCount; ++panel) {
        QCOMPARE(bar.panelWidth(panel), widths[panel]);
        QCOMPARE(bar.panelRect(panel), QRect(lefts[panel], 0, widths[panel], 19));
    }
}

void StatusleisteTest::warningPanelShowsTheTriangleOnlyWhenOn()
{
    Statusleiste bar;
    bar.resize(300, 19);
    bar.setWarningShown(true);
    const QImage shown = bar.grab().toImage();
    const QRect panel = bar.panelRect(2);
    QVERIFY2(countPixels(shown, panel, isYellow) > 20, "the warning triangle is drawn in panel 2");
    QVERIFY(countPixels(shown, panel, isNotWhite) > 0);

    bar.setWarningShown(false);
    QCOMPARE(bar.panelWidth(2), 0);
    const QImage hidden = bar.grab().toImage();
    QCOMPARE(countPixels(hidden, hidden.rect(), isYellow), 0);
}

void StatusleisteTest::textsLandInTheirOwnPanels_data()
{
    QTest::addColumn<int>("panel");
    QTest::newRow("chord") << 0;
    QTest::newRow("position") << 1;
    QTest::newRow("message") << 3;
}

void StatusleisteTest::textsLandInTheirOwnPanels()
{
    QFETCH(int, panel);
    const QString text = QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    Statusleiste bar;
    bar.resize(300, 19);
    if (panel == 3)
        bar.setMessage(text);
    else
        bar.setPanelText(panel, text);
    QCOMPARE(bar.panelText(panel), text);

    const QImage picture = bar.grab().toImage();
    for (int other = 0; other < Statusleiste::PanelCount; ++other) {
        const int ink = countPixels(picture, interior(bar.panelRect(other)), isDark);
        if (other == panel)
            QVERIFY2(ink > 10, qPrintable(QStringLiteral("text shows in panel %1").arg(other)));
        else
            QVERIFY2(ink == 0, qPrintable(QStringLiteral("panel %1 stays empty").arg(other)));
    }
}

QTEST_MAIN(StatusleisteTest)
#include "StatusleisteTest.moc"
