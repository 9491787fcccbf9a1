// Thousands of random commands through the real windows, each followed by a check of what must always
// hold. The steps come from a seed; a failure prints the seed and the steps, so any run can be replayed,
// and ZW_SOAK_SHRINK looks for a shorter list that still fails.
//
// Environment: ZW_SOAK_SEED (number; ZW_SOAK_FRESH picks one from the clock when it is unset),
// ZW_SOAK_SECONDS (time budget, 60), ZW_SOAK_STEPS (at most that many steps), ZW_SOAK_REPLAY (a file of
// steps as printed), ZW_SOAK_SHRINK (seconds to spend shortening a failing list), ZW_SOAK_IGNORE
// (comma-separated invariant keys to leave unchecked, or menu items to leave alone, to look past a known
// fault), ZW_SOAK_TRACE (notes
// show the status bar after each step).

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSet>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>

#include "app/MainForm.h"
#include "app/PaintBox.h"
#include "forms/AudioAusgabe.h"
#include "forms/DateiDialog.h"
#include "forms/GriffSpeichernForm.h"
#include "forms/GriffeFindenForm.h"
#include "forms/GrifftabForm.h"
#include "forms/MeldungZeigen.h"
#include "forms/ModelText.h"
#include "forms/NeuForm.h"
#include "forms/PrgInfoForm.h"
#include "forms/Statusleiste.h"
#include "render/DiagramComposer.h"
#include "render/Griffbrett.h"
#include "table/AkkordDepot.h"
#include "tests/app/TestFenster.h"

namespace {

constexpr quint64 fixedSeed = 20240610;
constexpr int argCount = 4;
constexpr int answerCount = 6;
// Every so many steps the table is written and read back.
constexpr int roundTripEvery = 25;

// One command with the raw random numbers it is interpreted from; the numbers are taken modulo what
// the windows offer at that moment, so a step means something in any state and lists can be shortened.
struct Step
{
    QString kind;
    std::array<int, argCount> args{};
    QList<int> answers; // for the dialogs the step opens, in turn; only those used are kept
    QString note;       // what the step did, for the reader of a replay

    QString text() const
    {
        QString line = kind;
        for (int a : args)
            line += QLatin1Char(' ') + QString::number(a);
        line += QStringLiteral(" |");
        for (int a : answers)
            line += QLatin1Char(' ') + QString::number(a);
        if (!note.isEmpty())
            line += QStringLiteral("  # ") + note;
        return line;
    }

    static bool parse(QString line, Step& step)
    {
        line = line.section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            return false;
        const QStringList halves = line.split(QLatin1Char('|'));
        const QStringList words = halves[0].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            return false;
        step = Step();
        step.kind = words[0];
        for (int i = 0; i < argCount && i + 1 < words.size(); ++i)
            step.args[i] = words[i + 1].toInt();
        if (halves.size() > 1) {
            for (const QString& word : halves[1].split(QLatin1Char(' '), Qt::SkipEmptyParts))
                step.answers << word.toInt();
        }
        return true;
    }
};

struct Kind
{
    const char* name;
    int weight;
};

const Kind kinds[] = {
    {"click", 26},    {"mark", 3},    {"point", 2},   {"key", 14},  {"menu", 16}, {"tclick", 9},
    {"tright", 5},    {"theader", 1}, {"tedit", 2},   {"tname", 2}, {"ttype", 4}, {"tspin", 4},
    {"topt", 2},      {"tadd", 4},    {"tsub", 3},    {"tdrag", 2}, {"tkey", 3},  {"tclose", 1},
    {"tactivate", 2}, {"finder", 1},  {"restart", 1},
};

Step randomStep(std::mt19937_64& rng)
{
    int total = 0;
    for (const Kind& kind : kinds)
        total += kind.weight;
    std::uniform_int_distribution<int> number(0, 9999);
    int pick = std::uniform_int_distribution<int>(0, total - 1)(rng);
    Step step;
    for (const Kind& kind : kinds) {
        if (pick < kind.weight) {
            step.kind = QString::fromLatin1(kind.name);
            break;
        }
        pick -= kind.weight;
    }
    for (int& a : step.args)
        a = number(rng);
    for (int i = 0; i < answerCount; ++i)
        step.answers << number(rng);
    return step;
}

// Main-window commands a user can reach from the menus or their keys; quitting is a step of its own
// and the speed test only spins for two seconds.
const char* const menuItems[] = {
    "MI_Neu",
    "MI_Laden",
    "MI_Speichern",
    "MI_SpeichernAls",
    "MI_Suchen",
    "MI_AkkVor",
    "MI_AkkZurueck",
    "MI_AkkSpeichern",
    "MI_AkkSpeichern",
    "MI_AkkEntfernen",
    "MI_GriffeFinden",
    "MI_ErkVor",
    "MI_ErkVor",
    "MI_AkkordErkOnOff",
    "MI_ErkennungSaite0",
    "MI_ErkennungSaite1",
    "MI_ErkennungSaite2",
    "MI_ErkennungSaite3",
    "MI_ErkennungSaite4",
    "MI_ErkennungSaite5",
    "MI_ErkennungSaite6",
    "MI_Bund01",
    "MI_Bund03",
    "MI_Bund05",
    "MI_Bund07",
    "MI_Bund10",
    "MI_Bund12",
    "MI_BundAdd",
    "MI_BundSub",
    "MI_FingerNext1",
    "MI_FingerNext2",
    "MI_FingerNext3",
    "MI_FingerNext4",
    "MI_FingerIns",
    "MI_Finger1",
    "MI_Finger2",
    "MI_Finger3",
    "MI_Finger4",
    "MI_FingerEntfAlle",
    "MI_Barre",
    "MI_ShowGriffbrett",
    "MI_ShowAkkord",
    "MI_GrifftabOnOff",
    "MI_StatuszeileOnOff",
    "MI_KurzhinweisOnOff",
    "MI_WinMaximize",
    "MI_AkkordnameOnOff",
    "MI_FingersatzOnOff",
    "MI_LagenpunkteOnOff",
    "MI_LinkshaenderOnOff",
    "MI_Radio1Aus",
    "MI_Radio1Intervall",
    "MI_Radio1Noten",
    "MI_Info",
    "MI_Anhoeren",
    "MI_ZerlegtAnhoeren",
    "MI_KlangWav",
};

struct KeyPress
{
    int key;
    Qt::KeyboardModifiers modifiers;
};

const KeyPress mainKeys[] = {
    {Qt::Key_Left, Qt::NoModifier},      {Qt::Key_Right, Qt::NoModifier},
    {Qt::Key_Up, Qt::NoModifier},        {Qt::Key_Down, Qt::NoModifier},
    {Qt::Key_Left, Qt::NoModifier},      {Qt::Key_Right, Qt::NoModifier},
    {Qt::Key_Up, Qt::NoModifier},        {Qt::Key_Down, Qt::NoModifier},
    {Qt::Key_Left, Qt::ShiftModifier},   {Qt::Key_Right, Qt::ShiftModifier},
    {Qt::Key_Left, Qt::ControlModifier}, {Qt::Key_Right, Qt::ControlModifier},
    {Qt::Key_Insert, Qt::NoModifier},    {Qt::Key_Insert, Qt::NoModifier},
    {Qt::Key_Delete, Qt::NoModifier},    {Qt::Key_Plus, Qt::KeypadModifier},
    {Qt::Key_Minus, Qt::KeypadModifier}, {Qt::Key_V, Qt::NoModifier},
    {Qt::Key_Z, Qt::NoModifier},         {Qt::Key_N, Qt::NoModifier},
    {Qt::Key_S, Qt::NoModifier},         {Qt::Key_S, Qt::NoModifier},
    {Qt::Key_1, Qt::NoModifier},         {Qt::Key_2, Qt::NoModifier},
    {Qt::Key_3, Qt::NoModifier},         {Qt::Key_4, Qt::NoModifier},
    {Qt::Key_A, Qt::NoModifier},         {Qt::Key_S, Qt::ControlModifier},
    {Qt::Key_O, Qt::ControlModifier},    {Qt::Key_B, Qt::ControlModifier},
    {Qt::Key_U, Qt::ControlModifier},    {Qt::Key_F12, Qt::NoModifier},
    {Qt::Key_0, Qt::ControlModifier},    {Qt::Key_1, Qt::ControlModifier},
    {Qt::Key_6, Qt::ControlModifier},    {Qt::Key_R, Qt::ControlModifier},
    {Qt::Key_F1, Qt::ShiftModifier},     {Qt::Key_F5, Qt::ShiftModifier},
    {Qt::Key_F12, Qt::ShiftModifier},    {Qt::Key_Delete, Qt::ShiftModifier},
    {Qt::Key_M, Qt::ControlModifier},    {Qt::Key_F, Qt::ControlModifier},
    {Qt::Key_I, Qt::ControlModifier},    {Qt::Key_N, Qt::ControlModifier},
    {Qt::Key_A, Qt::ControlModifier},    {Qt::Key_D, Qt::ControlModifier},
    {Qt::Key_Escape, Qt::NoModifier},    {Qt::Key_Return, Qt::NoModifier},
    {Qt::Key_Tab, Qt::NoModifier},
};

const KeyPress tableKeys[] = {
    {Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_Insert, Qt::NoModifier}, {Qt::Key_H, Qt::ControlModifier},
    {Qt::Key_R, Qt::ControlModifier}, {Qt::Key_Up, Qt::NoModifier},     {Qt::Key_Down, Qt::NoModifier},
    {Qt::Key_Home, Qt::NoModifier},   {Qt::Key_End, Qt::NoModifier},    {Qt::Key_F12, Qt::NoModifier},
    {Qt::Key_S, Qt::ControlModifier}, {Qt::Key_B, Qt::ControlModifier}, {Qt::Key_S, Qt::NoModifier},
    {Qt::Key_V, Qt::NoModifier},      {Qt::Key_1, Qt::NoModifier},      {Qt::Key_Escape, Qt::NoModifier},
    {Qt::Key_Return, Qt::NoModifier}, {Qt::Key_U, Qt::ControlModifier}, {Qt::Key_Tab, Qt::NoModifier},
};

const char* const typeNames[] = {"m",
                                 "7",
                                 "maj7",
                                 "dim",
                                 "sus4",
                                 "x",
                                 "",
                                 "\xC3\x84"
                                 "9",
                                 "m7b5",
                                 "Cis",
                                 "H\xC3\xA4"};
const char* const fileNames[] = {"", "a.cho", "b.cho", "Gitarre, E-A-D-G-H-E.cho", "fehlt.cho", "a"};

int pick(int value, int count)
{
    return count > 0 ? value % count : 0;
}

// Types text as key presses; keyClicks takes only ASCII.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void clickRow(QListWidget* list, int row, Qt::MouseButton button = Qt::LeftButton)
{
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    const QPoint centre = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), button, Qt::NoModifier, centre);
    if (button == Qt::RightButton) {
        // Test mouse events make no context-menu event of their own.
        QContextMenuEvent request(QContextMenuEvent::Mouse, centre, list->viewport()->mapToGlobal(centre));
        QApplication::sendEvent(list->viewport(), &request);
    }
}

