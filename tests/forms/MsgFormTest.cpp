#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "forms/MeldungZeigen.h"
#include "forms/MsgForm.h"
#include "forms/MsgSymbole.h"
#include "theory/Meldung.h"

namespace {

QPushButton* button(const QWidget& box, const QString& name)
{
    return box.findChild<QPushButton*>(name);
}

QFont messageFont()
{
    const TF_Msg probe(nullptr, 0, QString(), QString(), 2, QString());
    return probe.findChild<QLabel*>(QStringLiteral("L_Msgtxt"))->font();
}

int measure(const QFont& font, const QString& text)
{
    return QFontMetrics(font).size(0, text).width();
}

// A single line measuring exactly width pixels in font; glyph advances are fractional, so the tail is
// searched. Empty when no tail of up to three glyphs hits it.
QString textOfWidth(const QFont& font, int width)
{
    const QString glyphs = QStringLiteral("MWmwHKabcdefghknopqrsuvxyzjt.,:;'|!il");
    QString base;
    while (measure(font, base + QLatin1Char('M')) <= width - 20)
        base += QLatin1Char('M');
    for (qsizetype length = 0; length <= 3; ++length) {
        QList<qsizetype> pick(length, 0);
        while (true) {
            QString text = base;
            for (const qsizetype index : pick)
                text += glyphs[index];
            if (measure(font, text) == width)
                return text;
            qsizetype digit = 0;
            while (digit < length && ++pick[digit] == glyphs.size())
                pick[digit++] = 0;
            if (digit == length)
                break;
        }
    }
    return {};
}

// Waits inside the coming modal loop for its window, then hands it to act.
void whenModalShows(std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

QWidget* keyTarget(TF_Msg& box)
{
    return box.focusWidget() ? box.focusWidget() : &box;
}

int countPixels(const QImage& image, const std::function<bool(QColor)>& wanted)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += wanted(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool isYellow(QColor c)
{
    return c.alpha() > 128 && c.red() > 200 && c.green() > 160 && c.blue() < 100;
}

bool isRed(QColor c)
{
    return c.alpha() > 128 && c.red() > 150 && c.green() < 60 && c.blue() < 60;
}

bool isBlue(QColor c)
{
    return c.alpha() > 128 && c.blue() > 150 && c.red() < 60;
}

bool isWhite(QColor c)
{
    return c.alpha() > 250 && c.red() > 245 && c.green() > 245 && c.blue() > 245;
}

bool isBlack(QColor c)
{
    return c.alpha() > 250 && c.value() < 40;
}

std::function<bool(QColor)> colourTest(const QString& name)
{
    if (name == QLatin1String("yellow"))
        return isYellow;
    if (name == QLatin1String("red"))
        return isRed;
    if (name == QLatin1String("blue"))
        return isBlue;
    if (name == QLatin1String("black"))
        return isBlack;
    return isWhite;
}

} // namespace

class MsgFormTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void widthFollowsTheMessage_data();
    void widthFollowsTheMessage();
    void longMessagesStayWithinTheScreen();
    void buttonRowIsCentredWithFivePixelGaps_data();
    void buttonRowIsCentredWithFivePixelGaps();
    void buttonsGiveTheirResults_data();
    void buttonsGiveTheirResults();
    void escapePressesTheCancelButtonOnly_data();
    void escapePressesTheCancelButtonOnly();
    void enterPressesTheDefaultButton_data();
    void enterPressesTheDefaultButton();
    void closeBoxAnswersCancel_data();
    void closeBoxAnswersCancel();
    void showsCaptionSymbolAndProgramName();

    void meldungZeigenAsksTheInstalledAnswer();
    void meldungZeigenWithoutAnswerShowsTheBoxModally();
    void einfacheMeldungReachesTheAnswer();
    void einfacheMeldungWithoutAnswerShowsAPlainOkBox();

    void symbolsAreTransparentSquaresOfTheirColours_data();
    void symbolsAreTransparentSquaresOfTheirColours();
    void symbolsDifferFromEachOther();
};

void MsgFormTest::cleanup()
{
    SetzeMeldungsAntwort({});
    SetzeEinfacheMeldung(nullptr);
}

void MsgFormTest::widthFollowsTheMessage_data()
{
    QTest::addColumn<int>("textWidth");
    QTest::addColumn<int>("boxWidth");
    QTest::newRow("short message") << 30 << 250;
    QTest::newRow("just under the minimum") << 209 << 250;
    QTest::newRow("at the minimum") << 210 << 250;
    QTest::newRow("just over the minimum") << 211 << 251;
    QTest::newRow("400 pixels") << 400 << 440;
}

void MsgFormTest::widthFollowsTheMessage()
{
    QFETCH(int, textWidth);
    QFETCH(int, boxWidth);
    const QString message = textOfWidth(messageFont(), textWidth);
    QVERIFY2(measure(messageFont(), message) == textWidth,
             "the label's font offers no glyphs that add up to the wanted width");

    TF_Msg box(nullptr, 3, message, QStringLiteral("Meldung"), 2, QStringLiteral("Zupfwerk"));
    QCOMPARE(box.width(), boxWidth);
    QCOMPARE(box.height(), 143);
    QCOMPARE(box.minimumSize(), box.maximumSize());
    const auto* label = box.findChild<QLabel*>(QStringLiteral("L_Msgtxt"));
    QCOMPARE(label->geometry(), QRect(0, 66, boxWidth, 42));
    QCOMPARE(label->text(), message);
}

void MsgFormTest::longMessagesStayWithinTheScreen()
{
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
    const QString longName = QStringLiteral("/home/benutzer/") + QString(250, QLatin1Char('n')) + QStringLiteral(".cho");
    const QString words = QStringLiteral("wort ").repeated(400).trimmed();
    const QString unbroken = QString(1500, QLatin1Char('x'));
    for (const QString& message :
         {QStringLiteral("Die Grifftabelle '%1' konnte nicht gespeichert werden.\nDer Dateiname ist zu lang.").arg(longName),
          words, unbroken}) {
        TF_Msg box(nullptr, 1, message, QStringLiteral("Fehler"), 2, QStringLiteral("Zupfwerk"));
        QVERIFY2(box.width() <= screenWidth, qPrintable(QString::number(box.width())));
        const auto* label = box.findChild<QLabel*>(QStringLiteral("L_Msgtxt"));
        QCOMPARE(label->toolTip(), message);
        const QFontMetrics metrics(label->font());
        QVERIFY(metrics.size(0, label->text()).width() <= label->width());
        QVERIFY2(metrics.size(0, label->text()).height() <= label->height(), "every line is shown");
    }
    // The file name loses its middle, not its start or its end; the reason stays whole.
    TF_Msg box(nullptr, 1,
               QStringLiteral("Die Grifftabelle '%1' konnte nicht gespeichert werden.\nDer Dateiname ist zu lang.")
                   .arg(longName),
               QStringLiteral("Fehler"), 2, QStringLiteral("Zupfwerk"));
    const QString shown = box.findChild<QLabel*>(QStringLiteral("L_Msgtxt"))->text();
    QVERIFY2(shown.contains(QStringLiteral("'/home/benutzer/")) && shown.contains(QStringLiteral("nnn.cho'")) &&
                 shown.contains(QChar(0x2026)),
             qPrintable(shown));
    QVERIFY(shown.endsWith(QStringLiteral("\nDer Dateiname ist zu lang.")));
}

void MsgFormTest::buttonRowIsCentredWithFivePixelGaps_data()
{
    QTest::addColumn<int>("knopfsatz");
    QTest::addColumn<int>("textWidth");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("lefts");
    const QStringList yesNo{QStringLiteral("&Ja"), QStringLiteral("&Nein")};
    const QStringList yesNoCancel{QStringLiteral("&Ja"), QStringLiteral("&Nein"), QStringLiteral("&Abbruch")};
    QTest::newRow("set 0") << 0 << 0 << yesNo << QList<int>{47, 127};
    QTest::newRow("set 1") << 1 << 0 << yesNoCancel << QList<int>{7, 87, 167};
    QTest::newRow("set 2") << 2 << 0 << QStringList{QStringLiteral("&Ok")} << QList<int>{87};
    QTest::newRow("set 3") << 3 << 0 << QStringList{QStringLiteral("&Schade")} << QList<int>{87};
    QTest::newRow("set 0 wide") << 0 << 400 << yesNo << QList<int>{142, 222};
    QTest::newRow("set 1 wide") << 1 << 400 << yesNoCancel << QList<int>{102, 182, 262};
    QTest::newRow("set 2 wide") << 2 << 400 << QStringList{QStringLiteral("&Ok")} << QList<int>{182};
}

void MsgFormTest::buttonRowIsCentredWithFivePixelGaps()
{
    QFETCH(int, knopfsatz);
    QFETCH(int, textWidth);
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, lefts);
    const QString message = textOfWidth(messageFont(), textWidth);
    TF_Msg box(nullptr, 2, message, QStringLiteral("Frage"), knopfsatz, QStringLiteral("Zupfwerk"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    const auto* panel = box.findChild<QWidget*>(QStringLiteral("P_Buttons"));
    QCOMPARE(panel->geometry(), QRect(0, 108, box.width(), 35));
    const QStringList names{QStringLiteral("B_11"), QStringLiteral("B_12"), QStringLiteral("B_13")};
    for (int i = 0; i < names.size(); ++i) {
        QPushButton* b = button(box, names[i]);
        if (i < captions.size()) {
            QVERIFY2(b->isVisible() && b->isEnabled(), qPrintable(names[i] + QStringLiteral(" is shown")));
            QCOMPARE(b->text(), captions[i]);
            QCOMPARE(b->geometry(), QRect(lefts[i], 0, 75, 25));
        } else {
            QVERIFY2(b->isHidden() && !b->isEnabled(), qPrintable(names[i] + QStringLiteral(" is retired")));
        }
    }
}

void MsgFormTest::buttonsGiveTheirResults_data()
{
    QTest::addColumn<int>("knopfsatz");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("result");
    QTest::newRow("set 0 Ja") << 0 << "B_11" << 6;
    QTest::newRow("set 0 Nein") << 0 << "B_12" << 7;
    QTest::newRow("set 1 Ja") << 1 << "B_11" << 6;
    QTest::newRow("set 1 Nein") << 1 << "B_12" << 7;
    QTest::newRow("set 1 Abbruch") << 1 << "B_13" << 2;
    QTest::newRow("set 2 Ok") << 2 << "B_11" << 6;
    QTest::newRow("set 3 Schade") << 3 << "B_11" << 6;
}

void MsgFormTest::buttonsGiveTheirResults()
{
    QFETCH(int, knopfsatz);
    QFETCH(QString, name);
    QFETCH(int, result);
    TF_Msg box(nullptr, 2, QStringLiteral("Frage?"), QStringLiteral("Frage"), knopfsatz,
               QStringLiteral("Zupfwerk"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(button(box, name), Qt::LeftButton);
    QCOMPARE(box.result(), result);
    QVERIFY(!box.isVisible());
}

void MsgFormTest::escapePressesTheCancelButtonOnly_data()
{
    QTest::addColumn<int>("knopfsatz");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("result");
    QTest::newRow("set 0 answers Nein") << 0 << true << 7;
    QTest::newRow("set 1 answers Abbruch") << 1 << true << 2;
    QTest::newRow("set 2 stays open") << 2 << false << 0;
    QTest::newRow("set 3 stays open") << 3 << false << 0;
}

void MsgFormTest::escapePressesTheCancelButtonOnly()
{
    QFETCH(int, knopfsatz);
    QFETCH(bool, closes);
    QFETCH(int, result);
    TF_Msg box(nullptr, 0, QStringLiteral("Achtung"), QStringLiteral("Warnung"), knopfsatz,
               QStringLiteral("Zupfwerk"));
    QSignalSpy finished(&box, &QDialog::finished);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(keyTarget(box), Qt::Key_Escape);
    QCOMPARE(box.isVisible(), !closes);
    QCOMPARE(finished.size(), closes ? 1 : 0);
    QCOMPARE(box.result(), result);
}

void MsgFormTest::enterPressesTheDefaultButton_data()
{
    QTest::addColumn<int>("knopfsatz");
    for (int set = 0; set < 4; ++set)
        QTest::addRow("set %d", set) << set;
}

void MsgFormTest::enterPressesTheDefaultButton()
{
    QFETCH(int, knopfsatz);
    TF_Msg box(nullptr, 2, QStringLiteral("Frage?"), QStringLiteral("Frage"), knopfsatz,
               QStringLiteral("Zupfwerk"));
    QVERIFY(button(box, QStringLiteral("B_11"))->isDefault());
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(keyTarget(box), Qt::Key_Return);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), 6);
}

void MsgFormTest::closeBoxAnswersCancel_data()
{
    enterPressesTheDefaultButton_data();
}

void MsgFormTest::closeBoxAnswersCancel()
{
    QFETCH(int, knopfsatz);
    TF_Msg box(nullptr, 1, QStringLiteral("Fehler"), QStringLiteral("Fehler"), knopfsatz,
               QStringLiteral("Zupfwerk"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.close());
    QCOMPARE(box.result(), 2);
}

void MsgFormTest::showsCaptionSymbolAndProgramName()
{
    TF_Msg box(nullptr, 2, QStringLiteral("Griff löschen?"), QStringLiteral("Löschen?"), 0,
               QStringLiteral("Zupfwerk"));
    QCOMPARE(box.windowTitle(), QStringLiteral("Löschen?"));
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("L_ProgName"))->text(), QStringLiteral("Zupfwerk"));
    const auto* symbol = box.findChild<QLabel*>(QStringLiteral("I_Symbol"));
    QCOMPARE(symbol->geometry(), QRect(5, 8, 37, 37));
    QCOMPARE(symbol->pixmap().toImage(), MsgSymbol(2).toImage());
    QCOMPARE(symbol->parentWidget()->objectName(), QStringLiteral("GB_Info"));
}

void MsgFormTest::meldungZeigenAsksTheInstalledAnswer()
{
    QList<MeldungsAnfrage> asked;
    bool windowShown = false;
    SetzeMeldungsAntwort([&](const MeldungsAnfrage& anfrage) {
        asked << anfrage;
        windowShown = windowShown || QApplication::activeModalWidget() != nullptr;
        return 7;
    });
    QCOMPARE(MeldungZeigen(nullptr, 2, QStringLiteral("Griff löschen?"), QStringLiteral("Löschen?"), 0), 7);
    QVERIFY(!windowShown);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].symbol, 2);
    QCOMPARE(asked[0].meldung, QStringLiteral("Griff löschen?"));
    QCOMPARE(asked[0].titel, QStringLiteral("Löschen?"));
    QCOMPARE(asked[0].knopfsatz, 0);
    QVERIFY(!asked[0].einfach);

    const MeldungsAntwort previous = SetzeMeldungsAntwort([](const MeldungsAnfrage&) { return 2; });
    QCOMPARE(previous(MeldungsAnfrage{}), 7);
    QCOMPARE(MeldungZeigen(nullptr, 1, QStringLiteral("x"), QStringLiteral("y"), 1), 2);
}

