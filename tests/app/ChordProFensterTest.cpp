#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QUndoStack>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/MainForm.h"
#include "app/RueckgaengigVerlauf.h"
#include "forms/ChordProBerichtForm.h"
#include "forms/DateiDialog.h"
#include "grip/AkkordDaten.h"
#include "table/AkkordDepot.h"
#include "tests/app/ModalAnswers.h"
#include "tests/app/TestFenster.h"

namespace {

// Open dialogs get the first path, save dialogs the second.
class FileAnswers
{
public:
    FileAnswers(const QString& open, const QString& save)
    {
        m_previous = SetzeDateiDialogAntwort(
            [=](const DateiDialogAnfrage& request) { return request.speichern ? save : open; });
    }
    ~FileAnswers() { SetzeDateiDialogAntwort(m_previous); }

private:
    DateiDialogBeantworter m_previous;
};

QAction* item(TF_Main& window, const char* name)
{
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->objectName() == QLatin1String(name))
            return action;
    }
    return nullptr;
}

QByteArray saved(TF_Main& window, const QString& path)
{
    if (!window.dokument().Speichern(path.toStdString()))
        return QByteArray();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ChordProFensterTest : public QObject
{
    Q_OBJECT

private slots:
    void menuItemsHaveTheirPlaces();
    void importReportsEveryDefinitionAndUndoRestoresTheTable();
    void exportWithoutFingersThroughTheDialogs();
    void songSheetThroughTheDialogs();
    void aSongOpenedAsTableIsOfferedAsSongSheet();
};

void ChordProFensterTest::menuItemsHaveTheirPlaces()
{
    TestFenster f;
    TF_Main& w = f.start();
    QCOMPARE(item(w, "MI_ChordProExport")->text(), QStringLiteral("Als &ChordPro..."));
    QCOMPARE(item(w, "MI_ChordProImport")->text(), QStringLiteral("&ChordPro-Akkorde..."));
    QCOMPARE(item(w, "MI_Liedblatt")->text(), QStringLiteral("&Liedblatt..."));
    auto* exportieren = w.findChild<QMenu*>(QStringLiteral("MI_Exportieren"));
    auto* importieren = w.findChild<QMenu*>(QStringLiteral("MI_Importieren"));
    auto* datei = w.findChild<QMenu*>(QStringLiteral("MI_Datei"));
    QVERIFY(exportieren && importieren && datei);
    QVERIFY(exportieren->actions().contains(item(w, "MI_ChordProExport")));
    QVERIFY(importieren->actions().contains(item(w, "MI_ChordProImport")));
    QCOMPARE(importieren->title(), QStringLiteral("&Importieren"));
    QVERIFY(datei->actions().contains(item(w, "MI_Liedblatt")));
    for (const char* name : {"MI_ChordProExport", "MI_ChordProImport", "MI_Liedblatt"})
        QVERIFY2(!item(w, name)->statusTip().isEmpty(), name);
}

void ChordProFensterTest::importReportsEveryDefinitionAndUndoRestoresTheTable()
{
    TestFenster f;
    TF_Main& w = f.start();
    const int before = w.dokument().Anzahl();
    const QByteArray original = saved(w, f.file(QStringLiteral("vorher.cho")));
    QVERIFY(!original.isEmpty());
    const QString file = f.file(QStringLiteral("akkorde.chopro"));
    write(file, "# correct, the second with fingers, then misnamed, duplicate, unplayable, 4 strings, bad\n"
                "{define: D base-fret 1 frets x 5 4 2 3 2}\n"
                "{define A: base-fret 1 frets x 0 2 2 2 5 fingers 0 0 1 1 1 4}\n"
                "{define: F base-fret 13 frets 1 3 3 1 1 1 fingers 1 3 4 1 1 1}\n"
                "{define: Am base-fret 1 frets x 0 2 2 1 0}\n"
                "{define: Weit base-fret 1 frets 1 x x x x 9}\n"
                "{define: Bass base-fret 1 frets 0 2 2 1}\n"
                "{define: Schief base-fret 1 frets x 0 2 2 1 q}\n");
    {
        FileAnswers answers(file, QString());
        item(w, "MI_ChordProImport")->trigger();
    }
    auto* bericht = w.findChild<TF_ChordProBerichtForm*>();
    QVERIFY(bericht);
    QTRY_VERIFY(bericht->isVisible());
    const QStringList expected = {
        "Zeile 2: D übernommen als D",
        "Zeile 3: A übernommen als A",
        "Zeile 4: F übernommen als Fm",
        "Zeile 4: F in der Datei klingt als Fm",
        "Zeile 5: Am übersprungen: als Am schon gespeichert",
        "Zeile 6: Weit übersprungen: nicht spielbar, spannt 9 Bünde",
        "Zeile 7: Bass übersprungen: für 4 Saiten, das Instrument hat 6",
        "Zeile 8: Bund „q“ ungültig: x, 0 bis 30, übersprungen",
    };
    QCOMPARE(bericht->zeilen(), expected);
    QCOMPARE(bericht->LB_Zusammenfassung->text(),
             QStringLiteral("6 Definitionen: 3 übernommen, 3 übersprungen, 1 falsch benannt, 1 fehlerhafte Zeilen"));
    QCOMPARE(w.dokument().Anzahl(), before + 3);
    // The D came without fingers: the finder's rules gave it some.
    const AkkordDatenClass& d = w.dokument().Element(before);
    QVERIFY(d.PunktAnzahl >= 4);
    for (int i = 0; i < d.PunktAnzahl; ++i)
        QVERIFY(d.Punkte[i].Finger >= 1 && d.Punkte[i].Finger <= 4);
    // The A kept its own: a barré of finger 1 on fret 2, the little finger on fret 5.
    const AkkordDatenClass& a = w.dokument().Element(before + 1);
    QCOMPARE(a.PunktAnzahl, 4);
    QCOMPARE(a.Punkte[3].Finger, 4);
    bericht->close();

    item(w, "MI_Rueckgaengig")->trigger();
    QCOMPARE(w.dokument().Anzahl(), before);
    QCOMPARE(saved(w, f.file(QStringLiteral("nachher.cho"))), original);
    item(w, "MI_Wiederholen")->trigger();
    QCOMPARE(w.dokument().Anzahl(), before + 3);

    // A second import of the same file takes nothing and leaves no step behind.
    const int steps = w.verlauf().stapel().count();
    {
        FileAnswers answers(file, QString());
        item(w, "MI_ChordProImport")->trigger();
    }
    QCOMPARE(w.dokument().Anzahl(), before + 3);
    QCOMPARE(w.verlauf().stapel().count(), steps);
}

void ChordProFensterTest::exportWithoutFingersThroughTheDialogs()
{
    TestFenster f;
    TF_Main& w = f.start();
    const QString path = f.file(QStringLiteral("alle.chopro"));
    FileAnswers files(QString(), path);
    ModalAnswers answers({[](QWidget* dialog) {
                              QCOMPARE(dialog->objectName(), QStringLiteral("TF_Umfang"));
                              qobject_cast<QDialog*>(dialog)->accept();
                          },
                          [](QWidget* dialog) {
                              QCOMPARE(dialog->objectName(), QStringLiteral("TF_ChordProExportForm"));
                              dialog->findChild<QCheckBox*>(QStringLiteral("CB_Finger"))->setChecked(false);
                              qobject_cast<QDialog*>(dialog)->accept();
                          }});
    item(w, "MI_ChordProExport")->trigger();
    QCOMPARE(answers.left(), 0);
    const QByteArray text = readAll(path);
    QCOMPARE(text.count("{define: "), w.dokument().Anzahl());
    QVERIFY(text.contains("{define: Am base-fret 1 frets x 0 2 2 1 0}\n"));
    QVERIFY(text.contains("{define: Bm "));
    QVERIFY(!text.contains("fingers"));
}

void ChordProFensterTest::songSheetThroughTheDialogs()
{
    TestFenster f;
    TF_Main& w = f.start();
    const QString song = f.file(QStringLiteral("lied.cho"));
    write(song, "{title: Lied}\n[Am]Eins [C]zwei [Xq]drei [G/B]vier\n");
    const QString out = f.file(QStringLiteral("lied.chopro"));
    FileAnswers files(song, out);
    ModalAnswers answers({[](QWidget* dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("TF_LiedblattForm"));
        dialog->findChild<QSpinBox*>(QStringLiteral("SE_Transponieren"))->setValue(2);
        dialog->findChild<QCheckBox*>(QStringLiteral("CB_Finger"))->setChecked(false);
        qobject_cast<QDialog*>(dialog)->accept();
    }});
    f.asked.clear();
    item(w, "MI_Liedblatt")->trigger();
    const QByteArray text = readAll(out);
    QVERIFY2(text.startsWith("# Lied\n{define: Bm base-fret "), text.constData());
    QVERIFY(text.contains("{define: D base-fret "));
    QVERIFY(text.contains("{define: A/C# base-fret "));
    QVERIFY(text.contains("# nicht lesbar: Xq"));
    QVERIFY(!f.asked.isEmpty());
    QVERIFY(f.asked.last().meldung.contains(QStringLiteral("Xq")));
}