QByteArray gripBytes(const AkkordDatenClass& griff)
{
    // The grip number is no part of what a grip is.
    const auto* bytes = reinterpret_cast<const char*>(&griff);
    return QByteArray(bytes + sizeof(griff.Nummer), static_cast<int>(sizeof(griff) - sizeof(griff.Nummer)));
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SilentOutput : public AudioAusgabe
{
public:
    using AudioAusgabe::AudioAusgabe;
    bool Abspielen(const QByteArray& /*pcm*/, int /*abtastrate*/) override { return true; }
    void Anhalten() override {}
};

// One main window driven step by step, with every box, file dialog and modal dialog answered from
// the step's own numbers.
class Soak
{
public:
    explicit Soak(QSet<QString> ignored) : m_ignored(std::move(ignored))
    {
        m_fenster = std::make_unique<TestFenster>();
        SetzeMeldungsAntwort([this](const MeldungsAnfrage& anfrage) {
            m_asked << anfrage.meldung;
            const int v = answer();
            const int result = v < 0 || v % 10 < 5 ? 6 : v % 10 < 8 ? 7 : 2;
            noteAdd(QStringLiteral("box '%1' -> %2").arg(anfrage.meldung.left(40)).arg(result));
            return result;
        });
        SetzeDateiDialogAntwort([this](const DateiDialogAnfrage& anfrage) {
            const int v = answer();
            QString name = v < 0 ? QString() : QString::fromUtf8(fileNames[pick(v, std::size(fileNames))]);
            if (!name.isEmpty() && anfrage.endung == QLatin1String("wav"))
                name = QStringLiteral("klang.wav");
            noteAdd(QStringLiteral("file '%1'").arg(name));
            return name.isEmpty() ? QString() : m_fenster->file(name);
        });
        SetzeAudioAusgabe([](QObject* owner) { return new SilentOutput(owner); });
        m_answerer.setInterval(2);
        QObject::connect(&m_answerer, &QTimer::timeout, &m_context, [this] { answerModal(); });
        start();
    }

    ~Soak()
    {
        m_answerer.stop();
        m_fenster->stop();
        SetzeAudioAusgabe(nullptr);
        SetzeDateiDialogAntwort(nullptr);
        m_fenster.reset();
    }

    Soak(const Soak&) = delete;
    Soak& operator=(const Soak&) = delete;

    // Runs the step and checks every invariant; false with key and message when one broke.
    bool run(Step& step, bool roundTrip)
    {
        m_step = &step;
        ++m_stepNumber;
        m_used = 0;
        m_asked.clear();
        m_answered.clear();
        m_storeCommand = false;
        m_shownFrom = m_shownTo = 0;
        step.note.clear();
        const TrefferClass before = window().ergebnis();
        const QByteArray gripsBefore = storedGrips();
        m_clock.start();
        m_answerer.start();
        execute(step);
        closeLeftovers();
        QCoreApplication::processEvents();
        closeLeftovers();
        m_answerer.stop();
        if (m_trace) {
            const Statusleiste& bar = *window().statusleiste();
            noteAdd(QStringLiteral("now '%1' '%2' '%3', %4 grips, %5 types")
                        .arg(bar.panelText(0), bar.panelText(1), bar.panelText(3))
                        .arg(window().dokument().Anzahl())
                        .arg(window().dokument().TypAnzahl()));
        }
        step.answers = step.answers.mid(0, m_used);
        m_step = nullptr;
        if (m_clock.elapsed() > 20000)
            return fail(QStringLiteral("hang"), QStringLiteral("the step took %1 ms").arg(m_clock.elapsed()));
        const qint64 executed = m_clock.elapsed();
        const bool kept = check(before, gripsBefore) && (!roundTrip || roundTripCheck());
        m_spent[step.kind] += executed;
        m_spent[QStringLiteral("(checks)")] += m_clock.elapsed() - executed;
        return kept;
    }

    // Milliseconds spent per kind of step, for tuning the weights.
    QString profile() const
    {
        QString text;
        for (auto it = m_spent.begin(); it != m_spent.end(); ++it)
            text += QStringLiteral(" %1=%2").arg(it.key()).arg(it.value());
        return text;
    }

    bool roundTripCheck()
    {
        if (ignored(QStringLiteral("roundtrip")))
            return true;
        AkkordDepotClass& doc = window().dokument();
        const auto copy = std::make_unique<AkkordDepotClass>(doc);
        const QString first = m_fenster->file(QStringLiteral("soak-1.cho"));
        const QString second = m_fenster->file(QStringLiteral("soak-2.cho"));
        if (!copy->Speichern(first.toStdString())) {
            int griff = -1;
            const int check = copy->Pruefen(&griff);
            return fail(QStringLiteral("roundtrip"),
                        QStringLiteral("save failed: error %1, check %2 at grip %3")
                            .arg(copy->SpeicherFehler())
                            .arg(check)
                            .arg(griff));
        }
        const auto read = std::make_unique<AkkordDepotClass>();
        const int result = read->Laden(first.toStdString());
        if (result != LadenOk)
            return fail(QStringLiteral("roundtrip"),
                        QStringLiteral("the saved table loads with result %1 (%2 grips, "
                                       "%3 types)")
                            .arg(result)
                            .arg(doc.Anzahl())
                            .arg(doc.TypAnzahl()));
        if (read->Anzahl() != doc.Anzahl() || read->TypAnzahl() != doc.TypAnzahl())
            return fail(QStringLiteral("roundtrip"),
                        QStringLiteral("read back %1 grips and %2 types of %3 and %4")
                            .arg(read->Anzahl())
                            .arg(read->TypAnzahl())
                            .arg(doc.Anzahl())
                            .arg(doc.TypAnzahl()));
        for (int i = 0; i < doc.Anzahl(); ++i) {
            if (!GleicherGriff(read->Element(i), doc.Element(i)))
                return fail(QStringLiteral("roundtrip"),
                            QStringLiteral("grip %1 differs after reading").arg(i));
        }
        for (int t = 0; t < doc.TypAnzahl(); ++t) {
            if (std::strcmp(read->TypName(t), doc.TypName(t)) != 0 ||
                read->IntervallText(t) != doc.IntervallText(t))
                return fail(QStringLiteral("roundtrip"),
                            QStringLiteral("type %1 differs after reading").arg(t));
        }
        if (!read->Speichern(second.toStdString()) || fileBytes(first) != fileBytes(second))
            return fail(QStringLiteral("roundtrip"),
                        QStringLiteral("the table read back saves to other bytes"));
        return true;
    }

    QString key;
    QString message;

private:
    TF_Main& window() { return m_fenster->window(); }
    TF_GrifftabForm& table() { return *window().grifftabFenster(); }
    bool ignored(const QString& name) const { return m_ignored.contains(name); }

    void start()
    {
        TF_Main& w = m_fenster->start();
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w, 1000))
            noteAdd(QStringLiteral("the main window did not become active"));
    }

    int answer()
    {
        if (!m_step || m_used >= m_step->answers.size()) {
            if (m_step)
                ++m_used;
            return -1;
        }
        return m_step->answers[m_used++];
    }

    void noteAdd(const QString& text)
    {
        if (!m_step)
            return;
        if (!m_step->note.isEmpty())
            m_step->note += QStringLiteral("; ");
        m_step->note += text;
    }

    QAction* item(const QString& name) { return window().findChild<QAction*>(name); }

    void trigger(const QString& name)
    {
        QAction* action = item(name);
        if (ignored(name)) {
            noteAdd(name + QStringLiteral(" left out"));
            return;
        }
        if (!action) {
            noteAdd(name + QStringLiteral(" missing"));
            return;
        }
        if (!action->isEnabled()) {
            noteAdd(name + QStringLiteral(" disabled"));
            return;
        }
        noteAdd(name);
        if (name == QLatin1String("MI_AkkSpeichern"))
            m_storeCommand = true;
        action->trigger();
        // Switched back on, recognition rightly waits for the next edit; the soak makes that edit at
        // once, so that every later check can compare with a fresh run.
        if (name == QLatin1String("MI_AkkordErkOnOff") && action->isChecked())
            window().NachAenderungAktualisieren();
    }

    // The stored grips one after another, without their numbers.
    QByteArray storedGrips()
    {
        QByteArray grips;
        AkkordDepotClass& doc = window().dokument();
        grips.reserve(doc.Anzahl() * static_cast<qsizetype>(sizeof(AkkordDatenClass)));
        for (int i = 0; i < doc.Anzahl(); ++i)
            grips += gripBytes(doc.Element(i));
        return grips;
    }

    // A pop-up menu left open takes every later click; a user closes it.
    void closeLeftovers()
    {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        for (TF_GriffeFinden* finder : window().findChildren<TF_GriffeFinden*>()) {
            if (finder->isVisible())
                finder->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void choosePopupItem(int value)
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            noteAdd(QStringLiteral("no pop-up"));
            return;
        }
        QList<QAction*> items;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isVisible() && action->isEnabled())
                items << action;
        }
        const int k = pick(value, static_cast<int>(items.size()) + 1);
        if (k == items.size()) {
            noteAdd(menu->objectName() + QStringLiteral(" Escape"));
            QTest::keyClick(menu, Qt::Key_Escape);
        } else {
            noteAdd(menu->objectName() + QLatin1Char(' ') + items[k]->objectName());
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(items[k]).center());
        }
        if (menu->isVisible())
            menu->close();
    }

    void sendKey(QWidget* target, const KeyPress& press)
    {
        if (press.key == Qt::Key_S && !(press.modifiers & Qt::ControlModifier))
            m_storeCommand = true;
        const QKeySequence sequence(QKeyCombination(press.modifiers, static_cast<Qt::Key>(press.key)));
        noteAdd(QStringLiteral("%1 to %2").arg(sequence.toString(), target->objectName()));
        QTest::keyClick(target, static_cast<Qt::Key>(press.key), press.modifiers);
    }

    void ensureTableShown()
    {
        if (!table().isVisible())
            trigger(QStringLiteral("MI_GrifftabOnOff"));
    }

    void ensureEditing()
    {
        ensureTableShown();
        if (table().isVisible() && !table().CB_Bearbeiten->isChecked())
            QTest::mouseClick(table().CB_Bearbeiten, Qt::LeftButton);
    }

    QListWidget* tableList(int which)
    {
        QListWidget* const lists[] = {table().LB_Grund, table().LB_Akkorde, table().LB_Buende};
        return lists[pick(which, 3)];
    }

    void execute(const Step& step)
    {
        const auto& a = step.args;
        TF_Main& w = window();
        GriffbrettClass& board = w.zeichner();
        PaintBox* box = w.griffbrettFeld();
        const QString& kind = step.kind;
        if (kind == QLatin1String("click")) {
            const int column = pick(a[0], board.Bundzahl()) + 1;
            const int saite = pick(a[1], board.Saitenanzahl()) + 1;
            const TF_Main::Fangrechteck area = w.Fangbereich(column, saite);
            const QPoint at((area.left + area.right) / 2, (area.top + area.bottom) / 2);
            const int how = pick(a[2], 10);
            const Qt::MouseButton button = how < 6   ? Qt::LeftButton
                                           : how < 9 ? Qt::RightButton
                                                     : Qt::LeftButton;
            const Qt::KeyboardModifiers modifiers = how == 9 ? Qt::ShiftModifier : Qt::NoModifier;
            noteAdd(QStringLiteral("%1 click at fret %2 string %3")
                        .arg(button == Qt::RightButton ? QStringLiteral("right") : QStringLiteral("left"))
                        .arg(column + board.GetStartbund() - 1)
                        .arg(saite));
            QTest::mouseClick(box, button, modifiers, at);
            if (button == Qt::RightButton)
                choosePopupItem(a[3]);
        } else if (kind == QLatin1String("mark")) {
            if (board.Saitenanzahl() < 1)
                return;
            const QRect mark = board.TextLinksFeld(pick(a[0], board.Saitenanzahl())).box;
            if (mark.isEmpty())
                return;
            noteAdd(QStringLiteral("click on the mark of row %1").arg(pick(a[0], board.Saitenanzahl())));
            QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, mark.center());
        } else if (kind == QLatin1String("point")) {
            const QPoint at(pick(a[0], std::max(1, box->width())), pick(a[1], std::max(1, box->height())));
            const bool right = pick(a[2], 3) == 0;
            noteAdd(QStringLiteral("%1 click at %2,%3")
                        .arg(QString::fromLatin1(right ? "right" : "left"))
                        .arg(at.x())
                        .arg(at.y()));
            QTest::mouseClick(box, right ? Qt::RightButton : Qt::LeftButton, Qt::NoModifier, at);
            if (right)
                choosePopupItem(a[3]);
        } else if (kind == QLatin1String("key")) {
            // Keys go where the user's keyboard goes: the focused control of the active window.
            QWidget* target = QApplication::focusWidget();
            if (!target || !target->isVisible())
                target = QApplication::activeWindow();
            if (!target || !target->isVisible())
                target = &w;
            sendKey(target, mainKeys[pick(a[0], std::size(mainKeys))]);
        } else if (kind == QLatin1String("menu")) {
            trigger(QString::fromLatin1(menuItems[pick(a[0], std::size(menuItems))]));
        } else if (kind == QLatin1String("restart")) {
            restart();
        } else if (kind == QLatin1String("finder")) {
            finder(a);
        } else {
            executeTable(step);
        }
    }

    void executeTable(const Step& step)
    {
        const auto& a = step.args;
        const QString& kind = step.kind;
        ensureTableShown();
        TF_GrifftabForm& t = table();
        if (!t.isVisible())
            return;
        if (kind == QLatin1String("tclick") || kind == QLatin1String("tright")) {
            QListWidget* list = tableList(a[0]);
            if (list->count() == 0)
                return;
            const int row = pick(a[1], list->count());
            const bool right = kind == QLatin1String("tright");
            noteAdd(QStringLiteral("%1 click on %2 row %3 '%4'")
                        .arg(QString::fromLatin1(right ? "right" : "left"), list->objectName())
                        .arg(row)
                        .arg(list->item(row)->text()));
            clickRow(list, row, right ? Qt::RightButton : Qt::LeftButton);
            if (right)
                choosePopupItem(a[2]);
        } else if (kind == QLatin1String("theader")) {
            const int section = pick(a[0], 3);
            noteAdd(QStringLiteral("header %1").arg(section));
            const QPoint centre(t.HC_Kopf->sectionViewportPosition(section) +
                                    t.HC_Kopf->sectionSize(section) / 2,
                                t.HC_Kopf->height() / 2);
            QTest::mouseClick(t.HC_Kopf->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        } else if (kind == QLatin1String("tedit")) {
            noteAdd(QStringLiteral("CB_Bearbeiten"));
            QTest::mouseClick(t.CB_Bearbeiten, Qt::LeftButton);
        } else if (kind == QLatin1String("tname")) {
            ensureEditing();
            noteAdd(QStringLiteral("CB_NameOrIntervall"));
            QTest::mouseClick(t.CB_NameOrIntervall, Qt::LeftButton);
        } else if (kind == QLatin1String("ttype")) {
            typeIntoTable(a);
        } else if (kind == QLatin1String("tspin")) {
            ensureEditing();
            const int steps = pick(a[0], 9) - 4;
            noteAdd(
                QStringLiteral("interval %1%2").arg(QString::fromLatin1(steps >= 0 ? "+" : "")).arg(steps));
            t.UP_Intervall->setFocus();
            for (int i = 0; i < std::abs(steps); ++i)
                QTest::keyClick(t.UP_Intervall, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        } else if (kind == QLatin1String("topt")) {
            ensureEditing();
            noteAdd(QStringLiteral("L_Intervall at %1").arg(t.UP_Intervall->value()));
            QTest::mouseClick(t.L_Intervall, Qt::LeftButton);
        } else if (kind == QLatin1String("tadd") || kind == QLatin1String("tsub")) {
            ensureEditing();
            const bool shift = pick(a[0], 4) == 0;
            QPushButton* button = kind == QLatin1String("tadd") ? t.B_add : t.B_sub;
            noteAdd(QStringLiteral("%1%2 at interval %3 on type %4")
                        .arg(QString::fromLatin1(shift ? "Shift+" : ""), button->objectName())
                        .arg(t.UP_Intervall->value())
                        .arg(t.LB_Akkorde->currentRow()));
            QTest::mouseClick(button, Qt::LeftButton, shift ? Qt::ShiftModifier : Qt::NoModifier);
        } else if (kind == QLatin1String("tdrag")) {
            QListWidget* types = t.LB_Akkorde;
            if (types->count() == 0)
                return;
            const int from = pick(a[0], types->count());
            const int to = pick(a[1], types->count() + 1) - 1;
            noteAdd(QStringLiteral("drag type %1 to %2").arg(from).arg(to));
            clickRow(types, from);
            t.LB_AkkordeStartDrag();
            t.LB_AkkordeDragDrop(to);
        } else if (kind == QLatin1String("tkey")) {
            QWidget* target = t.focusWidget();
            if (!target || !target->isVisible())
                target = t.LB_Akkorde;
            sendKey(target, tableKeys[pick(a[0], std::size(tableKeys))]);
        } else if (kind == QLatin1String("tclose")) {
            noteAdd(QStringLiteral("close the chord-table window"));
            t.close();
        } else if (kind == QLatin1String("tactivate")) {
            QWidget* which = pick(a[0], 2) == 0 ? static_cast<QWidget*>(&t) : &window();
            noteAdd(QStringLiteral("activate %1").arg(which->objectName()));
            which->activateWindow();
            QCoreApplication::processEvents();
        }
    }

    void typeIntoTable(const std::array<int, argCount>& a)
    {
        TF_GrifftabForm& t = table();
        QLineEdit* edit = t.E_GrundBez->isVisible() ? t.E_GrundBez : nullptr;
        if (!edit) {
            ensureEditing();
            if (!t.E_AName->isVisible() || !t.E_AName->isEnabled())
                return;
            edit = t.E_AName;
            QTest::mouseClick(edit, Qt::LeftButton);
        }
        const QString text = QString::fromUtf8(typeNames[pick(a[0], std::size(typeNames))]);
        edit->selectAll();
        typeText(edit, text);
        static const char* const endings[] = {"Enter",     "Escape",         "Tab",
                                              "root list", "interval label", "main window"};
        const int ending = pick(a[1], std::size(endings));
        noteAdd(QStringLiteral("type '%1' into %2, then %3").arg(text, edit->objectName(), endings[ending]));
        switch (ending) {
        case 0:
            QTest::keyClick(edit, Qt::Key_Return);
            break;
        case 1:
            QTest::keyClick(edit, Qt::Key_Escape);
            break;
        case 2:
            QTest::keyClick(edit, Qt::Key_Tab);
            break;
        case 3:
            clickRow(t.LB_Grund, pick(a[2], t.LB_Grund->count()));
            break;
        case 4:
            if (t.L_Intervall->isVisible())
                QTest::mouseClick(t.L_Intervall, Qt::LeftButton);
            break;
        default:
            window().activateWindow();
            QCoreApplication::processEvents();
            break;
        }
    }

    void restart()
    {
        const bool shown = table().isVisible();
        trigger(QStringLiteral("MI_Beenden"));
        if (window().isVisible()) {
            noteAdd(QStringLiteral("stays open"));
            return;
        }
        m_fenster->stop();
        start();
        noteAdd(QStringLiteral("restarted"));
        if (!ignored(QStringLiteral("comeback")) && table().isVisible() != shown && m_comeback.isEmpty())
            m_comeback = QStringLiteral("the chord-table window was %1 at quitting and is %2 after the start")
                             .arg(QString::fromLatin1(shown ? "shown" : "hidden"),
                                  QString::fromLatin1(table().isVisible() ? "shown" : "hidden"));
    }

    void finder(const std::array<int, argCount>& a)
    {
        // A search over a large catalogue takes seconds: a few of them per run.
        if (m_stepNumber - m_lastFinder < 150 && m_lastFinder > 0) {
            noteAdd(QStringLiteral("finder skipped"));
            return;
        }
        m_lastFinder = m_stepNumber;
        trigger(QStringLiteral("MI_GriffeFinden"));
        TF_GriffeFinden* dialog = nullptr;
        for (TF_GriffeFinden* candidate : window().findChildren<TF_GriffeFinden*>()) {
            if (candidate->isVisible())
                dialog = candidate;
        }
        if (!dialog)
            return;
        QPointer<TF_GriffeFinden> guard(dialog);
        QElapsedTimer waited;
        waited.start();
        while (guard && !guard->Gefuellt() && waited.elapsed() < 3000)
            QTest::qWait(5);
        if (!guard || !guard->Gefuellt()) {
            noteAdd(QStringLiteral("finder not filled in time"));
            return;
        }
        const int choice = pick(a[0], 3);
        const int rows = guard->LB_Griffe->count();
        if (choice > 0 && rows > 0) {
            const int row = pick(a[1], rows);
            noteAdd(QStringLiteral("finder row %1 of %2").arg(row).arg(rows));
            clickRow(guard->LB_Griffe, row);
            if (choice == 2 && guard) {
                noteAdd(QStringLiteral("finder stores"));
                QTest::mouseClick(guard->B_Speichern, Qt::LeftButton);
            }
        }
        if (guard)
            QTest::mouseClick(guard->B_Schliessen, Qt::LeftButton);
    }

    // Runs inside the modal dialogs' own event loops.
    void answerModal()
    {
        // A pop-up run with its own loop would wait for a click forever.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            noteAdd(QStringLiteral("pop-up %1 closed").arg(popup->objectName()));
            popup->close();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || qobject_cast<TF_GriffeFinden*>(modal))
            return;
        for (const QPointer<QWidget>& done : m_answered) {
            if (done == modal)
                return;
        }
        m_answered << modal;
        if (auto* store = qobject_cast<TF_GriffSpeichern*>(modal))
            answerStore(*store);
        else if (auto* neu = qobject_cast<TF_Neu*>(modal))
            answerNew(*neu);
        else if (auto* info = qobject_cast<TF_PrgInfo*>(modal))
            answerInfo(*info);
        else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            noteAdd(QStringLiteral("unexpected dialog %1 rejected").arg(modal->metaObject()->className()));
            dialog->reject();
        } else {
            noteAdd(QStringLiteral("unexpected modal %1 closed").arg(modal->metaObject()->className()));
            modal->close();
        }
    }

    void chooseIn(QComboBox* list, int position)
    {
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < position; ++i)
            QTest::keyClick(list, Qt::Key_Down);
    }

    void answerStore(TF_GriffSpeichern& dialog)
    {
        const int v = answer();
        const int mode = v < 0 ? 0 : v % 5;
        if (mode == 0) {
            noteAdd(QStringLiteral("store dialog cancelled"));
            QTest::mouseClick(dialog.B_Abbruch, Qt::LeftButton);
            return;
        }
        if (mode == 1) {
            noteAdd(QStringLiteral("store at its own fret"));
            QTest::mouseClick(dialog.RB_Bund, Qt::LeftButton);
            QTest::mouseClick(dialog.B_Ok, Qt::LeftButton);
            return;
        }
        QTest::mouseClick(dialog.RB_BundBereich, Qt::LeftButton);
        const int from = std::max(0, answer());
        const int to = std::max(0, answer());
        if (mode == 2) {
            chooseIn(dialog.TCB_VonBund, pick(from, dialog.TCB_VonBund->count()));
            chooseIn(dialog.TCB_BisBund, pick(to, dialog.TCB_BisBund->count()));
        } else {
            chooseIn(dialog.TCB_BisBund, pick(to, dialog.TCB_BisBund->count()));
            chooseIn(dialog.TCB_VonBund, pick(from, dialog.TCB_VonBund->count()));
        }
        m_shownFrom = dialog.TCB_VonBund->currentText().toInt();
        m_shownTo = dialog.TCB_BisBund->currentText().toInt();
        noteAdd(QStringLiteral("store range %1..%2 shown, %3")
                    .arg(m_shownFrom)
                    .arg(m_shownTo)
                    .arg(QString::fromLatin1(mode == 3 ? "Enter in the start list" : "click on Speichern")));
        if (mode == 3)
            QTest::keyClick(dialog.TCB_VonBund, Qt::Key_Return);
        else
            QTest::mouseClick(dialog.B_Ok, Qt::LeftButton);
        if (dialog.isVisible()) {
            noteAdd(QStringLiteral("store dialog still open, cancelled"));
            QTest::mouseClick(dialog.B_Abbruch, Qt::LeftButton);
        }
    }

    void answerNew(TF_Neu& dialog)
    {
        const int v = answer();
        if (v < 0 || v % 4 == 0) {
            noteAdd(QStringLiteral("new table cancelled"));
            QTest::mouseClick(dialog.BB_Abbruch, Qt::LeftButton);
            return;
        }
        const int removals = pick(std::max(0, answer()), 6);
        for (int i = 0; i < removals && dialog.LB_Saiten->count() > 0; ++i) {
            clickRow(dialog.LB_Saiten, 0);
            if (dialog.PMI_SaiteEntfernen->isEnabled())
                dialog.PMI_SaiteEntfernen->trigger();
        }
        const bool keep = pick(std::max(0, answer()), 2) == 1;
        if (keep != dialog.CB_ErkennungBehalten->isChecked()) {
            dialog.PC_Neu->setCurrentWidget(dialog.TS_Sonst);
            QTest::mouseClick(dialog.CB_ErkennungBehalten, Qt::LeftButton);
        }
        noteAdd(QStringLiteral("new table with %1 strings, catalogue %2")
                    .arg(dialog.stimmung().SaitenAnzahl())
                    .arg(QString::fromLatin1(dialog.erkennungBehalten() ? "kept" : "emptied")));
        QTest::mouseClick(dialog.BB_Ok, Qt::LeftButton);
        if (dialog.isVisible()) {
            // "Anlegen" is off for fewer than two strings.
            noteAdd(QStringLiteral("still open, cancelled"));
            QTest::mouseClick(dialog.BB_Abbruch, Qt::LeftButton);
        }
    }

    void answerInfo(TF_PrgInfo& dialog)
    {
        const int v = answer();
        if (v >= 0 && v % 2 == 1 && dialog.E_Instrument->isEnabled() && !dialog.E_Instrument->isReadOnly()) {
            noteAdd(QStringLiteral("info: instrument renamed"));
            dialog.E_Instrument->setText(QStringLiteral("Laute %1").arg(v % 7));
        }
        noteAdd(QStringLiteral("info closed"));
        QTest::mouseClick(dialog.BB_Exitbutton, Qt::LeftButton);
        if (dialog.isVisible())
            dialog.reject();
    }

    bool fail(const QString& name, const QString& text)
    {
        key = name;
        message = text;
        return false;
    }

    QString occurrenceText(int typ, int position, int count) const
    {
        if (typ == -1)
            return QString();
        return position >= 0 ? QStringLiteral("%1/%2").arg(position + 1).arg(count) : QString::number(count);
    }

    bool check(const TrefferClass& before, const QByteArray& gripsBeforeBytes)
    {
        TF_Main& w = window();
        AkkordDepotClass& doc = w.dokument();
        const int types = doc.TypAnzahl();
        const auto on = [this](const char* name) { return !ignored(QString::fromLatin1(name)); };

        if (on("comeback") && !m_comeback.isEmpty())
            return fail(QStringLiteral("comeback"), m_comeback);
        if (on("message")) {
            for (const QString& asked : m_asked) {
                if (asked.contains(QStringLiteral("zerstört")) ||
                    asked.contains(QStringLiteral("konnte nicht gespeichert werden")))
                    return fail(QStringLiteral("message"), QStringLiteral("a box said: ") + asked);
            }
        }
        // The stored grips.
        for (int i = 0; i < doc.Anzahl(); ++i) {
            const AkkordDatenClass& griff = doc.Element(i);
            if (on("stored-root") && griff.Grundton > 11)
                return fail(QStringLiteral("stored-root"),
                            QStringLiteral("grip %1 has root %2").arg(i).arg(griff.Grundton));
            if (on("stored-type") && (griff.AkkordTyp < 0 || griff.AkkordTyp >= types))
                return fail(QStringLiteral("stored-type"),
                            QStringLiteral("grip %1 is filed under type %2 of %3")
                                .arg(i)
                                .arg(griff.AkkordTyp)
                                .arg(types));
        }
        int faultyGrip = -1;
        const PruefErgebnis checked = doc.Pruefen(&faultyGrip);
        if (on("stored-check") && checked != PruefOk)
            return fail(
                QStringLiteral("stored-check"),
                QStringLiteral("the table would not load: check %1 at grip %2").arg(checked).arg(faultyGrip));

        // The current grip.
        const int strings = doc.SaitenAnzahl();
        if (on("grip-count") && (doc.PunktAnzahl() < 0 || doc.PunktAnzahl() > MaxPunkte))
            return fail(QStringLiteral("grip-count"),
                        QStringLiteral("%1 finger entries").arg(doc.PunktAnzahl()));
        for (int i = 0; i < doc.PunktAnzahl(); ++i) {
            const FingerPunktClass p = doc.Punkt(i);
            if (on("grip-string") && (p.Saite < 1 || p.Saite > strings))
                return fail(QStringLiteral("grip-string"),
                            QStringLiteral("a finger on string %1 of %2 (fret %3)")
                                .arg(p.Saite)
                                .arg(strings)
                                .arg(p.Bund));
            if (on("grip-fret") && (p.Bund < 1 || p.Bund > MaxBund))
                return fail(QStringLiteral("grip-fret"), QStringLiteral("a finger at fret %1").arg(p.Bund));
            if (on("grip-finger") && (p.Finger < 0 || p.Finger > 4))
                return fail(QStringLiteral("grip-finger"), QStringLiteral("finger %1").arg(p.Finger));
        }
        if (on("grip-chord") && doc.Grundton < 12 && (doc.AkkordTyp < 0 || doc.AkkordTyp >= types))
            return fail(QStringLiteral("grip-chord"),
                        QStringLiteral("the grip carries root %1 and type %2 of %3")
                            .arg(doc.Grundton)
                            .arg(doc.AkkordTyp)
                            .arg(types));
        const TrefferClass& shown = w.ergebnis();
        const bool noChord = shown.Grundton == KeinTon && shown.AkkordTyp == -1;
        const bool chord = shown.Grundton < 12 && shown.AkkordTyp >= 0 && shown.AkkordTyp < types;
        if (on("result") && !noChord && !chord)
            return fail(QStringLiteral("result"), QStringLiteral("the shown chord is root %1, type %2 of %3")
                                                      .arg(shown.Grundton)
                                                      .arg(shown.AkkordTyp)
                                                      .arg(types));

        // What a recognition run now would show.
        QAction* active = item(QStringLiteral("MI_AkkordErkOnOff"));
        if (active && active->isChecked()) {
            const auto fresh = std::make_unique<AkkordDepotClass>(doc);
            TrefferClass result;
            TrefferClass list[MaxTreffer];
            // A stored grip keeps the chord it is filed under, even where the catalogue no longer fits it.
            const int storedRoot = fresh->Grundton;
            const int storedType = fresh->AkkordTyp;
            const bool stored = storedType >= 0 && fresh->GriffSuchen() >= 0;
            const int matches = std::min(fresh->Erkennen(&result, list), MaxTreffer);
            if (stored && (result.Grundton != storedRoot || result.AkkordTyp != storedType)) {
                fresh->AkkordSetzen(storedRoot, storedType);
                result.Grundton = static_cast<std::uint8_t>(storedRoot);
                result.AkkordTyp = storedType;
                result.Basston = static_cast<std::uint8_t>(fresh->SchraegstrichBass(storedRoot, fresh->Daten()));
            }
            int position = -1;
            const int count = fresh->GriffeZaehlen(&position);
            const DiagramComposer names(*fresh);
            const QString name = names.chordName(result.Grundton, result.AkkordTyp, result.Basston);
            if (on("recognition") &&
                (result.Grundton != shown.Grundton || result.AkkordTyp != shown.AkkordTyp))
                return fail(
                    QStringLiteral("recognition"),
                    QStringLiteral("the window shows root %1 type %2 ('%3'), a fresh recognition gives root "
                                   "%4 type %5 ('%6')")
                        .arg(shown.Grundton)
                        .arg(shown.AkkordTyp)
                        .arg(names.chordName(shown.Grundton, shown.AkkordTyp))
                        .arg(result.Grundton)
                        .arg(result.AkkordTyp)
                        .arg(name));
            Statusleiste& bar = *w.statusleiste();
            if (on("panel-chord") && bar.panelText(0) != name)
                return fail(QStringLiteral("panel-chord"),
                            QStringLiteral("the chord panel shows '%1', a fresh recognition gives '%2'")
                                .arg(bar.panelText(0), name));
            const QString occurrence = occurrenceText(result.AkkordTyp, position, count);
            if (on("panel-count") && bar.panelText(1) != occurrence)
                return fail(QStringLiteral("panel-count"),
                            QStringLiteral("the occurrence panel shows '%1' for '%2', the table gives '%3'")
                                .arg(bar.panelText(1), name, occurrence));
            w.griffbrettFeld()->repaint();
            const QAction* names0 = item(QStringLiteral("MI_AkkordnameOnOff"));
            const QString title = names0 && names0->isChecked() ? name : QString();
            if (on("title") && board().Titel().text() != title)
                return fail(QStringLiteral("title"),
                            QStringLiteral("the board's title is '%1', expected '%2'")
                                .arg(board().Titel().text(), title));
            if (on("menu-states")) {
                const bool recognised = result.AkkordTyp != -1;
                const struct
                {
                    const char* name;
                    bool enabled;
                } states[] = {{"MI_AkkSpeichern", recognised && position == -1},
                              {"MI_AkkEntfernen", recognised && position != -1},
                              {"MI_AkkVor", count > 1},
                              {"MI_AkkZurueck", count > 1},
                              {"MI_ErkVor", matches > 1}};
                for (const auto& state : states) {
                    const QAction* action = item(QString::fromLatin1(state.name));
                    if (action && action->isEnabled() != state.enabled)
                        return fail(
                            QStringLiteral("menu-states"),
                            QStringLiteral("%1 is %2 for '%3' (%4 of %5 "
                                           "stored, %6 matches)")
                                .arg(QString::fromLatin1(state.name),
                                     QString::fromLatin1(action->isEnabled() ? "enabled" : "disabled"), name)
                                .arg(position)
                                .arg(count)
                                .arg(matches));
                }
            }
        }

        // What a store put into the table.
        if (m_storeCommand && (on("store-chord") || on("store-range"))) {
            const int base = before.AkkordTyp;
            QSet<QByteArray> gripsBefore;
            const qsizetype size = sizeof(AkkordDatenClass) - sizeof(std::int32_t);
            for (qsizetype at = 0; at + size <= gripsBeforeBytes.size(); at += size)
                gripsBefore.insert(gripsBeforeBytes.mid(at, size));
            for (int i = 0; i < doc.Anzahl(); ++i) {
                const AkkordDatenClass& griff = doc.Element(i);
                if (gripsBefore.contains(gripBytes(griff)))
                    continue;
                const DiagramComposer names(doc);
                if (on("store-chord") && griff.AkkordTyp != base)
                    return fail(QStringLiteral("store-chord"),
                                QStringLiteral("'%1' was shown and a grip was filed as '%2'")
                                    .arg(names.chordName(before.Grundton, before.AkkordTyp),
                                         names.chordName(griff.Grundton, griff.AkkordTyp)));
                if (on("store-chord") && m_shownFrom == 0 && griff.Grundton != before.Grundton)
                    return fail(QStringLiteral("store-chord"),
                                QStringLiteral("'%1' was shown and the grip was filed under root %2")
                                    .arg(names.chordName(before.Grundton, before.AkkordTyp))
                                    .arg(griff.Grundton));
                const int lowest = TiefsterBundVon(griff);
                if (on("store-range") && m_shownFrom > 0 && (lowest < m_shownFrom || lowest > m_shownTo))
                    return fail(
                        QStringLiteral("store-range"),
                        QStringLiteral("the dialog showed frets %1 to %2 and a grip was stored at fret %3")
                            .arg(m_shownFrom)
                            .arg(m_shownTo)
                            .arg(lowest));
            }
        }

        // The chord-table window.
        TF_GrifftabForm& t = table();
        if (on("table-visible")) {
            const QAction* toggle = item(QStringLiteral("MI_GrifftabOnOff"));
            if (toggle && toggle->isChecked() != t.isVisible())
                return fail(QStringLiteral("table-visible"),
                            QStringLiteral("the chord-table window is %1, its item %2")
                                .arg(QString::fromLatin1(t.isVisible() ? "shown" : "hidden"),
                                     QString::fromLatin1(toggle->isChecked() ? "checked" : "unchecked")));
        }
        if (on("table-types")) {
            if (t.LB_Akkorde->count() != types)
                return fail(QStringLiteral("table-types"),
                            QStringLiteral("the type list shows %1 of %2 types")
                                .arg(t.LB_Akkorde->count())
                                .arg(types));
            for (int typ = 0; typ < types; ++typ) {
                if (t.LB_Akkorde->item(typ)->text() != modelToQt(doc.TypName(typ)))
                    return fail(QStringLiteral("table-types"),
                                QStringLiteral("row %1 shows '%2' for type '%3'")
                                    .arg(typ)
                                    .arg(t.LB_Akkorde->item(typ)->text(), modelToQt(doc.TypName(typ))));
            }
        }
        return true;
    }

    GriffbrettClass& board() { return window().zeichner(); }

    std::unique_ptr<TestFenster> m_fenster;
    QSet<QString> m_ignored;
    QObject m_context;
    QTimer m_answerer;
    QElapsedTimer m_clock;
    QList<QPointer<QWidget>> m_answered;
    Step* m_step = nullptr;
    int m_used = 0;
    QStringList m_asked;
    bool m_storeCommand = false;
    int m_shownFrom = 0;
    int m_shownTo = 0;
    QString m_comeback;
    QMap<QString, qint64> m_spent;
    int m_stepNumber = 0;
    // ZW_SOAK_TRACE: each step's note ends with the status bar and the table's size.
    const bool m_trace = qEnvironmentVariableIsSet("ZW_SOAK_TRACE");
    int m_lastFinder = 0;
};

