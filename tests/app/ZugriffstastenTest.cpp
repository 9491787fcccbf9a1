#include <memory>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "app/MainForm.h"
#include "forms/GriffSpeichernForm.h"
#include "forms/GrifftabForm.h"
#include "forms/MsgForm.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

// The access key of a caption: the character after a single "&", upper case; empty for none.
QString accessKey(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toUpper();
    }
    return {};
}

// Adds "where: key taken by a and b" to clashes for every access key used twice.
void collect(const QString& where, const QList<QString>& captions, QStringList& clashes, int& keys)
{
    QHash<QString, QString> taken;
    for (const QString& caption : captions) {
        const QString key = accessKey(caption);
        if (key.isEmpty())
            continue;
        ++keys;
        if (taken.contains(key))
            clashes
                << QStringLiteral("%1: %2 taken by \"%3\" and \"%4\"").arg(where, key, taken[key], caption);
        else
            taken.insert(key, caption);
    }
}

void walkMenu(const QMenu* menu, QStringList& clashes, int& keys)
{
    QList<QString> captions;
    for (const QAction* action : menu->actions())
        if (action->isVisible() && !action->isSeparator())
            captions << action->text();
    const QString name = menu->objectName().isEmpty() ? menu->title() : menu->objectName();
    collect(QStringLiteral("menu %1").arg(name), captions, clashes, keys);
}

// A window's own controls and its menu bar share one set of Alt keys.
void walkWindow(const QWidget* window, QStringList& clashes, int& keys)
{
    QList<QString> captions;
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->isVisibleTo(window))
            captions << button->text();
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() != nullptr && label->isVisibleTo(window))
            captions << label->text();
    for (const QGroupBox* group : window->findChildren<QGroupBox*>())
        if (group->isVisibleTo(window))
            captions << group->title();
    for (const QTabBar* tabs : window->findChildren<QTabBar*>())
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (const QAction* action : bar->actions())
            if (action->isVisible())
                captions << action->text();
    const QString name = window->objectName().isEmpty() ? window->windowTitle() : window->objectName();
    collect(QStringLiteral("window %1").arg(name), captions, clashes, keys);
    for (const QMenu* menu : window->findChildren<QMenu*>())
        walkMenu(menu, clashes, keys);
}

// Qt's own dialogs come with Qt's translation; only the program's own are walked.
bool isQtsOwn(const QWidget* window)
{
    return qobject_cast<const QFileDialog*>(window) != nullptr ||
           qobject_cast<const QMessageBox*>(window) != nullptr ||
           QString::fromLatin1(window->metaObject()->className()).startsWith(QLatin1String("QPrint")) ||
           QString::fromLatin1(window->metaObject()->className()).startsWith(QLatin1String("QPage"));
}

} // namespace

class ZugriffstastenTest : public QObject
{
    Q_OBJECT

private slots:
    void everyMenuAndDialogHasUniqueAccessKeys();
};

void ZugriffstastenTest::everyMenuAndDialogHasUniqueAccessKeys()
{
    TestFenster f;
    TF_Main& window = f.start();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // A recognised grip enables the commands that store and export it.
    setGrip(window.dokument(), "x32010", "x32010");
    window.NachAenderungAktualisieren();

    QStringList clashes;
    int keys = 0;
    walkWindow(&window, clashes, keys);
    TF_GrifftabForm* table = window.grifftabFenster();
    QVERIFY(table != nullptr);
    walkWindow(table, clashes, keys);
    // The chord-table window again with its edit panel open.
    if (auto* edit = table->findChild<QCheckBox*>(QStringLiteral("CB_Bearbeiten"))) {
        edit->click();
        walkWindow(table, clashes, keys);
        edit->click();
    }
    {
        TF_GriffSpeichern store(3, &window, 4);
        walkWindow(&store, clashes, keys);
    }
    for (int set = 0; set <= 3; ++set) {
        TF_Msg box(&window, 2, QStringLiteral("Frage"), QStringLiteral("Titel"), set,
                   QStringLiteral("Zupfwerk"));
        walkWindow(&box, clashes, keys);
    }

    // Every command of the main menus runs once; every window of the program's own that it opens is
    // walked and closed again.
    // The windows open from the start stay; a later window may take a closed one's address.
    const QList<QPointer<QWidget>> stay = {&window, table};
    QStringList opened;
    const auto walkNewWindows = [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || stay.contains(top) || qobject_cast<QMenu*>(top) != nullptr)
                continue;
            if (!isQtsOwn(top)) {
                walkWindow(top, clashes, keys);
                opened << (top->objectName().isEmpty() ? top->windowTitle() : top->objectName());
            }
            if (auto* dialog = qobject_cast<QDialog*>(top))
                dialog->reject();
            else
                top->close();
        }
    };
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, walkNewWindows);
    watch.start(20);
    const QSet<QString> skipped = {QStringLiteral("MI_Beenden"), QStringLiteral("MI_Anhoeren"),
                                   QStringLiteral("MI_ZerlegtAnhoeren"), QStringLiteral("MI_Speed")};
    for (QMenu* menu : window.findChildren<QMenu*>()) {
        if (menu->objectName().startsWith(QLatin1String("PM_")))
            continue;
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr || action->isSeparator() || !action->isEnabled() ||
                skipped.contains(action->objectName()))
                continue;
            QPointer<QAction> guard(action);
            action->trigger();
            QTest::qWait(30);
            walkNewWindows();
            if (guard.isNull())
                break;
        }
    }
    watch.stop();
    qInfo("%d access keys, windows walked: %s", keys, qPrintable(opened.join(QStringLiteral(", "))));
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
    QVERIFY2(opened.size() >= 3, "the store, new-table and info dialogs at least were walked");
}

QTEST_MAIN(ZugriffstastenTest)
#include "ZugriffstastenTest.moc"