void MsgFormTest::meldungZeigenWithoutAnswerShowsTheBoxModally()
{
    QWidget owner;
    owner.show();
    QString title;
    QString programName;
    QWidget* parent = nullptr;
    whenModalShows([&](QWidget* modal) {
        title = modal->windowTitle();
        programName = modal->findChild<QLabel*>(QStringLiteral("L_ProgName"))->text();
        parent = modal->parentWidget();
        QTest::mouseClick(button(*modal, QStringLiteral("B_11")), Qt::LeftButton);
    });
    QCOMPARE(MeldungZeigen(&owner, 3, QStringLiteral("Fertig."), QStringLiteral("Bildaufbautest"), 2), 6);
    QCOMPARE(title, QStringLiteral("Bildaufbautest"));
    QCOMPARE(programName, QStringLiteral("Zupfwerk"));
    QCOMPARE(parent, &owner);
    QVERIFY2(owner.findChildren<TF_Msg*>().isEmpty(), "the box is gone once answered");
}

void MsgFormTest::einfacheMeldungReachesTheAnswer()
{
    QList<MeldungsAnfrage> asked;
    SetzeMeldungsAntwort([&](const MeldungsAnfrage& anfrage) {
        asked << anfrage;
        return 6;
    });
    EinfacheMeldungAnbinden();
    EinfacheMeldung("Intervall ungültig", "Intervalltabelle");
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].einfach);
    QCOMPARE(asked[0].meldung, QStringLiteral("Intervall ungültig"));
    QCOMPARE(asked[0].titel, QStringLiteral("Intervalltabelle"));
}