struct Failure
{
    int index = -1; // the step after which an invariant broke; -1 for none
    QString key;
    QString message;
};

// Runs the steps in a fresh window; the answers each step used are written back.
Failure replay(QList<Step>& steps, const QSet<QString>& ignored)
{
    Soak soak(ignored);
    for (int i = 0; i < steps.size(); ++i) {
        if (!soak.run(steps[i], (i + 1) % roundTripEvery == 0))
            return {i, soak.key, soak.message};
    }
    if (!soak.roundTripCheck())
        return {static_cast<int>(steps.size()) - 1, soak.key, soak.message};
    return {};
}

// Shortens a failing list while the same invariant still breaks: chunks first, then single steps.
QList<Step> shrink(QList<Step> steps, const QString& key, const QSet<QString>& ignored, qint64 budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    // Most faults need only the last few steps: short tails are tried first, as they run fastest.
    for (qsizetype tail = 4; tail < steps.size() && clock.elapsed() < budgetMs; tail *= 2) {
        QList<Step> candidate = steps.mid(steps.size() - tail);
        const Failure failure = replay(candidate, ignored);
        if (failure.index >= 0 && failure.key == key) {
            steps = candidate.mid(0, failure.index + 1);
            std::printf("soak: the last %d steps suffice\n", static_cast<int>(steps.size()));
            std::fflush(stdout);
            break;
        }
    }
    int chunk = std::max<int>(1, steps.size() / 2);
    while (chunk >= 1 && clock.elapsed() < budgetMs) {
        bool shortened = false;
        for (int start = 0; start < steps.size() && clock.elapsed() < budgetMs;) {
            QList<Step> candidate = steps.mid(0, start) + steps.mid(start + chunk);
            if (candidate.isEmpty()) {
                start += chunk;
                continue;
            }
            const Failure failure = replay(candidate, ignored);
            if (failure.index >= 0 && failure.key == key) {
                steps = candidate.mid(0, failure.index + 1);
                shortened = true;
                std::printf("soak: shortened to %d steps\n", static_cast<int>(steps.size()));
                std::fflush(stdout);
            } else {
                start += chunk;
            }
        }
        if (!shortened)
            chunk /= 2;
    }
    return steps;
}

