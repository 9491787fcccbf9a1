#include <memory>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolTip>
#include <QtTest>

#include "forms/GrifftabForm.h"
#include "forms/MsgForm.h"
#include "forms/QtTranslations.h"
#include "forms/Statusleiste.h"
#include "grip/AkkordDaten.h"
#include "table/AkkordDepot.h"

namespace {

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 110;
}

// The dark pixels of an image inside area.
QRect inkIn(const QImage& image, const QRect& area)
{
    QRect ink;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (isDark(image.pixel(x, y)))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// Sends the tooltip request a resting mouse would send and returns the tooltip then shown.
QString tooltipAt(QWidget* widget, QPoint pos)
{
    // A hidden tooltip lingers a moment before it closes.
    QToolTip::hideText();
    for (int waited = 0; QToolTip::isVisible() && waited < 2000; waited += 20)
        QTest::qWait(20);
    QHelpEvent help(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// A chord table whose catalogue holds the given type names, with frets stored for type 0 of C.
std::unique_ptr<AkkordDepotClass> tableWith(const std::vector<std::string>& types, int grips)
{
    auto doc = std::make_unique<AkkordDepotClass>();
    for (const std::string& name : types) {
        doc->TypZufuegen();
        doc->TypUmbenennen(doc->TypAnzahl() - 1, name.c_str());
    }
    for (int i = 0; i < grips; ++i) {
        doc->Loeschen();
        doc->FingerSetzen(1 + i % 30, 1 + i / 30, 1);
        doc->AkkordSetzen(0, 0);
        doc->GriffAufnehmen();
    }
    return doc;
}

std::unique_ptr<TF_GrifftabForm> openTable(AkkordDepotClass& doc)
{
    auto form = std::make_unique<TF_GrifftabForm>(
        doc, [](int) {}, [](const QString&) {});
    form->GrundtoeneFuellen();
    form->GrundtonWaehlen(0);
    form->TypenFuellen();
    form->TypWaehlen(0);
    form->GriffeFuellen(true);
    form->GriffWaehlen(0);
    form->PanelAktualisieren();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("window not exposed");
    return form;
}

} // namespace

class LegibleFormsTest : public QObject
{
    Q_OBJECT

private slots:
    void testsSeeQtsGermanTexts();
    void programNameShowsItsDescenders();
    void messageOfSeveralLinesMakesTheBoxTaller_data();
    void messageOfSeveralLinesMakesTheBoxTaller();
    void chordPanelWidensForTheLongestName();
    void chordPanelTextStaysInsideItsPanel();
    void longMessageIsShortenedAndWholeInTheTooltip();
    void shortMessageKeepsTheHint();
    void tableWindowShowsItsHeaderTitlesAtFirst();
    void longTypeNamesShowWholeAtAnyWidth();
    void twoDigitFretsStayReadableWhileTheListScrolls();
    void wideningASectionNeverPushesAListOut_data();
    void wideningASectionNeverPushesAListOut();
    void narrowHeaderKeepsItsTitleWhole();
    void tableWindowHasASensibleMinimumSize();
};

void LegibleFormsTest::testsSeeQtsGermanTexts()
{
    QCOMPARE(QKeySequence(Qt::CTRL | Qt::Key_S).toString(QKeySequence::NativeText), QStringLiteral("Strg+S"));
    QCOMPARE(QKeySequence(Qt::SHIFT | Qt::Key_Delete).toString(QKeySequence::NativeText),
             QStringLiteral("Umschalt+Entf"));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
             QStringLiteral("Abbrechen"));
    // The program's locale is German whatever the system's: months and the file types of Qt's file
    // dialog ("unknown" without it).
    QCOMPARE(QLocale().monthName(3), QStringLiteral("März"));
    QCOMPARE(QMimeDatabase().mimeTypeForName(QStringLiteral("application/octet-stream")).comment(),
             QStringLiteral("unbekannt"));

    // The file dialog's dates follow the system locale from the environment: LC_TIME becomes German,
    // a LC_ALL is spread over the other categories.
    const QByteArray saved[3] = {qgetenv("LC_ALL"), qgetenv("LC_TIME"), qgetenv("LC_NUMERIC")};
    qputenv("LC_ALL", "C");
    qunsetenv("LC_TIME");
    preferGermanSystemDates();
    // Without the German locale on the system the environment stays as it was, since a locale that
    // is missing would spoil every other category.
    const bool german = germanSystemLocaleInstalled();
    QCOMPARE(qgetenv("LC_ALL").isEmpty(), german);
    QCOMPARE(qgetenv("LC_TIME"), german ? QByteArray("de_DE.UTF-8") : QByteArray());
    QCOMPARE(qgetenv("LC_NUMERIC"), german ? QByteArray("C") : saved[2]);
    const char* names[3] = {"LC_ALL", "LC_TIME", "LC_NUMERIC"};
    for (int i = 0; i < 3; ++i)
        saved[i].isEmpty() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
}

void LegibleFormsTest::programNameShowsItsDescenders()
{
    TF_Msg box(nullptr, 3, QStringLiteral("Alles gut"), QStringLiteral("Meldung"), 2,
               QStringLiteral("Zupfwerk"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto* name = box.findChild<QLabel*>(QStringLiteral("L_ProgName"));
    auto* info = box.findChild<QWidget*>(QStringLiteral("GB_Info"));
    const QFontMetrics metrics(name->font());
    QVERIFY(name->height() >= metrics.height());
    QVERIFY(name->geometry().bottom() < info->height());
    QVERIFY(name->width() >= metrics.horizontalAdvance(QStringLiteral("Zupfwerk")));

    // The tail of the p reaches below the baseline and is drawn.
    const QImage picture = name->grab().toImage();
    const int baseline = (name->height() - metrics.height()) / 2 + metrics.ascent();
    const QRect belowBaseline(0, baseline + 2, picture.width(), picture.height() - baseline - 2);
    const QRect tail = inkIn(picture, belowBaseline);
    QVERIFY2(!tail.isEmpty(), "the descender of the p shows");
    QVERIFY(tail.bottom() < picture.height() - 1);
}

void LegibleFormsTest::messageOfSeveralLinesMakesTheBoxTaller_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("taller");
    QTest::newRow("one line") << QStringLiteral("Die Grifftabelle wurde gespeichert") << false;
    QTest::newRow("two lines") << QStringLiteral("Erste Zeile\nZweite Zeile") << false;
    QTest::newRow("five lines") << QStringLiteral("Eins\nZwei\nDrei\nVier\nFünf") << true;
}

void LegibleFormsTest::messageOfSeveralLinesMakesTheBoxTaller()
{
    QFETCH(QString, message);
    QFETCH(bool, taller);
    TF_Msg box(nullptr, 1, message, QStringLiteral("Fehler"), 2, QStringLiteral("Zupfwerk"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto* text = box.findChild<QLabel*>(QStringLiteral("L_Msgtxt"));
    auto* buttons = box.findChild<QWidget*>(QStringLiteral("P_Buttons"));
    const QSize needed = QFontMetrics(text->font()).size(0, message);
    QCOMPARE(box.height() > 143, taller);
    QVERIFY(box.height() >= 143);
    QVERIFY2(text->height() >= needed.height(), qPrintable(QString::number(text->height())));
    QCOMPARE(text->geometry().bottom() + 1, buttons->y());
    QCOMPARE(buttons->geometry().bottom(), box.height() - 1);
    // Every line of the message is drawn between the heading and the buttons.
    const QImage picture = text->grab().toImage();
    const QRect ink = inkIn(picture, picture.rect());
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.bottom() < picture.height() - 1);
    QVERIFY(ink.height() >= needed.height() - QFontMetrics(text->font()).height());
}

void LegibleFormsTest::chordPanelWidensForTheLongestName()
{
    Statusleiste bar;
    bar.resize(500, 19);
    bar.chordPanelFit({QStringLiteral("C"), QStringLiteral("Am")});
    QCOMPARE(bar.panelWidth(0), 65);
    const QString longest = QStringLiteral("F#/Gbmaj7(b9,#11,b13)");
    bar.chordPanelFit({QStringLiteral("C"), longest, QStringLiteral("Dm")});
    QVERIFY(bar.panelWidth(0) > 65);
    QCOMPARE(bar.panelRect(1).x(), bar.panelWidth(0));
    bar.setPanelText(0, longest);
    QVERIFY(!bar.panelTextShortened(0));
    QCOMPARE(bar.panelTextShown(0), longest);
    bar.chordPanelFit({QStringLiteral("C")});
    QCOMPARE(bar.panelWidth(0), 65);
    QVERIFY(bar.panelTextShortened(0));
}

void LegibleFormsTest::chordPanelTextStaysInsideItsPanel()
{
    const QStringList names = {QStringLiteral("C"), QStringLiteral("C#/Dbmaj7"),
                               QStringLiteral("G#/Abm7b5(b9)"), QStringLiteral("F#/Gbmaj7(b9,#11,b13)")};
    Statusleiste bar;
    bar.resize(600, 19);
    bar.chordPanelFit(names);
    for (const QString& name : names) {
        bar.setPanelText(0, name);
        bar.setPanelText(1, QStringLiteral("12/345"));
        const QImage picture = bar.grab().toImage();
        const QRect text = bar.panelTextRect(0);
        // Between the bevels of panel 0: the text is all the ink there.
        const QRect ink = inkIn(picture, QRect(2, 2, bar.panelRect(0).width() - 4, 15));
        QVERIFY2(!ink.isEmpty() && text.contains(ink), qPrintable(name));
        QVERIFY(!bar.panelTextShortened(0));
        QVERIFY(!bar.panelTextShortened(1));
    }
}

void LegibleFormsTest::longMessageIsShortenedAndWholeInTheTooltip()
{
    Statusleiste bar;
    bar.resize(300, 19);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const QString message =
        QStringLiteral("Weitere: Am7, C6, Cmaj7/A, Em7b5(b13), G#/Abdim7, F#/Gbsus4add9 und noch viel mehr");
    bar.setMessage(message);
    QVERIFY(bar.panelTextShortened(3));
    QVERIFY(bar.panelTextShown(3).endsWith(QChar(0x2026)));
    QCOMPARE(tooltipAt(&bar, bar.panelRect(3).center()), message);
    // The message stays inside its panel.
    const QImage picture = bar.grab().toImage();
    const QRect ink = inkIn(picture, bar.panelRect(3).adjusted(2, 2, -2, -2));
    QVERIFY(ink.right() < bar.width() - 2);
}

void LegibleFormsTest::shortMessageKeepsTheHint()
{
    Statusleiste bar;
    bar.resize(300, 19);
    bar.setToolTip(QStringLiteral("Erkannter Akkord"));
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    bar.setMessage(QStringLiteral("Kurz"));
    QVERIFY(!bar.panelTextShortened(3));
    QCOMPARE(tooltipAt(&bar, bar.panelRect(3).center()), QStringLiteral("Erkannter Akkord"));
}

void LegibleFormsTest::tableWindowShowsItsHeaderTitlesAtFirst()
{
    auto doc = tableWith({"Dur", "m"}, 3);
    auto form = openTable(*doc);
    QCOMPARE(form->width(), form->Standardbreite());
    QVERIFY(form->width() >= 141);
    const QHeaderView* header = form->HC_Kopf;
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int section = 0; section < 3; ++section) {
        const QString title = header->model()->headerData(section, Qt::Horizontal).toString();
        QVERIFY2(header->sectionSize(section) >= header->fontMetrics().horizontalAdvance(title) + 2 * margin,
                 qPrintable(title));
    }
    QCOMPARE(header->sectionSize(2), form->LB_Buende->width());
    QVERIFY(tooltipAt(header->viewport(), QPoint(header->sectionViewportPosition(0) + 5, 5)).isEmpty());
}

void LegibleFormsTest::longTypeNamesShowWholeAtAnyWidth()
{
    const std::string longName = "maj7(b9,#11,b13)sus";
    auto doc = tableWith({"m(maj7)", "m(maj9)", "m(add9)", longName}, 1);
    auto form = openTable(*doc);
    QListWidget* types = form->LB_Akkorde;
    QListWidget* roots = form->LB_Grund;
    const auto allWhole = [&](QListWidget* list) {
        for (int row = 0; row < list->count(); ++row) {
            const QListWidgetItem* item = list->item(row);
            const QRect rect = list->visualItemRect(item);
            if (list->fontMetrics().horizontalAdvance(item->text()) > rect.width() - 4)
                return item->text();
        }
        return QString();
    };
    // A saved width narrower than the names, and a window made as small as it goes.
    form->SetzeKopfbreite(0, 20);
    form->SetzeKopfbreite(1, 20);
    form->resize(50, 312);
    QVERIFY2(allWhole(types).isEmpty(), qPrintable(allWhole(types)));
    QVERIFY2(allWhole(roots).isEmpty(), qPrintable(allWhole(roots)));
    QVERIFY(types->geometry().right() < form->LB_Buende->geometry().left());
    QVERIFY(form->LB_Buende->geometry().right() < form->width());
    // Dragging the header narrower stops at the same minimum.
    const int least = form->HC_Kopf->sectionSize(1);
    form->HC_Kopf->resizeSection(1, 10);
    QCOMPARE(form->HC_Kopf->sectionSize(1), least);
    QCOMPARE(form->Kopfbreite(1), least);

    // A longer name added later widens the column again.
    doc->TypZufuegen();
    doc->TypUmbenennen(doc->TypAnzahl() - 1, "maj13(#11,b9)add");
    form->TypenFuellen();
    QVERIFY2(allWhole(types).isEmpty(), qPrintable(allWhole(types)));
}

void LegibleFormsTest::twoDigitFretsStayReadableWhileTheListScrolls()
{
    auto doc = tableWith({"Dur"}, 60);
    auto form = openTable(*doc);
    form->resize(form->minimumWidth(), 312);
    QListWidget* frets = form->LB_Buende;
    QTRY_VERIFY(frets->verticalScrollBar()->isVisible());
    QVERIFY(frets->width() >= form->fretListMinimum());
    const int textMargin =
        2 * (frets->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, frets) + 1);
    for (int row = 0; row < frets->count(); ++row) {
        const QListWidgetItem* item = frets->item(row);
        QVERIFY2(frets->fontMetrics().horizontalAdvance(item->text()) <=
                     frets->viewport()->width() - textMargin,
                 qPrintable(item->text()));
    }
    QVERIFY(frets->geometry().right() < form->width());
}

void LegibleFormsTest::wideningASectionNeverPushesAListOut_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("breite");
    QTest::newRow("roots") << 0 << 100;
    QTest::newRow("types") << 1 << 600;
}

