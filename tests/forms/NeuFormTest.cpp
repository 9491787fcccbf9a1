#include <QAction>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <memory>

#include "forms/Cp1252Eingabe.h"
#include "forms/NeuForm.h"
#include "table/AkkordDepot.h"

namespace {

const QStringList defaultLines = {"E +1", "H", "G", "D", "A -1", "E -1"};

QStringList lines(const TF_Neu& dialog)
{
    QStringList result;
    for (int i = 0; i < dialog.LB_Saiten->count(); ++i)
        result << dialog.LB_Saiten->item(i)->text();
    return result;
}

StimmSaiteClass stringOf(const StimmClass& tuning, int n)
{
    StimmSaiteClass string;
    tuning.SaiteLesen(n, &string);
    return string;
}

// QTest::keyClicks takes ASCII only: this types any text, one key event per character as a keyboard
// or an input method delivers it.
void typeText(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

// Shortcuts reach only an active window with the focus in the list.
bool showWithListFocus(TF_Neu& dialog)
{
    dialog.show();
    if (!QTest::qWaitForWindowActive(&dialog))
        return false;
    dialog.LB_Saiten->setFocus();
    return dialog.LB_Saiten->hasFocus();
}

} // namespace

class NeuFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void opensOnTheDocumentsTuningHighestStringOnTop();
    void listUsesTheDocumentsNoteNames();
    void controlsCarryTheirHints_data();
    void controlsCarryTheirHints();
    void stringMenuHasItsItemsSeparatorsAndKeys_data();
    void stringMenuHasItsItemsSeparatorsAndKeys();

    void removingDownToOneStringDisablesCreate();
    void removingTheBottomLineKeepsASelection();
    void addingToFiveStringsShowsCOnTopSelected();
    void upAndDownSwapWithTheNeighbourAndMoveTheSelection();
    void upDownBoxesFollowTheSelectedString();
    void upDownBoxesWriteTheSelectedString();
    void tuningStepsStopAtTheirLimits_data();
    void tuningStepsStopAtTheirLimits();
    void keysWorkWithTheFocusInTheList_data();
    void keysWorkWithTheFocusInTheList();
    void keysDoNothingOutsideTheList();

    void droppingTheBottomLineOnTheTopMovesStringOneUp();
    void droppingMovesAStringDownByNeighbourSwaps();
    void dropsThatChangeNothing_data();
    void dropsThatChangeNothing();
    void syntheticDropEventsMoveTheString();
    void dragOverIsRefusedWithoutADragFromTheList();

    void createHandsBackTuningTextsAndChoice();
    void cancelLeavesTheDocumentUntouched();

    void instrumentRefusesWhatWindows1252CannotHold_data();
    void instrumentRefusesWhatWindows1252CannotHold();
    void memoDropsWhatWindows1252CannotHold_data();
    void memoDropsWhatWindows1252CannotHold();
    void memoUndoTakesBackAPasteWithItsRemoval();

private:
    std::unique_ptr<AkkordDepotClass> m_doc;
};

void NeuFormTest::init()
{
    m_doc = std::make_unique<AkkordDepotClass>();
}