// The offscreen platform regrets every raise and keyboard grab; thousands of steps would drown the
// log in those lines.
QtMessageHandler previousHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("This plugin does not support")))
        return;
    previousHandler(type, context, text);
}

QString listText(const QList<Step>& steps)
{
    QString text;
    for (const Step& step : steps)
        text += step.text() + QLatin1Char('\n');
    return text;
}

} // namespace

class SoakTest : public QObject
{
    Q_OBJECT

private slots:
    void randomCommandsKeepEveryWindowConsistent();
};

void SoakTest::randomCommandsKeepEveryWindowConsistent()
{
    const QString logDir = QDir::currentPath();
    const QByteArray seedText = qgetenv("ZW_SOAK_SEED");
    quint64 seed = fixedSeed;
    if (!seedText.isEmpty())
        seed = seedText.toULongLong();
    else if (qEnvironmentVariableIsSet("ZW_SOAK_FRESH"))
        seed = static_cast<quint64>(QDateTime::currentSecsSinceEpoch());
    const int seconds =
        qEnvironmentVariableIsSet("ZW_SOAK_SECONDS") ? qEnvironmentVariableIntValue("ZW_SOAK_SECONDS") : 60;
    const int maxSteps =
        qEnvironmentVariableIsSet("ZW_SOAK_STEPS") ? qEnvironmentVariableIntValue("ZW_SOAK_STEPS") : 1 << 30;
    const int shrinkSeconds = qEnvironmentVariableIntValue("ZW_SOAK_SHRINK");
    QSet<QString> ignored;
    for (const QString& name :
         qEnvironmentVariable("ZW_SOAK_IGNORE").split(QLatin1Char(','), Qt::SkipEmptyParts))
        ignored.insert(name.trimmed());
    const QString replayFile = qEnvironmentVariable("ZW_SOAK_REPLAY");
    previousHandler = qInstallMessageHandler(quietHandler);
    const auto handlerBack = qScopeGuard([] { qInstallMessageHandler(previousHandler); });

    QList<Step> steps;
    Failure failure;
    if (!replayFile.isEmpty()) {
        QFile file(replayFile);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(QStringLiteral("cannot read ") + replayFile));
        QTextStream lines(&file);
        Step step;
        while (!lines.atEnd()) {
            if (Step::parse(lines.readLine(), step))
                steps << step;
        }
        std::printf("soak: replaying %d steps from %s\n", static_cast<int>(steps.size()),
                    qPrintable(replayFile));
        std::fflush(stdout);
        failure = replay(steps, ignored);
        std::printf("%s", qPrintable(listText(steps)));
    } else {
        std::printf("soak: seed %llu, %d s (replay with ZW_SOAK_SEED=%llu)\n",
                    static_cast<unsigned long long>(seed), seconds, static_cast<unsigned long long>(seed));
        std::fflush(stdout);
        std::mt19937_64 rng(seed);
        QElapsedTimer clock;
        clock.start();
        Soak soak(ignored);
        while (steps.size() < maxSteps && clock.elapsed() < seconds * 1000LL) {
            steps << randomStep(rng);
            const int i = static_cast<int>(steps.size()) - 1;
            if (!soak.run(steps.last(), (i + 1) % roundTripEvery == 0)) {
                failure = {i, soak.key, soak.message};
                break;
            }
        }
        if (failure.index < 0 && !soak.roundTripCheck())
            failure = {static_cast<int>(steps.size()) - 1, soak.key, soak.message};
        std::printf("soak: %d steps in %lld ms;%s\n", static_cast<int>(steps.size()), clock.elapsed(),
                    qPrintable(soak.profile()));
        std::fflush(stdout);
    }
    if (failure.index < 0)
        return;

    steps = steps.mid(0, failure.index + 1);
    const QString logPath = QDir(logDir).filePath(QStringLiteral("soak-failure-%1.txt").arg(seed));
    QFile log(logPath);
    if (log.open(QIODevice::WriteOnly | QIODevice::Truncate))
        log.write(listText(steps).toUtf8());
    log.close();
    std::printf("soak: invariant '%s' broke after step %d: %s\n", qPrintable(failure.key), failure.index + 1,
                qPrintable(failure.message));
    std::printf("soak: replay with ZW_SOAK_SEED=%llu ZW_SOAK_STEPS=%d, or ZW_SOAK_REPLAY=%s\n",
                static_cast<unsigned long long>(seed), failure.index + 1, qPrintable(logPath));
    std::printf("soak: the last steps:\n");
    for (qsizetype i = std::max<qsizetype>(0, steps.size() - 40); i < steps.size(); ++i)
        std::printf("  %lld: %s\n", static_cast<long long>(i + 1), qPrintable(steps[i].text()));
    std::fflush(stdout);
    if (shrinkSeconds > 0) {
        const QList<Step> shortest = shrink(steps, failure.key, ignored, shrinkSeconds * 1000LL);
        QList<Step> replayed = shortest;
        const Failure again = replay(replayed, ignored);
        const QString shortPath = QDir(logDir).filePath(QStringLiteral("soak-shortest-%1.txt").arg(seed));
        QFile shortLog(shortPath);
        if (shortLog.open(QIODevice::WriteOnly | QIODevice::Truncate))
            shortLog.write(listText(replayed.mid(0, again.index + 1)).toUtf8());
        std::printf("soak: %d steps still break '%s' (%s), written to %s:\n%s",
                    static_cast<int>(shortest.size()), qPrintable(again.key), qPrintable(again.message),
                    qPrintable(shortPath), qPrintable(listText(replayed.mid(0, again.index + 1))));
        std::fflush(stdout);
    }
    QFAIL(qPrintable(QStringLiteral("invariant '%1' broke after step %2 of seed %3: %4")
                         .arg(failure.key)
                         .arg(failure.index + 1)
                         .arg(seed)
                         .arg(failure.message)));
}

QTEST_MAIN(SoakTest)
#include "SoakTest.moc"
