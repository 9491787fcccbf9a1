// Pictures of the main window for people to look at, written into the build folder's "galerie". The
// test runs at scale factor 2, as on a high-DPI screen.
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

// Runs on the new-table dialog the command opens: removes `remove` strings from the top and accepts.
void answerNewTable(int remove)
{
    QTimer::singleShot(0, [remove] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr)
            return;
        for (int i = 0; i < remove; ++i)
            dialog->findChild<QAction*>(QStringLiteral("PMI_SaiteEntfernen"))->trigger();
        dialog->findChild<QLineEdit*>(QStringLiteral("E_Instrument"))->setText(QStringLiteral("Bass"));
        dialog->findChild<QPushButton*>(QStringLiteral("BB_Ok"))->click();
    });
}

using Setup = std::function<void(TF_Main&)>;

} // namespace

class GalleryTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void picture_data();
    void picture();
};

void GalleryTest::initTestCase()
{
    QVERIFY(QDir().mkpath(QStringLiteral(ZW_GALLERY_DIR)));
}

void GalleryTest::picture_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<Setup>("setup");

    const auto grip = [](const char* frets, const char* fingers) {
        return Setup([=](TF_Main& window) {
            setGrip(window.dokument(), frets, fingers);
            window.NachHolenAktualisieren();
        });
    };
    const auto fewStrings = [](int remove, std::vector<std::array<int, 3>> fingers) {
        return Setup([=](TF_Main& window) {
            answerNewTable(remove);
            window.findChild<QAction*>(QStringLiteral("MI_Neu"))->trigger();
            AkkordDepotClass& doc = window.dokument();
            doc.Loeschen();
            for (const auto& [bund, saite, finger] : fingers)
                doc.FingerSetzen(bund, saite, finger);
            window.NachHolenAktualisieren();
        });
    };

    QTest::newRow("c-dur") << QByteArray("[Diagramm]\nRechteAnzeige=1\n") << grip("x32010", "x32010");
    QTest::newRow("f-barre") << QByteArray("[Diagramm]\nRechteAnzeige=1\n") << grip("133211", "134211");
    QTest::newRow("cmaj7-intervalle")
        << QByteArray("[Diagramm]\nRechteAnzeige=2\n") << grip("x32000", "x32000");
    QTest::newRow("bass-vier-saiten")
        << QByteArray("[Diagramm]\nRechteAnzeige=1\n") << fewStrings(2, {{3, 1, 2}, {5, 2, 4}, {5, 3, 4}});
    QTest::newRow("zwei-saiten") << QByteArray("[Diagramm]\nRechteAnzeige=1\n")
                                 << fewStrings(4, {{2, 1, 1}, {4, 2, 3}});
    QTest::newRow("linkshaender") << QByteArray("[Diagramm]\nRechteAnzeige=1\nLinkshaender=1\n")
                                  << grip("x32010", "x32010");
    QTest::newRow("griffbrett") << QByteArray("[Diagramm]\nAkkordBestimmt=0\nBundanz0=16\nRechteAnzeige=2\n")
                                << grip("577655", "134211");
}

void GalleryTest::picture()
{
    QFETCH(QByteArray, ini);
    QFETCH(Setup, setup);
    TestFenster f;
    f.writeIni(ini);
    TF_Main& window = f.start();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    setup(window);

    // The board is drawn at the screen's scale, not doubled afterwards.
    const QImage picture = window.grab().toImage();
    const GriffbrettClass& board = window.zeichner();
    const PaintBox* box = window.griffbrettFeld();
    QCOMPARE(box->devicePixelRatioF(), 2.0);
    QCOMPARE(board.Pixelverhaeltnis(), 2.0);
    QCOMPARE(board.Puffer().size(), box->size() * 2);
    QCOMPARE(picture.devicePixelRatio(), 2.0);
    QVERIFY(f.asked.isEmpty());

    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QVERIFY(picture.save(QStringLiteral(ZW_GALLERY_DIR "/") + name + QStringLiteral(".png")));
}

QTEST_MAIN(GalleryTest)
#include "GalleryTest.moc"