void ChordProFensterTest::aSongOpenedAsTableIsOfferedAsSongSheet()
{
    TestFenster f;
    TF_Main& w = f.start();
    const QString name = w.dateiName();
    const int before = w.dokument().Anzahl();
    const QString song = f.file(QStringLiteral("lied.cho"));
    write(song, "{title: Lied}\n[Am]Eins\n");
    f.asked.clear();
    f.answers = {7};
    QVERIFY(!w.OeffnenMitPfad(song));
    QCOMPARE(f.asked.size(), 1);
    QCOMPARE(f.asked[0].meldung, QStringLiteral("'lied.cho' ist keine Grifftabelle, sondern ein ChordPro-Lied. Ein "
                                                "Liedblatt mit seinen Akkorden und Griffen erstellen?"));
    QCOMPARE(w.dateiName(), name);
    QCOMPARE(w.dokument().Anzahl(), before);

    // A chord file is offered as an import.
    const QString chords = f.file(QStringLiteral("akkorde.cho"));
    write(chords, "{define: D base-fret 1 frets x 5 4 2 3 2}\n");
    f.asked.clear();
    f.answers = {6};
    QVERIFY(!w.OeffnenMitPfad(chords));
    QVERIFY(f.asked[0].meldung.contains(QStringLiteral("Datei mit ChordPro-Akkorden")));
    QCOMPARE(w.dokument().Anzahl(), before + 1);
    for (auto* bericht : w.findChildren<TF_ChordProBerichtForm*>())
        bericht->close();
}

QTEST_MAIN(ChordProFensterTest)
#include "ChordProFensterTest.moc"