void NeuFormTest::opensOnTheDocumentsTuningHighestStringOnTop()
{
    TF_Neu dialog(nullptr, *m_doc);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Neue Grifftabelle"));
    QCOMPARE(lines(dialog), defaultLines);
    QCOMPARE(dialog.LB_Saiten->currentRow(), 0);
    QCOMPARE(dialog.LB_Saiten->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!dialog.PMI_SaiteZufuegen->isEnabled());
    QVERIFY(dialog.PMI_SaiteEntfernen->isEnabled());
    QVERIFY(!dialog.PMI_Hoch->isEnabled());
    QVERIFY(dialog.PMI_Runter->isEnabled());
    QVERIFY(dialog.BB_Ok->isEnabled());
    QVERIFY(dialog.BB_Ok->isDefault());
    QCOMPARE(dialog.BB_Ok->text(), QStringLiteral("Anle&gen"));
    QCOMPARE(dialog.BB_Abbruch->text(), QStringLiteral("&Laß mal"));
    QVERIFY(dialog.CB_ErkennungBehalten->isChecked());
    QVERIFY(dialog.E_Instrument->text().isEmpty());
    QVERIFY(dialog.M_Info->toPlainText().isEmpty());
    QCOMPARE(dialog.UD_Ton->minimum(), 0);
    QCOMPARE(dialog.UD_Ton->maximum(), 11);
    QCOMPARE(dialog.UD_Oktave->minimum(), -8);
    QCOMPARE(dialog.UD_Oktave->maximum(), 8);
    QVERIFY(!dialog.UD_Ton->wrapping());
    QCOMPARE(dialog.PC_Neu->count(), 3);
    QCOMPARE(dialog.PC_Neu->tabText(0), QStringLiteral("Saiten"));
    QCOMPARE(dialog.PC_Neu->tabText(1), QStringLiteral("Info"));
    QCOMPARE(dialog.PC_Neu->tabText(2), QStringLiteral("Sonst"));
    dialog.show();
    QVERIFY2(dialog.minimumSize() == dialog.maximumSize(), "the dialog keeps a fixed size");
}

void NeuFormTest::listUsesTheDocumentsNoteNames()
{
    m_doc->TonUmbenennen(11, "B", true);
    TF_Neu dialog(nullptr, *m_doc);
    QCOMPARE(dialog.LB_Saiten->item(1)->text(), QStringLiteral("B"));
    QCOMPARE(dialog.stimmung().AlsText(), std::string("E-A-D-G-B-E"));
}

void NeuFormTest::controlsCarryTheirHints_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::newRow("page control") << "PC_Neu"
                                  << "Infos zur neuen Grifftabelle";
    QTest::newRow("strings page") << "TS_Saiten"
                                  << "Saiteneinstellung";
    QTest::newRow("string list") << "LB_Saiten"
                                 << "Die einzelnen Saiten";
    QTest::newRow("note") << "UD_Ton"
                          << "Tonhöhe der ausgewählten Saite";
    QTest::newRow("octave") << "UD_Oktave"
                            << "In welcher Oktave liegt der Ton";
    QTest::newRow("instrument") << "E_Instrument"
                                << "Instrumentenbezeichnung";
    QTest::newRow("info") << "M_Info"
                          << "Infotext zur neuen Grifftabelle";
    QTest::newRow("other page") << "TS_Sonst"
                                << "Sonstige Einstellungen";
    QTest::newRow("keep recognition") << "CB_ErkennungBehalten"
                                      << "Die neue Grifftabelle übernimmt die vorhandene Akkorderkennung";
    QTest::newRow("create") << "BB_Ok"
                            << "Neue Grifftabelle anlegen";
    QTest::newRow("cancel") << "BB_Abbruch"
                            << "Doch lieber keine neue Grifftabelle";
}

void NeuFormTest::controlsCarryTheirHints()
{
    QFETCH(QString, name);
    QFETCH(QString, hint);
    TF_Neu dialog(nullptr, *m_doc);
    const auto* control = dialog.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name + " not found"));
    QCOMPARE(control->statusTip(), hint);
    QCOMPARE(control->toolTip(), hint);
}