void MsgFormTest::einfacheMeldungWithoutAnswerShowsAPlainOkBox()
{
    EinfacheMeldungAnbinden();
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::Critical;
    qsizetype buttonCount = 0;
    whenModalShows([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttonCount = box->buttons().size();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    EinfacheMeldung("Griffliste voll", "Grifftabelle");
    QCOMPARE(text, QStringLiteral("Griffliste voll"));
    QCOMPARE(title, QStringLiteral("Grifftabelle"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttonCount, 1);
}

void MsgFormTest::symbolsAreTransparentSquaresOfTheirColours_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("mark");
    QTest::newRow("warning") << 0 << "yellow"
                             << "black";
    QTest::newRow("error") << 1 << "red"
                           << "white";
    QTest::newRow("question") << 2 << "white"
                              << "blue";
    QTest::newRow("information") << 3 << "white"
                                 << "blue";
}

void MsgFormTest::symbolsAreTransparentSquaresOfTheirColours()
{
    QFETCH(int, index);
    QFETCH(QString, body);
    QFETCH(QString, mark);
    const QImage picture = MsgSymbol(index).toImage();
    QCOMPARE(picture.size(), QSize(37, 37));
    QVERIFY(picture.hasAlphaChannel());
    QCOMPARE(picture.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(picture.pixelColor(36, 0).alpha(), 0);
    QVERIFY2(countPixels(picture, colourTest(body)) > 200, "the body fills a good part of the square");
    QVERIFY2(countPixels(picture, colourTest(mark)) > 15, "the mark shows on the body");
}

void MsgFormTest::symbolsDifferFromEachOther()
{
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            QVERIFY2(MsgSymbol(a).toImage() != MsgSymbol(b).toImage(),
                     qPrintable(QStringLiteral("%1 vs %2").arg(a).arg(b)));
    QVERIFY(MsgSymbol(4).isNull());
    QVERIFY(MsgSymbol(-1).isNull());
}

QTEST_MAIN(MsgFormTest)
#include "MsgFormTest.moc"