void LegibleFormsTest::wideningASectionNeverPushesAListOut()
{
    QFETCH(int, section);
    QFETCH(int, breite);
    auto doc = tableWith({"Dur", "m"}, 3);
    auto form = openTable(*doc);
    form->SetzeKopfbreite(section, breite);
    QVERIFY(form->Kopfbreite(section) < breite);
    for (QListWidget* list : {form->LB_Grund, form->LB_Akkorde, form->LB_Buende}) {
        QVERIFY2(list->geometry().right() < form->width(), qPrintable(list->objectName()));
        QVERIFY(list->width() > 0);
    }
    QVERIFY(form->LB_Buende->width() >= form->fretListMinimum());

    // Narrowing the window narrows the sections, never the fret list below its minimum.
    form->resize(form->width() + 200, 312);
    form->SetzeKopfbreite(1, 200);
    form->resize(form->minimumWidth(), 312);
    QTRY_COMPARE(form->width(), form->minimumWidth());
    QVERIFY(form->LB_Buende->width() >= form->fretListMinimum());
    QVERIFY(form->LB_Buende->geometry().right() < form->width());
}

void LegibleFormsTest::narrowHeaderKeepsItsTitleWhole()
{
    auto doc = tableWith({"Dur"}, 1);
    auto form = openTable(*doc);
    form->SetzeKopfbreite(0, 20);
    QHeaderView* header = form->HC_Kopf;
    QVERIFY(header->sectionSize(0) >= header->fontMetrics().horizontalAdvance(QStringLiteral("Grundton")));
    QVERIFY(tooltipAt(header->viewport(), QPoint(10, header->height() / 2)).isEmpty());
}

void LegibleFormsTest::tableWindowHasASensibleMinimumSize()
{
    auto doc = tableWith({"Dur"}, 40);
    auto form = openTable(*doc);
    QVERIFY(form->minimumWidth() >= 20 + 50 + form->fretListMinimum());
    QVERIFY(form->minimumWidth() <= form->Standardbreite());
    QVERIFY(form->minimumHeight() >= 17 + 22 + 3 * form->LB_Grund->fontMetrics().height());
    form->resize(10, 10);
    QTRY_COMPARE(form->size(), form->minimumSize());
    for (QListWidget* list : {form->LB_Grund, form->LB_Akkorde, form->LB_Buende}) {
        QVERIFY(list->height() >= 3 * list->fontMetrics().height());
        QVERIFY(list->geometry().right() < form->width());
    }
    const int plain = form->minimumHeight();
    form->CB_Bearbeiten->click();
    QVERIFY(form->minimumHeight() > plain);
}

QTEST_MAIN(LegibleFormsTest)
#include "LegibleFormsTest.moc"