void NeuFormTest::stringMenuHasItsItemsSeparatorsAndKeys_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("hint");
    QTest::newRow("up") << 0 << "PMI_Hoch"
                        << "&Hoch" << QKeySequence(Qt::CTRL | Qt::Key_H) << "Saite nach oben verschieben";
    QTest::newRow("down") << 1 << "PMI_Runter"
                          << "&Runter" << QKeySequence(Qt::CTRL | Qt::Key_R)
                          << "Saite nach unten verschieben";
    QTest::newRow("add") << 3 << "PMI_SaiteZufuegen"
                         << "&Zufügen" << QKeySequence(Qt::Key_Insert) << "Saite zufügen";
    QTest::newRow("remove") << 4 << "PMI_SaiteEntfernen"
                            << "&Entfernen" << QKeySequence(Qt::Key_Delete) << "Saite entfernen";
    QTest::newRow("note up") << 6 << "PMI_StimmTonHoch"
                             << "&Ton höher stimmen" << QKeySequence(Qt::Key_Plus)
                             << "Saite um einen Halbton höher stimmen";
    QTest::newRow("note down") << 7 << "PMI_StimmTonTief"
                               << "Ton tie&fer stimmen" << QKeySequence(Qt::Key_Minus)
                               << "Saite um einen Halbton tiefer stimmen";
    QTest::newRow("octave up") << 8 << "PMI_StimmOktHoch"
                               << "&Oktave höher stimmen" << QKeySequence(Qt::SHIFT | Qt::Key_Plus)
                               << "Saite um eine Oktave höher stimmen";
    QTest::newRow("octave down keeps its caption")
        << 9 << "PMI_StimmOktTief"
        << "Okt&ave tiefer stimmen" << QKeySequence(Qt::SHIFT | Qt::Key_Minus)
        << "Saite um eine Oktave tiefer stimmen";
}

void NeuFormTest::stringMenuHasItsItemsSeparatorsAndKeys()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, key);
    QFETCH(QString, hint);
    TF_Neu dialog(nullptr, *m_doc);
    const QList<QAction*> items = dialog.PM_Saiten->actions();
    QCOMPARE(items.size(), 10);
    QVERIFY2(items[2]->isSeparator() && items[5]->isSeparator(), "separators after the 2nd and 4th item");
    const QAction* item = items[index];
    QCOMPARE(item->objectName(), name);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), key);
    QCOMPARE(item->statusTip(), hint);
    QVERIFY2(dialog.LB_Saiten->actions().contains(item), "the item's key works in the list");
}

void NeuFormTest::removingDownToOneStringDisablesCreate()
{
    TF_Neu dialog(nullptr, *m_doc);
    QVERIFY(showWithListFocus(dialog));
    for (int left = 5; left >= 2; --left) {
        QTest::keyClick(dialog.LB_Saiten, Qt::Key_Delete);
        QCOMPARE(dialog.LB_Saiten->count(), left);
        QVERIFY2(dialog.BB_Ok->isEnabled(), "two strings or more make a table");
        QVERIFY(dialog.PMI_SaiteZufuegen->isEnabled());
    }
    QTest::keyClick(dialog.LB_Saiten, Qt::Key_Delete);
    QCOMPARE(lines(dialog), QStringList{"E -1"});
    QVERIFY(!dialog.BB_Ok->isEnabled());
    QVERIFY(!dialog.PMI_Hoch->isEnabled());
    QVERIFY(!dialog.PMI_Runter->isEnabled());
    QVERIFY(dialog.PMI_SaiteEntfernen->isEnabled());
    QVERIFY(dialog.UD_Ton->isEnabled());

    QTest::keyClick(dialog.LB_Saiten, Qt::Key_Delete);
    QCOMPARE(dialog.LB_Saiten->count(), 0);
    QVERIFY(!dialog.PMI_SaiteEntfernen->isEnabled());
    QVERIFY(!dialog.UD_Ton->isEnabled());
    QVERIFY(!dialog.UD_Oktave->isEnabled());
    QVERIFY(!dialog.PMI_StimmTonHoch->isEnabled());
    QVERIFY(dialog.PMI_SaiteZufuegen->isEnabled());
}

void NeuFormTest::removingTheBottomLineKeepsASelection()
{
    TF_Neu dialog(nullptr, *m_doc);
    dialog.LB_Saiten->setCurrentRow(5);
    dialog.PMI_SaiteEntfernenClick();
    QCOMPARE(lines(dialog), (QStringList{"E +1", "H", "G", "D", "A -1"}));
    QCOMPARE(dialog.LB_Saiten->currentRow(), 4);
    QCOMPARE(dialog.stimmung().AlsText(), std::string("A-D-G-H-E"));
}

void NeuFormTest::addingToFiveStringsShowsCOnTopSelected()
{
    TF_Neu dialog(nullptr, *m_doc);
    QVERIFY(showWithListFocus(dialog));
    dialog.LB_Saiten->setCurrentRow(2);
    QTest::keyClick(dialog.LB_Saiten, Qt::Key_Delete);
    QVERIFY(dialog.PMI_SaiteZufuegen->isEnabled());
    QTest::keyClick(dialog.LB_Saiten, Qt::Key_Insert);
    QCOMPARE(lines(dialog), (QStringList{"C", "E +1", "H", "D", "A -1", "E -1"}));
    QCOMPARE(dialog.LB_Saiten->currentRow(), 0);
    QVERIFY(dialog.LB_Saiten->item(0)->isSelected());
    QVERIFY(!dialog.PMI_SaiteZufuegen->isEnabled());
    QCOMPARE(dialog.UD_Ton->value(), 0);
    QCOMPARE(dialog.UD_Oktave->value(), 0);
    QTest::keyClick(dialog.LB_Saiten, Qt::Key_Insert);
    QCOMPARE(dialog.LB_Saiten->count(), 6);
}

void NeuFormTest::upAndDownSwapWithTheNeighbourAndMoveTheSelection()
{
    TF_Neu dialog(nullptr, *m_doc);
    QVERIFY(showWithListFocus(dialog));
    dialog.LB_Saiten->setCurrentRow(2);
    QTest::keyClick(dialog.LB_Saiten, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(lines(dialog), (QStringList{"E +1", "G", "H", "D", "A -1", "E -1"}));
    QCOMPARE(dialog.LB_Saiten->currentRow(), 1);
    QCOMPARE(dialog.stimmung().AlsText(), std::string("E-A-D-H-G-E"));

    QTest::keyClick(dialog.LB_Saiten, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(dialog.LB_Saiten, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(lines(dialog), (QStringList{"E +1", "H", "D", "G", "A -1", "E -1"}));
    QCOMPARE(dialog.LB_Saiten->currentRow(), 3);

    dialog.LB_Saiten->setCurrentRow(5);
    QVERIFY(!dialog.PMI_Runter->isEnabled());
    QVERIFY(dialog.PMI_Hoch->isEnabled());
    dialog.LB_Saiten->setCurrentRow(0);
    QVERIFY(!dialog.PMI_Hoch->isEnabled());
    QVERIFY(dialog.PMI_Runter->isEnabled());
}

void NeuFormTest::upDownBoxesFollowTheSelectedString()
{
    TF_Neu dialog(nullptr, *m_doc);
    dialog.show();
    QCOMPARE(dialog.UD_Ton->value(), 4);
    QCOMPARE(dialog.UD_Oktave->value(), 1);
    QTest::mouseClick(dialog.LB_Saiten->viewport(), Qt::LeftButton, {},
                      dialog.LB_Saiten->visualItemRect(dialog.LB_Saiten->item(4)).center());
    QCOMPARE(dialog.LB_Saiten->currentRow(), 4);
    QCOMPARE(dialog.UD_Ton->value(), 9);
    QCOMPARE(dialog.UD_Ton->text(), QStringLiteral("A"));
    QCOMPARE(dialog.UD_Oktave->value(), -1);
    QCOMPARE(lines(dialog), defaultLines);
    // A note name typed into the box sets the note.
    dialog.UD_Ton->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(dialog.UD_Ton, QStringLiteral("H"));
    QCOMPARE(dialog.UD_Ton->value(), 11);
    QCOMPARE(dialog.LB_Saiten->item(4)->text(), QStringLiteral("H -1"));
}

void NeuFormTest::upDownBoxesWriteTheSelectedString()
{
    TF_Neu dialog(nullptr, *m_doc);
    dialog.show();
    dialog.LB_Saiten->setCurrentRow(1);
    QTest::keyClick(dialog.UD_Ton, Qt::Key_Up);
    QCOMPARE(dialog.LB_Saiten->item(1)->text(), QStringLiteral("H"));
    QTest::keyClick(dialog.UD_Ton, Qt::Key_Down);
    QCOMPARE(dialog.LB_Saiten->item(1)->text(), QStringLiteral("A#"));
    QTest::keyClick(dialog.UD_Oktave, Qt::Key_Down);
    QCOMPARE(dialog.LB_Saiten->item(1)->text(), QStringLiteral("A# -1"));
    QCOMPARE(dialog.LB_Saiten->currentRow(), 1);
    const StimmSaiteClass string5 = stringOf(dialog.stimmung(), 5);
    QCOMPARE(int(string5.Ton), 10);
    QCOMPARE(string5.Oktave, -1);
}

void NeuFormTest::tuningStepsStopAtTheirLimits_data()
{
    QTest::addColumn<int>("note");
    QTest::addColumn<int>("octave");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("expectedNote");
    QTest::addColumn<int>("expectedOctave");
    QTest::newRow("octave 8 raised stays 8") << 4 << 8 << "PMI_StimmOktHoch" << 4 << 8;
    QTest::newRow("octave -8 lowered stays -8") << 4 << -8 << "PMI_StimmOktTief" << 4 << -8;
    QTest::newRow("note 11 raised stays 11") << 11 << 0 << "PMI_StimmTonHoch" << 11 << 0;
    QTest::newRow("note 0 lowered stays 0") << 0 << 0 << "PMI_StimmTonTief" << 0 << 0;
    QTest::newRow("note raised one step") << 4 << 1 << "PMI_StimmTonHoch" << 5 << 1;
    QTest::newRow("octave lowered one step") << 4 << 1 << "PMI_StimmOktTief" << 4 << 0;
}

void NeuFormTest::tuningStepsStopAtTheirLimits()
{
    QFETCH(int, note);
    QFETCH(int, octave);
    QFETCH(QString, item);
    QFETCH(int, expectedNote);
    QFETCH(int, expectedOctave);
    TF_Neu dialog(nullptr, *m_doc);
    dialog.UD_Ton->setValue(note);
    dialog.UD_Oktave->setValue(octave);
    auto* action = dialog.findChild<QAction*>(item);
    QVERIFY(action);
    action->trigger();
    const StimmSaiteClass top = stringOf(dialog.stimmung(), 6);
    QCOMPARE(int(top.Ton), expectedNote);
    QCOMPARE(top.Oktave, expectedOctave);
    QCOMPARE(dialog.UD_Ton->value(), expectedNote);
    QCOMPARE(dialog.UD_Oktave->value(), expectedOctave);
}

void NeuFormTest::keysWorkWithTheFocusInTheList_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("topLine");
    QTest::newRow("plus: note up") << int(Qt::Key_Plus) << int(Qt::NoModifier) << "F +1";
    QTest::newRow("minus: note down") << int(Qt::Key_Minus) << int(Qt::NoModifier) << "D# +1";
    QTest::newRow("shift plus: octave up") << int(Qt::Key_Plus) << int(Qt::ShiftModifier) << "E +2";
    QTest::newRow("asterisk (German shift plus): octave up")
        << int(Qt::Key_Asterisk) << int(Qt::NoModifier) << "E +2";
    QTest::newRow("shift minus: octave down") << int(Qt::Key_Minus) << int(Qt::ShiftModifier) << "E";
    // On a real X keyboard Shift and the plus or minus key also offer "Shift++" or "Shift+-", which the
    // end-to-end suite presses with US and German layouts; here each event carries one key only.
    QTest::newRow("underscore: octave down") << int(Qt::Key_Underscore) << int(Qt::NoModifier) << "E";
    QTest::newRow("insert refused at six strings") << int(Qt::Key_Insert) << int(Qt::NoModifier) << "E +1";
    QTest::newRow("delete removes the top string") << int(Qt::Key_Delete) << int(Qt::NoModifier) << "H";
}

void NeuFormTest::keysWorkWithTheFocusInTheList()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, topLine);
    TF_Neu dialog(nullptr, *m_doc);
    QVERIFY(showWithListFocus(dialog));
    QTest::keyClick(dialog.LB_Saiten, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(dialog.LB_Saiten->item(0)->text(), topLine);
    QCOMPARE(dialog.LB_Saiten->currentRow(), 0);
}

void NeuFormTest::keysDoNothingOutsideTheList()
{
    TF_Neu dialog(nullptr, *m_doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.PC_Neu->setCurrentWidget(dialog.TS_Info);
    dialog.E_Instrument->setFocus();
    QTest::keyClicks(dialog.E_Instrument, QStringLiteral("12-saitig+"));
    QTest::keyClick(dialog.E_Instrument, Qt::Key_Home);
    QTest::keyClick(dialog.E_Instrument, Qt::Key_Delete);
    QCOMPARE(dialog.instrument(), QStringLiteral("2-saitig+"));
    QCOMPARE(lines(dialog), defaultLines);
}

void NeuFormTest::droppingTheBottomLineOnTheTopMovesStringOneUp()
{
    TF_Neu dialog(nullptr, *m_doc);
    dialog.LB_Saiten->setCurrentRow(5);
    dialog.LB_SaitenStartDrag();
    QVERIFY(dialog.LB_SaitenDragOver());
    dialog.LB_SaitenDragDrop(0);
    QCOMPARE(lines(dialog), (QStringList{"E -1", "E +1", "H", "G", "D", "A -1"}));
    QCOMPARE(dialog.LB_Saiten->currentRow(), 0);
    QCOMPARE(dialog.stimmung().AlsText(), std::string("A-D-G-H-E-E"));
    QCOMPARE(stringOf(dialog.stimmung(), 6).Oktave, -1);
    QCOMPARE(stringOf(dialog.stimmung(), 1).Oktave, -1);
    QCOMPARE(int(stringOf(dialog.stimmung(), 1).Ton), 9);
    QVERIFY2(!dialog.LB_SaitenDragOver(), "a drop clears the dragging flag");
    QCOMPARE(dialog.UD_Ton->value(), 4);
    QCOMPARE(dialog.UD_Oktave->value(), -1);
}

void NeuFormTest::droppingMovesAStringDownByNeighbourSwaps()
{
    TF_Neu dialog(nullptr, *m_doc);
    dialog.LB_Saiten->setCurrentRow(1);
    dialog.LB_SaitenStartDrag();
    dialog.LB_SaitenDragDrop(4);
    QCOMPARE(lines(dialog), (QStringList{"E +1", "G", "D", "A -1", "H", "E -1"}));
    QCOMPARE(dialog.LB_Saiten->currentRow(), 4);
}

void NeuFormTest::dropsThatChangeNothing_data()
{
    QTest::addColumn<bool>("dragging");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("target");
    QTest::newRow("outside the lines") << true << 3 << -1;
    QTest::newRow("below the last line") << true << 3 << 6;
    QTest::newRow("on the source line") << true << 3 << 3;
    QTest::newRow("without a drag from the list") << false << 3 << 0;
}

void NeuFormTest::dropsThatChangeNothing()
{
    QFETCH(bool, dragging);
    QFETCH(int, source);
    QFETCH(int, target);
    TF_Neu dialog(nullptr, *m_doc);
    dialog.LB_Saiten->setCurrentRow(source);
    if (dragging)
        dialog.LB_SaitenStartDrag();
    dialog.LB_SaitenDragDrop(target);
    QCOMPARE(lines(dialog), defaultLines);
    QCOMPARE(dialog.LB_Saiten->currentRow(), source);
    QVERIFY(!dialog.LB_SaitenDragOver());
}

void NeuFormTest::syntheticDropEventsMoveTheString()
{
    TF_Neu dialog(nullptr, *m_doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = dialog.LB_Saiten;
    list->setCurrentRow(5);
    dialog.LB_SaitenStartDrag();
    QMimeData data;
    data.setData(QStringLiteral("application/x-zupfwerk-saite"), "5");
    const QPoint onTop = list->visualItemRect(list->item(0)).center();

    QDragEnterEvent enter(onTop, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QVERIFY2(enter.isAccepted(), "a drag from the list is welcome");
    QDragMoveEvent move(onTop, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &move);
    QVERIFY(move.isAccepted());
    QDropEvent drop(QPointF(onTop), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(lines(dialog), (QStringList{"E -1", "E +1", "H", "G", "D", "A -1"}));
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(list->count(), 6);
}

void NeuFormTest::dragOverIsRefusedWithoutADragFromTheList()
{
    TF_Neu dialog(nullptr, *m_doc);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = dialog.LB_Saiten;
    list->setCurrentRow(5);
    QMimeData data;
    data.setData(QStringLiteral("application/x-zupfwerk-saite"), "5");
    const QPoint onTop = list->visualItemRect(list->item(0)).center();
    QDragEnterEvent enter(onTop, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QVERIFY2(!enter.isAccepted(), "no drag started in the list");
    QDropEvent drop(QPointF(onTop), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &drop);
    QCOMPARE(lines(dialog), defaultLines);

    QMimeData foreign;
    foreign.setText(QStringLiteral("E +1"));
    dialog.LB_SaitenStartDrag();
    QDragEnterEvent other(onTop, Qt::MoveAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &other);
    QVERIFY2(!other.isAccepted(), "only strings of the list are dropped");
}

void NeuFormTest::createHandsBackTuningTextsAndChoice()
{
    TF_Neu dialog(nullptr, *m_doc);
    dialog.LB_Saiten->setCurrentRow(0);
    dialog.PMI_SaiteEntfernenClick();
    dialog.PMI_SaiteEntfernenClick();
    dialog.PC_Neu->setCurrentWidget(dialog.TS_Info);
    dialog.show();
    typeText(dialog.E_Instrument, QStringLiteral("Bass für Anfänger"));
    QTest::keyClicks(dialog.M_Info, QStringLiteral("Vier Saiten"));
    dialog.PC_Neu->setCurrentWidget(dialog.TS_Sonst);
    QTest::mouseClick(dialog.CB_ErkennungBehalten, Qt::LeftButton);
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::mouseClick(dialog.BB_Ok, Qt::LeftButton); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.stimmung().SaitenAnzahl(), 4);
    QCOMPARE(dialog.stimmung().AlsText(), std::string("E-A-D-G"));
    QCOMPARE(dialog.instrument(), QStringLiteral("Bass für Anfänger"));
    QCOMPARE(dialog.info(), QStringLiteral("Vier Saiten"));
    QVERIFY(!dialog.erkennungBehalten());
}

void NeuFormTest::cancelLeavesTheDocumentUntouched()
{
    m_doc->SetzeGeaendert(false);
    TF_Neu dialog(nullptr, *m_doc);
    dialog.LB_Saiten->setCurrentRow(2);
    dialog.PMI_HochClick();
    dialog.PMI_SaiteEntfernenClick();
    dialog.PMI_StimmOktHochClick();
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::mouseClick(dialog.BB_Abbruch, Qt::LeftButton); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(m_doc->SaitenAnzahl(), 6);
    QCOMPARE(m_doc->AlsText(), std::string("E-A-D-G-H-E"));
    QVERIFY2(!m_doc->IstGeaendert(), "the dialog edits a copy");
    QCOMPARE(dialog.stimmung().SaitenAnzahl(), 5);
}

void NeuFormTest::instrumentRefusesWhatWindows1252CannotHold_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("umlauts") << QStringLiteral("Laute für Anfänger") << QStringLiteral("Laute für Anfänger");
    QTest::newRow("euro sign") << QStringLiteral("€") << QStringLiteral("€");
    QTest::newRow("eng") << QStringLiteral("aŊb") << QStringLiteral("ab");
    QTest::newRow("emoji") << QStringLiteral("x\U0001F3B8y") << QStringLiteral("xy");
}

void NeuFormTest::instrumentRefusesWhatWindows1252CannotHold()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TF_Neu dialog(nullptr, *m_doc);
    typeText(dialog.E_Instrument, typed);
    QCOMPARE(dialog.instrument(), kept);

    QLineEdit pasted;
    pasted.setValidator(new Cp1252Eingabe(&pasted));
    pasted.insert(typed);
    QCOMPARE(pasted.text(), typed == kept ? typed : QString());
    int position = 0;
    QString text = typed;
    QCOMPARE(Cp1252Eingabe().validate(text, position),
             typed == kept ? QValidator::Acceptable : QValidator::Invalid);
}

void NeuFormTest::memoDropsWhatWindows1252CannotHold_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursorAfter");
    QTest::newRow("umlauts kept") << "" << 0 << "Laute für Anfänger"
                                  << "Laute für Anfänger" << 18;
    QTest::newRow("eng dropped") << "" << 0 << "Ŋ"
                                 << "" << 0;
    QTest::newRow("pasted in the middle") << "abc" << 1 << "Ŋ€\U0001F3B8x"
                                          << "a€xbc" << 3;
    QTest::newRow("line breaks kept") << "a" << 1 << "\nŊb"
                                      << "a\nb" << 3;
}

void NeuFormTest::memoDropsWhatWindows1252CannotHold()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, inserted);
    QFETCH(QString, after);
    QFETCH(int, cursorAfter);
    TF_Neu dialog(nullptr, *m_doc);
    dialog.M_Info->setPlainText(before);
    QTextCursor place = dialog.M_Info->textCursor();
    place.setPosition(cursor);
    dialog.M_Info->setTextCursor(place);
    dialog.M_Info->insertPlainText(inserted);
    QCOMPARE(dialog.info(), after);
    QCOMPARE(dialog.M_Info->textCursor().position(), cursorAfter);

    dialog.M_Info->clear();
    typeText(dialog.M_Info, inserted.remove(QLatin1Char('\n')));
    QVERIFY2(Cp1252Eingabe::passt(dialog.info()), qPrintable(dialog.info()));
}

void NeuFormTest::memoUndoTakesBackAPasteWithItsRemoval()
{
    TF_Neu dialog(nullptr, *m_doc);
    QPlainTextEdit* memo = dialog.M_Info;
    memo->setPlainText(QStringLiteral("Info"));
    memo->moveCursor(QTextCursor::End);
    memo->insertPlainText(QStringLiteral(" Ŋ für alle"));
    QCOMPARE(dialog.info(), QStringLiteral("Info  für alle"));
    memo->undo();
    QTRY_COMPARE(dialog.info(), QStringLiteral("Info"));
    memo->redo();
    QTRY_COMPARE(dialog.info(), QStringLiteral("Info  für alle"));
    memo->undo();
    QTRY_COMPARE(dialog.info(), QStringLiteral("Info"));

    memo->moveCursor(QTextCursor::End);
    typeText(memo, QStringLiteral("abŊc"));
    QCOMPARE(dialog.info(), QStringLiteral("Infoabc"));
    for (int step = 0; step < 5 && memo->document()->isUndoAvailable(); ++step) {
        memo->undo();
        QTest::qWait(1);
        QVERIFY2(Cp1252Eingabe::passt(dialog.info()), "undo never brings back a refused character for long");
    }
    QCOMPARE(dialog.info(), QStringLiteral("Info"));
}

QTEST_MAIN(NeuFormTest)
#include "NeuFormTest.moc"
